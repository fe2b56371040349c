// Turns the search page template, kept as readable UTF-8 source, into the pure-ASCII page template the
// tool reads: every other character becomes a character reference (&#x30C7;) in the markup and a \u escape
// (\u30C7, a surrogate pair beyond U+FFFF) inside the page's script, where a reference would not be read.
// ASCII survives every code page the tool writes the page in.
//   ascii_page SOURCE.html OUT.mvo
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string hex(std::uint32_t value, int digits) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*X", digits, static_cast<unsigned>(value));
  return buf;
}

/// The code point of the UTF-8 sequence at `i`, moving `i` past it; false for bytes that are not UTF-8.
bool nextCodePoint(const std::string& s, std::size_t& i, std::uint32_t& cp) {
  const auto b = static_cast<unsigned char>(s[i]);
  const int length = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 ? 2 : 0;
  if (length == 0 || i + static_cast<std::size_t>(length) > s.size()) return false;
  cp = length == 1 ? b : b & (0x7F >> length);
  for (int k = 1; k < length; ++k) {
    const auto c = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
    if ((c & 0xC0) != 0x80) return false;
    cp = cp << 6 | (c & 0x3F);
  }
  i += static_cast<std::size_t>(length);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: ascii_page SOURCE.html OUT.mvo\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  const std::string source((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in && !in.eof()) return 1;
  std::string out;
  bool inScript = false;
  for (std::size_t i = 0; i < source.size();) {
    if (source.compare(i, 8, "<script>") == 0) inScript = true;
    if (source.compare(i, 9, "</script>") == 0) inScript = false;
    std::uint32_t cp = 0;
    const std::size_t at = i;
    if (!nextCodePoint(source, i, cp)) {
      std::fprintf(stderr, "%s: byte %zu is not UTF-8\n", argv[1], at);
      return 1;
    }
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (!inScript) {
      out += "&#x" + hex(cp, 4) + ";";
    } else if (cp < 0x10000) {
      out += "\\u" + hex(cp, 4);
    } else {
      out +=
          "\\u" + hex(0xD800 + ((cp - 0x10000) >> 10), 4) + "\\u" + hex(0xDC00 + ((cp - 0x10000) & 0x3FF), 4);
    }
  }
  std::ofstream(argv[2], std::ios::binary) << out;
  return 0;
}
