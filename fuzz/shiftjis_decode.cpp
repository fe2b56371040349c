// The Shift_JIS (code page 932) reader on arbitrary bytes: strict decoding, the way back, the place of
// the first bad byte, and the line rule applied to what was read.
#include <cstdint>
#include <string_view>

#include "FuzzInput.h"
#include "text/Lines.h"
#include "text/ShiftJis.h"

namespace {

using namespace orv;
using fuzz::check;

/// 1-based line of byte `offset`: lines end at CR or CR LF, counted without the decoder's help.
std::int64_t lineAt(std::string_view bytes, std::size_t offset) {
  // A CR LF ends one line, an LF alone none: every line before the offset ends with exactly one CR.
  std::int64_t line = 1;
  for (std::size_t i = 0; i < offset; ++i) line += bytes[i] == '\r' ? 1 : 0;
  return line;
}

/// The line rule written out plainly: lines split at CR, CR LF or end of text; each line then gets CR LF.
void checkLines(const Text& text) {
  std::vector<Text> lines;
  Text current;
  bool open = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == kCr) {
      lines.push_back(current);
      current.clear();
      open = false;
      if (i + 1 < text.size() && text[i + 1] == kLf) ++i;
    } else {
      current += text[i];
      open = true;
    }
  }
  if (open) lines.push_back(current);
  Text expected;
  for (const Text& line : lines) expected += line + Text(kCrLf);

  CrLfLines got = linesWithCrLf(Text(text));
  check(got.count == static_cast<std::int64_t>(lines.size()), "line count");
  check(got.text == expected, "lines with CR LF");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const DecodeResult d = decodeText(bytes);
  if (!d.ok) {
    check(d.text.empty(), "nothing of a refused file is kept");
    check(d.errorOffset >= 0 && static_cast<std::size_t>(d.errorOffset) < bytes.size(),
          "error offset inside");
    const auto offset = static_cast<std::size_t>(d.errorOffset);
    check(!d.errorBytes.empty() && d.errorBytes.size() <= (d.utf8 ? 3u : 2u), "error bytes shown");
    check(bytes.substr(offset, d.errorBytes.size()) == d.errorBytes, "error bytes are the file's");
    check(d.errorLine == lineAt(bytes, offset), "error line");
    if (d.binary) {
      // A binary file is named by its first NUL byte, wherever the first unreadable byte is.
      check(bytes.find('\0') == offset, "the first NUL byte");
      return 0;
    }
    check(bytes.find('\0') == std::string_view::npos, "a NUL byte always means binary");
    const auto first = static_cast<unsigned char>(bytes[offset]);
    check(d.control ==
              (d.errorBytes.size() == 1 && first < 0x20 && first != '\t' && first != '\n' && first != '\r'),
          "a control character XML cannot carry is named alone");
    if (!d.utf8) {
      // Everything before the bad byte is readable on its own.
      check(decodeText(bytes.substr(0, offset)).ok || decodeText(bytes.substr(0, offset)).utf8,
            "the bytes before the error read");
    }
    return 0;
  }
  check(d.text.size() <= bytes.size(), "never more characters than bytes");
  for (const char16_t c : d.text)
    check(c >= 0x20 || c == u'\t' || c == u'\n' || c == u'\r', "no control character is read");
  // One 0x1A at the very end, the end-of-file mark of old editors, is dropped; nothing else is.
  std::string_view kept = !bytes.empty() && bytes.back() == '\x1a' ? bytes.substr(0, size - 1) : bytes;
  if (d.utf8) {
    // Well-formed UTF-8 is read as it stands, its byte order mark dropped.
    if (kept.substr(0, 3) == "\xEF\xBB\xBF") kept.remove_prefix(3);
    check(d.text == fromUtf8(kept) && toUtf8(d.text) == kept, "UTF-8 read as it stands");
    return 0;
  }
  const EncodeResult e = encodeCp932(d.text);
  check(e.ok, "what was read can be written");
  // The written bytes read back as the same text (each code against the system converter is checked in
  // the unit tests), unless they happen to form UTF-8: possible only when a character with two codes
  // came back in the code page's preferred one (0xD5 0xFA 0x4A reads as "ﾕⅠ" and is written 0xD5 0x87
  // 0x54, valid UTF-8).
  const DecodeResult back = decodeText(e.bytes);
  check(back.ok && (back.text == d.text || (back.utf8 && e.bytes != kept)),
        "written text reads back the same");
  checkLines(d.text);
  return 0;
}
