// The numeric value of a text and the whole-number rounding the field count box relies on. Input: piece 0
// is the text (UTF-8); piece 1's first eight bytes are a raw double (NaN, infinities, every magnitude).
#include <bit>
#include <cfloat>
#include <cmath>
#include <regex>

#include "FuzzInput.h"
#include "text/Numeric.h"

/// Nearest whole number, a half to the even neighbour; nothing outside -32768.5 <= v < 32767.5.
static void checkRounding(double v) {
  const std::optional<std::int16_t> r = roundToInt16(v);
  const double distance = r ? std::fabs(v - *r) : 0;
  check(r.has_value() == (v >= -32768.5 && v < 32767.5), "a whole number only inside the 16-bit range");
  check(distance < 0.5 || (distance == 0.5 && *r % 2 == 0), "nearest, halves to even");
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Pieces in(data, size);
  const double v = numericValue(in.text(0));
  check(!std::isnan(v), "a text never reads as NaN");
  checkRounding(v);
  checkRounding(std::bit_cast<double>(in.number(1, 0, 8)));

  std::string s;  // blanks, tabs and line feeds do not count anywhere; no wide character is a digit
  for (const char16_t c : in.text(0))
    if (c != u' ' && c != u'\t' && c != u'\n') s += c < 0x80 ? static_cast<char>(c) : '\x01';
  if (s.size() >= 2 && s[0] == '&' && ((s[1] | 0x20) == 'h' || (s[1] | 0x20) == 'o')) {
    // The digits as a 16-bit or 32-bit two's complement number when they fit, else as they stand.
    const int radix = (s[1] | 0x20) == 'h' ? 16 : 8;
    long double exact = 0;
    for (std::size_t i = 2; i < s.size() && std::isxdigit(s[i]) && (radix == 16 || s[i] < '8'); ++i)
      exact = exact * radix + (s[i] <= '9' ? s[i] - '0' : (s[i] | 0x20) - 'a' + 10);
    if (exact <= 0xFFFF)
      check(v == static_cast<std::int16_t>(static_cast<std::uint16_t>(exact)), "16-bit radix value");
    else if (exact <= 0xFFFFFFFFL)
      check(v == static_cast<std::int32_t>(static_cast<std::uint32_t>(exact)), "32-bit radix value");
    else
      check(exact > DBL_MAX ? v == INFINITY : std::fabs(v - exact) <= exact * 1e-12L, "long radix value");
  } else if (s.size() <= 200) {  // std::regex recurses per character
    // The longest leading part reading as sign, digits with one point, exponent E or D; else 0.
    static const std::regex number(R"(^[+-]?(?:[0-9]+\.?[0-9]*|\.[0-9]+)(?:[EeDd][+-]?[0-9]+)?)");
    std::smatch m;
    std::string literal = std::regex_search(s, m, number) ? m.str() : "0";
    if (const std::size_t d = literal.find_first_of("Dd"); d != std::string::npos) literal[d] = 'e';
    check(v == std::strtod(literal.c_str(), nullptr), "decimal value of the leading number");
  }
  return 0;
}
