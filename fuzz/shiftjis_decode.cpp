// The text file reader on arbitrary bytes: strict decoding, the way back, the place of the first bad
// byte, and the line rule applied to what was read.
#include "FuzzInput.h"
#include "text/Lines.h"
#include "text/ShiftJis.h"

template <typename Units>  // a line ends at CR LF, CR alone or LF alone
std::int64_t lineAt(const Units& units, std::size_t at) {
  std::int64_t line = 1;
  for (std::size_t i = 0; i < at; ++i) line += units[i] == '\n' || (units[i] == '\r' && units[i + 1] != '\n');
  return line;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const DecodeResult d = decodeText(bytes);
  const bool utf8 = d.encoding == Encoding::Utf8, bigEndian = bytes.starts_with("\xFE\xFF");
  const bool utf16 = bigEndian || bytes.starts_with("\xFF\xFE");
  check(utf16 == (d.encoding >= Encoding::Utf16Le && !d.utf16WithoutMark), "UTF-16 by its mark");
  Text units;  // the UTF-16 units after the mark
  for (std::size_t i = 2; utf16 && i + 1 < size; i += 2)
    units += static_cast<char16_t>(data[i + !bigEndian] << 8 | data[i + bigEndian]);
  if (!d.ok) {
    const auto at = static_cast<std::size_t>(d.errorOffset);
    const std::size_t shown = d.errorBytes.size();
    check(d.text.empty() && d.errorOffset >= 0 && at < size && shown >= 1 && shown <= (utf8 ? 3u : 2u) &&
              bytes.substr(at, shown) == d.errorBytes,
          "nothing kept but the bad bytes, the file's, one character at most");
    if (utf16) {
      const std::size_t unit = (at - 2) / 2;
      const char16_t c = shown == 2 ? units[unit] : 0, next = unit + 1 < units.size() ? units[unit + 1] : 0;
      const bool control = shown == 2 && c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r';  // NUL too
      const bool lone = shown == 2 && isSurrogate(c) && (c >= 0xDC00 || next < 0xDC00 || next > 0xDFFF);
      check(at % 2 == 0 && d.errorLine == lineAt(units, unit) && decodeText(bytes.substr(0, at)).ok &&
                d.control == control && (control || lone || at + 1 == size),
            "a control character, a lone surrogate or the odd last byte, its line counted in units");
      return 0;
    }
    check(d.errorLine == lineAt(bytes, at), "error line");
    check(d.binary || d.utf16WithoutMark || utf8 || !bytes.starts_with("\xEF\xBB\xBF"),
          "a file with the UTF-8 mark is refused as UTF-8");
    check(bytes.find('\0') == (d.binary || d.utf16WithoutMark ? at : bytes.npos),
          "a NUL byte means binary or UTF-16 without its mark, named at the first");
    if (d.binary || d.utf16WithoutMark) return 0;
    const auto first = static_cast<unsigned char>(bytes[at]);
    check(d.control == (shown == 1 && first < 0x20 && first != '\t' && first != '\n' && first != '\r'),
          "a control character XML cannot carry is named alone");
    const DecodeResult before = decodeText(bytes.substr(0, at));
    check(utf8 || before.ok || before.encoding == Encoding::Utf8, "the bytes before the error read");
    const std::size_t from = bytes.find_last_of("\r\n", at) + 1;  // where the line named begins
    const DecodeResult head = decodeText(bytes.substr(0, from)), rest = decodeText(bytes.substr(from));
    check(!d.mixed || (head.ok && head.encoding == Encoding::Utf8 &&
                       (rest.ok ? rest.encoding == Encoding::CodePage932 : rest.control)),
          "two encodings: UTF-8 before the line named, code page 932 from it on");
    return 0;
  }
  check(d.text.size() <= size, "never more characters than bytes");
  for (const char16_t c : d.text)
    check(c >= 0x20 || c == u'\t' || c == u'\n' || c == u'\r', "no control character is read");
  // The line rule: CR, CR LF or the end ends a line, written with CR LF; an LF alone stays in its line.
  Text lines = replaceAll(replaceAll(d.text, kCrLf, u"\r"), u"\r", kCrLf);
  if (!lines.empty() && !lines.ends_with(kCrLf)) lines += kCrLf;
  const CrLfLines got = linesWithCrLf(Text(d.text));
  check(got.text == lines && got.count == std::count(lines.begin(), lines.end(), kCr), "the line rule");
  if (utf16 && units.ends_with(u'\x1a')) units.pop_back();
  check(!utf16 || (size % 2 == 0 && d.text == units),
        "UTF-16 read unit for unit, mark and a final 0x1A dropped");
  if (utf16) return 0;
  // One 0x1A at the very end, the end-of-file mark of old editors, is dropped; nothing else is.
  std::string_view kept = bytes.substr(0, size > 0 && bytes.back() == '\x1a' ? size - 1 : size);
  if (utf8) {
    if (kept.starts_with("\xEF\xBB\xBF")) kept.remove_prefix(3);
    check(d.text == fromUtf8(kept) && toUtf8(d.text) == kept,
          "well-formed UTF-8 read as it stands, its byte order mark dropped");
    return 0;
  }
  // Written back, it reads the same, unless the bytes form UTF-8: only when a character with two codes is
  // written in its preferred one (0xD5 0xFA 0x4A reads as "ﾕⅠ", written 0xD5 0x87 0x54).
  const EncodeResult e = encodeCp932(d.text);
  const DecodeResult back = decodeText(e.bytes);
  check(e.ok && ((back.ok && back.text == d.text) || (back.encoding == Encoding::Utf8 && e.bytes != kept)),
        "what was read is written and reads back the same");
  return 0;
}
