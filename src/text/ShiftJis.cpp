#include "text/ShiftJis.h"

#include <iconv.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

#include "text/LargeBuffer.h"

namespace orv {
namespace {

// One iconv conversion descriptor for one direction; closed when done.
class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() {
    if (valid()) iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

// The line of the byte (or UTF-16 unit) at `offset` as an editor shows it: a line ends at CR LF, CR
// alone or LF alone. Counted only for a refusal, so reading a good file never pays for it.
template <typename Units>
std::int64_t lineOfOffset(Units units, std::size_t offset) {
  std::int64_t line = 1;
  for (std::size_t i = 0; i < offset && i < units.size(); ++i) {
    if (units[i] == '\r' && i + 1 < offset && units[i + 1] == '\n') ++i;
    if (units[i] == '\r' || units[i] == '\n') ++line;
  }
  return line;
}

// Where the line holding the byte at `offset` begins.
std::size_t lineStart(std::string_view bytes, std::size_t offset) {
  const std::size_t end = offset == 0 ? std::string_view::npos : bytes.find_last_of("\r\n", offset - 1);
  return end == std::string_view::npos ? 0 : end + 1;
}

constexpr std::string_view kUtf16LeMark = "\xFF\xFE", kUtf16BeMark = "\xFE\xFF";

bool isUtf16(std::string_view bytes) {
  return bytes.starts_with(kUtf16LeMark) || bytes.starts_with(kUtf16BeMark);
}

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";  // the UTF-8 byte order mark

// Length of the well-formed UTF-8 sequence at the start of `bytes` (lead byte >= 0x80), else 0. The
// second byte's range depends on the lead byte, which rules out overlong forms (E0 80-9F, F0 80-8F),
// surrogates (ED A0-BF) and code points above U+10FFFF (F4 90-BF); such bytes are left to the code page.
std::size_t utf8SequenceLength(std::string_view bytes) {
  const auto b = static_cast<unsigned char>(bytes[0]);
  std::size_t len = 0;
  unsigned char low = 0x80, high = 0xBF;
  if (b >= 0xC2 && b <= 0xDF) {
    len = 2;
  } else if (b >= 0xE0 && b <= 0xEF) {
    len = 3;
    if (b == 0xE0) low = 0xA0;
    if (b == 0xED) high = 0x9F;
  } else if (b >= 0xF0 && b <= 0xF4) {
    len = 4;
    if (b == 0xF0) low = 0x90;
    if (b == 0xF4) high = 0x8F;
  }
  if (len == 0 || len > bytes.size()) return 0;
  const auto second = static_cast<unsigned char>(bytes[1]);
  if (second < low || second > high) return 0;
  for (std::size_t k = 2; k < len; ++k)
    if ((static_cast<unsigned char>(bytes[k]) & 0xC0) != 0x80) return 0;
  return len;
}

// The bytes named for the ill-formed UTF-8 sequence at the start of `bytes`: the lead byte and each
// byte after it that a well-formed sequence could still go on with (at most three in all). A start is
// tried by completing it with continuation bytes.
std::size_t illFormedUtf8Length(std::string_view bytes) {
  std::size_t fit = 1;
  while (fit < bytes.size() &&
         utf8SequenceLength(std::string(bytes.substr(0, fit + 1)) + "\x80\x80") > fit + 1)
    ++fit;
  return fit;
}

// Where reading `bytes` from `start` as UTF-8 first meets a multi-byte character, one of three or four
// bytes (as every kana and kanji is) and an ill-formed sequence; npos for none.
struct Utf8Scan {
  std::size_t firstMultiByte = std::string_view::npos;
  std::size_t firstLong = std::string_view::npos;
  std::size_t illFormed = std::string_view::npos;
};

Utf8Scan scanUtf8(std::string_view bytes, std::size_t start) {
  Utf8Scan scan;
  for (std::size_t i = start; i < bytes.size();) {
    if (static_cast<unsigned char>(bytes[i]) < 0x80) {
      ++i;
      continue;
    }
    const std::size_t len = utf8SequenceLength(bytes.substr(i));
    if (len == 0) {
      scan.illFormed = i;
      break;
    }
    if (scan.firstMultiByte == std::string_view::npos) scan.firstMultiByte = i;
    if (len >= 3 && scan.firstLong == std::string_view::npos) scan.firstLong = i;
    i += len;
  }
  return scan;
}

constexpr std::uint16_t kInvalid = 0xFFFF;
constexpr std::uint16_t kLead = 0xFFFE;
constexpr std::uint16_t kControl = 0xFFFD;  // a control character XML 1.0 cannot carry

// Bytes 0x01-0x1F other than tab, LF and CR: no XML 1.0 document may hold them, so a file with one
// cannot become a document. They are never the second byte of a two-byte code, so the byte is exact.
bool isForbiddenControl(unsigned char b) {
  return b >= 0x01 && b < 0x20 && b != 0x09 && b != 0x0A && b != 0x0D;
}
constexpr char kEndOfFileMark = 0x1A;  // what old DOS editors put after the last line

// Code page 932 as lookup tables, built once from the system's converter one character at a time. The
// code page keeps no state between characters, so converting by table gives exactly what converting
// the whole text would, many times faster.
struct Tables {
  std::uint16_t single[256];          // the character of a one-byte code, kLead, kControl or kInvalid
  std::vector<std::uint16_t> pair;    // lead << 8 | trail -> the character, or kInvalid
  std::vector<std::uint16_t> encode;  // UTF-16 unit -> one byte (< 0x100), two bytes, or kInvalid
};

// One character through iconv: the UTF-16 units it gives (0, 1) and how many bytes it took.
bool convertOne(iconv_t cd, const char* from, std::size_t size, char* to, std::size_t room,
                std::size_t& produced, int& err) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char* in = const_cast<char*>(from);
  std::size_t inLeft = size;
  char* out = to;
  std::size_t outLeft = room;
  const bool ok = iconv(cd, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1) && inLeft == 0;
  err = ok ? 0 : errno;
  produced = room - outLeft;
  return ok;
}

std::uint16_t littleEndian(const char* two) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(two[0]) |
                                    (static_cast<unsigned char>(two[1]) << 8));
}

Tables buildTables() {
  Tables t;
  t.pair.assign(1 << 16, kInvalid);
  t.encode.assign(1 << 16, kInvalid);
  Iconv decoder("UTF-16LE", "CP932");
  Iconv encoder("CP932", "UTF-16LE");
  char out[8];
  std::size_t produced = 0;
  int err = 0;
  for (int b = 0; b < 256; ++b) {
    const char byte = static_cast<char>(b);
    if (convertOne(decoder.get(), &byte, 1, out, sizeof out, produced, err) && produced == 2) {
      t.single[b] = littleEndian(out);
    } else {
      t.single[b] = err == EINVAL ? kLead : kInvalid;
    }
    if (isForbiddenControl(static_cast<unsigned char>(b))) t.single[b] = kControl;
  }
  for (int lead = 0; lead < 256; ++lead) {
    if (t.single[lead] != kLead) continue;
    for (int trail = 0; trail < 256; ++trail) {
      const char two[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      if (convertOne(decoder.get(), two, 2, out, sizeof out, produced, err) && produced == 2)
        t.pair[static_cast<std::size_t>((lead << 8) | trail)] = littleEndian(out);
    }
  }
  for (int unit = 0; unit < (1 << 16); ++unit) {
    const auto u = static_cast<std::uint16_t>(unit);
    const char in[2] = {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
    if (!convertOne(encoder.get(), in, 2, out, sizeof out, produced, err) || produced == 0 || produced > 2)
      continue;
    const auto b0 = static_cast<unsigned char>(out[0]);
    t.encode[u] =
        produced == 1 ? b0 : static_cast<std::uint16_t>((b0 << 8) | static_cast<unsigned char>(out[1]));
  }
  return t;
}

const Tables& tables() {
  static const Tables built = buildTables();
  return built;
}

}  // namespace

namespace {

// Well-formed UTF-8 text: the mark dropped, the same refusal of control characters as for code page 932.
DecodeResult decodeUtf8(std::string_view bytes, bool atEndOfFile) {
  DecodeResult r;
  r.encoding = Encoding::Utf8;
  const std::size_t start = bytes.starts_with(kUtf8Mark) ? kUtf8Mark.size() : 0;
  if (atEndOfFile && !bytes.empty() && bytes.back() == kEndOfFileMark) bytes.remove_suffix(1);
  for (std::size_t i = start; i < bytes.size(); ++i) {
    if (!isForbiddenControl(static_cast<unsigned char>(bytes[i]))) continue;
    r.control = true;
    r.errorOffset = static_cast<std::int64_t>(i);
    r.errorLine = lineOfOffset(bytes, i);
    r.errorBytes = std::string(1, bytes[i]);
    return r;
  }
  r.text = fromUtf8(bytes.substr(start));
  r.ok = true;
  return r;
}

// True when `bytes` hold only characters of code page 932, control characters counted among them.
bool readsAsCodePage932(std::string_view bytes) {
  const Tables& t = tables();
  const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const std::uint16_t single = t.single[in[i]];
    if (single == kInvalid) return false;
    if (single != kLead) continue;
    if (i + 1 == bytes.size() || t.pair[(in[i] << 8) | in[i + 1]] == kInvalid) return false;
    ++i;
  }
  return true;
}

// A file that begins as UTF-8 (with the mark, or whole lines holding a character of three or four bytes)
// but does not go on as UTF-8, refused where it first goes wrong: a control character, as in any UTF-8
// file, or the first ill-formed sequence. Read as code page 932 it would be refused at the mark, or read
// its UTF-8 lines as other characters. When such whole lines come first and the rest from the line that
// goes wrong reads as code page 932, the file mixes the two. Kept out of decodeText: inlined there, it made
// reading a large UTF-8 file some 8% slower.
[[gnu::noinline]] DecodeResult refuseStartedAsUtf8(std::string_view bytes, std::size_t start,
                                                   bool atEndOfFile) {
  DecodeResult r;
  r.encoding = Encoding::Utf8;
  if (atEndOfFile && bytes.back() == kEndOfFileMark) bytes.remove_suffix(1);
  std::size_t i = start, firstLong = std::string_view::npos;
  for (; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    r.control = isForbiddenControl(b);
    if (r.control) break;
    if (b < 0x80) continue;
    const std::size_t len = utf8SequenceLength(bytes.substr(i));
    if (len == 0) break;
    if (len >= 3) firstLong = std::min(firstLong, i);
    i += len - 1;
  }
  r.errorOffset = static_cast<std::int64_t>(i);
  r.errorLine = lineOfOffset(bytes, i);
  r.errorBytes = std::string(bytes.substr(i, r.control ? 1 : illFormedUtf8Length(bytes.substr(i))));
  const std::size_t from = lineStart(bytes, i);
  r.mixed = !r.control && firstLong < from && readsAsCodePage932(bytes.substr(from));
  return r;
}

// UTF-16 after its mark in one pass: the units copied (as they stand when the machine is little-endian
// too), then checked for what every encoding refuses, for a lone surrogate and for an odd last byte.
[[gnu::noinline]] DecodeResult decodeUtf16(std::string_view bytes, bool bigEndian, bool atEndOfFile) {
  DecodeResult r;
  r.encoding = bigEndian ? Encoding::Utf16Be : Encoding::Utf16Le;
  const std::string_view body = bytes.substr(kUtf16LeMark.size());
  const bool odd = body.size() % 2 != 0;
  Text& text = r.text;
  text.resize(body.size() / 2);
  const auto* in = reinterpret_cast<const unsigned char*>(body.data());
  if (!bigEndian && std::endian::native == std::endian::little) {
    std::memcpy(text.data(), in, text.size() * 2);
  } else {
    const std::size_t high = bigEndian ? 0 : 1;
    for (std::size_t k = 0; k < text.size(); ++k)
      text[k] = static_cast<char16_t>(in[2 * k + high] << 8 | in[2 * k + 1 - high]);
  }
  if (atEndOfFile && !odd && !text.empty() && text.back() == kEndOfFileMark) text.pop_back();
  std::size_t bad = 0;
  for (; bad < text.size(); ++bad) {
    const char16_t c = text[bad];
    if (c >= 0x20 && (c < 0xD800 || c > 0xDFFF)) continue;
    if (c < 0x20) {
      r.control = c == 0 || isForbiddenControl(static_cast<unsigned char>(c));
      if (r.control) break;
      continue;
    }
    if (c > 0xDBFF || bad + 1 == text.size() || text[bad + 1] < 0xDC00 || text[bad + 1] > 0xDFFF) break;
    ++bad;  // a high surrogate with its low one
  }
  if (bad == text.size() && !odd) {
    r.ok = true;
    return r;
  }
  // Past the last unit, the error is the odd byte after it.
  const std::size_t at = kUtf16LeMark.size() + 2 * bad;
  r.errorOffset = static_cast<std::int64_t>(at);
  r.errorLine = lineOfOffset(TextView(text), bad);
  r.errorBytes = std::string(bytes.substr(at, 2));
  text.clear();
  return r;
}

bool isAsciiText(unsigned char b) { return (b >= 0x20 && b < 0x7F) || b == '\t' || b == '\n' || b == '\r'; }

// UTF-16 written without its mark, told from a binary file by its NUL bytes in the first 4 KiB: on one
// side of the two-byte units (the high byte of an ASCII character), there in a quarter of the units at
// least, each beside printable ASCII, tab, LF or CR, and seldom on the other side (U+4E00 has one there).
// A binary file has them on both sides, beside anything, and whole 00 00 units.
std::optional<Encoding> utf16WithoutMark(std::string_view bytes) {
  const std::size_t n = std::min<std::size_t>(bytes.size(), 4096) / 2 * 2;
  std::size_t nul[2] = {0, 0};    // units with a NUL first, second
  bool beside[2] = {true, true};  // each of them beside an ASCII text byte
  for (std::size_t i = 0; i < n; i += 2) {
    const auto first = static_cast<unsigned char>(bytes[i]),
               second = static_cast<unsigned char>(bytes[i + 1]);
    if (first == 0 && second == 0) return std::nullopt;
    if (first == 0) ++nul[0], beside[0] = beside[0] && isAsciiText(second);
    if (second == 0) ++nul[1], beside[1] = beside[1] && isAsciiText(first);
  }
  const int side = nul[1] >= nul[0] ? 1 : 0;  // a NUL second: little-endian
  if (nul[side] < 2 || nul[side] * 4 < n / 2 || nul[1 - side] * 4 > nul[side] || !beside[side])
    return std::nullopt;
  return side == 1 ? Encoding::Utf16Le : Encoding::Utf16Be;
}

}  // namespace

DecodeResult decodeText(std::string_view bytes, bool atEndOfFile) {
  if (isUtf16(bytes)) return decodeUtf16(bytes, bytes[0] == '\xFE', atEndOfFile);
  DecodeResult r;
  if (std::size_t nul = bytes.find('\0'); nul != std::string_view::npos) {
    const std::optional<Encoding> utf16 = utf16WithoutMark(bytes);
    r.binary = !utf16;
    r.utf16WithoutMark = utf16.has_value();
    r.encoding = utf16.value_or(Encoding::CodePage932);
    r.errorOffset = static_cast<std::int64_t>(nul);
    r.errorLine = lineOfOffset(bytes, nul);
    r.errorBytes = std::string(1, '\0');
    return r;
  }
  const bool mark = bytes.starts_with(kUtf8Mark);
  const Utf8Scan utf8 = scanUtf8(bytes, mark ? kUtf8Mark.size() : 0);
  if (utf8.illFormed == std::string_view::npos) {
    if (mark || utf8.firstMultiByte != std::string_view::npos) return decodeUtf8(bytes, atEndOfFile);
  } else if (mark || utf8.firstLong < lineStart(bytes, utf8.illFormed)) {
    return refuseStartedAsUtf8(bytes, mark ? kUtf8Mark.size() : 0, atEndOfFile);
  }
  if (atEndOfFile && !bytes.empty() && bytes.back() == kEndOfFileMark) bytes.remove_suffix(1);
  const Tables& t = tables();
  reserveLarge(r.text, bytes.size() + 1);  // never more UTF-16 units than bytes, and one spare
  const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  // A piece at a time: room for the piece's characters is made once and written through a pointer.
  constexpr std::size_t kPiece = std::size_t{1} << 15;
  for (std::size_t i = 0; i < n;) {
    const std::size_t pieceEnd = std::min(n, i + kPiece);
    std::size_t at = r.text.size();
    r.text.resize(at + (pieceEnd - i) + 1);  // a pair may run one byte past the piece
    char16_t* out = r.text.data();
    while (i < pieceEnd) {
      const unsigned char b = in[i];
      const std::uint16_t single = t.single[b];
      if (single < kControl) {
        out[at++] = static_cast<char16_t>(single);
        ++i;
        continue;
      }
      const std::uint16_t pair = single == kLead && i + 1 < n ? t.pair[(b << 8) | in[i + 1]] : kInvalid;
      if (pair == kInvalid) {
        r.control = single == kControl;
        r.errorOffset = static_cast<std::int64_t>(i);
        r.errorLine = lineOfOffset(bytes, i);
        // A byte that cannot begin a two-byte character, or a lead byte at the very end, is shown alone.
        r.errorBytes = std::string(bytes.substr(i, single == kLead && i + 1 < n ? 2 : 1));
        r.text.clear();
        return r;
      }
      out[at++] = static_cast<char16_t>(pair);
      i += 2;
    }
    r.text.resize(at);
  }
  r.ok = true;
  return r;
}

std::size_t wholeCharacters(std::string_view bytes) {
  if (isUtf16(bytes)) {
    std::size_t n = bytes.size() / 2 * 2;
    const std::size_t high = bytes[0] == '\xFE' ? n - 2 : n - 1;  // the high byte of the last unit
    if (n > 2 && (static_cast<unsigned char>(bytes[high]) & 0xFC) == 0xD8) n -= 2;
    return n;
  }
  const Tables& t = tables();
  std::size_t i = 0;
  while (i < bytes.size()) {
    const std::size_t len = t.single[static_cast<unsigned char>(bytes[i])] == kLead ? 2 : 1;
    if (i + len > bytes.size()) break;
    i += len;
  }
  return i;
}

std::size_t firstLineEnd(std::string_view bytes) {
  if (!isUtf16(bytes)) return bytes.find('\r');
  const std::size_t low = bytes[0] == '\xFE' ? 1 : 0;  // the byte of a unit that holds the CR
  for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
    if (bytes[i + low] == '\r' && bytes[i + 1 - low] == '\0') return i;
  return std::string_view::npos;
}

Text nameFromBytes(std::string_view bytes) {
  bool utf8 = true;
  for (std::size_t i = 0; i < bytes.size() && utf8;) {
    const std::size_t len =
        static_cast<unsigned char>(bytes[i]) < 0x80 ? 1 : utf8SequenceLength(bytes.substr(i));
    utf8 = len > 0;
    i += len;
  }
  if (utf8) return fromUtf8(bytes);
  DecodeResult d = decodeText(bytes, false);
  if (d.ok) return std::move(d.text);
  // Neither: the well-formed UTF-8 as characters, every other byte kept as itself.
  Text out;
  for (std::size_t i = 0; i < bytes.size();) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    const std::size_t len = b < 0x80 ? 1 : utf8SequenceLength(bytes.substr(i));
    if (len == 0) {
      appendCodePoint(out, kEscapedByte + b);
      ++i;
      continue;
    }
    out += fromUtf8(bytes.substr(i, len));
    i += len;
  }
  return out;
}

std::size_t firstOutsideCodePage932(TextView text) {
  const std::uint16_t* encode = tables().encode.data();
  for (std::size_t i = 0; i < text.size(); ++i)
    if (encode[text[i]] == kInvalid) return i;
  return TextView::npos;
}

bool appendCp932(std::string& out, TextView text, char32_t& errorChar) {
  const Tables& t = tables();
  // A piece at a time: the room for its bytes is made once and written through a pointer.
  constexpr std::size_t kPiece = std::size_t{1} << 15;
  const std::size_t was = out.size();
  for (std::size_t start = 0; start < text.size(); start += kPiece) {
    const TextView piece = text.substr(start, kPiece);
    std::size_t at = out.size();
    out.resize(at + 2 * piece.size());
    char* bytes = out.data();
    for (std::size_t i = 0; i < piece.size(); ++i) {
      const std::uint16_t code = t.encode[piece[i]];
      if (code == kInvalid) {
        errorChar = codePointAt(text, start + i).value;
        out.resize(was);
        return false;
      }
      if (code > 0xFF) bytes[at++] = static_cast<char>(code >> 8);
      bytes[at++] = static_cast<char>(code & 0xFF);
    }
    out.resize(at);
  }
  return true;
}

EncodeResult encodeCp932(TextView text) {
  EncodeResult r;
  reserveLarge(r.bytes, text.size() * 2);  // never more than two bytes a character
  r.ok = appendCp932(r.bytes, text, r.errorChar);
  if (!r.ok) r.bytes.clear();
  return r;
}

Text hexBytes(std::string_view bytes) {
  std::string s;
  char buf[8];
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(buf, sizeof buf, "%s0x%02X", i ? " " : "", static_cast<unsigned char>(bytes[i]));
    s += buf;
  }
  return fromUtf8(s);
}

Text describeChar(char32_t c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(c));
  Text t = fromUtf8(buf);
  if (c >= 0x20 && !isSurrogate(c)) {
    t += u" (";
    appendCodePoint(t, c);
    t += u")";
  }
  return t;
}

}  // namespace orv
