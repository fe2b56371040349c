// The numeric value of a text and the whole-number rounding the field count box relies on.
//
// Input: piece 0 is the text (UTF-8); piece 1, when it holds eight bytes, is also read as a raw double
// so that the rounding meets NaN, infinities and every magnitude.
#include <cfloat>
#include <cmath>
#include <cstring>
#include <regex>
#include <string>

#include "FuzzInput.h"
#include "text/Numeric.h"

namespace {

using namespace orv;
using fuzz::check;

/// The rounding rule stated without the implementation: nearest whole number, a half to the even
/// neighbour, nothing outside -32768..32767.
void checkRounding(double v) {
  const std::optional<std::int16_t> r = roundToInt16(v);
  const bool inRange = v >= -32768.5 && v < 32767.5;  // -32768.5 goes to -32768, 32767.5 to 32768
  check(r.has_value() == inRange, "rounding gives a value exactly inside the 16-bit range");
  if (!r) return;
  const double distance = std::fabs(v - *r);
  check(distance < 0.5 || (distance == 0.5 && *r % 2 == 0), "nearest, halves to even");
}

/// Digit value in `radix`, or -1.
int digit(char16_t c, int radix) {
  const auto at = Text(u"0123456789abcdef").find(c >= u'A' && c <= u'F' ? static_cast<char16_t>(c + 32) : c);
  return at < static_cast<std::size_t>(radix) ? static_cast<int>(at) : -1;
}

/// "&H" / "&O" numbers: the digits' value, read as a 16-bit or 32-bit two's complement number when it
/// fits in 16 or 32 bits, else as it stands. A long number is never read as a small one.
void checkRadix(const Text& s, double v) {
  const int radix = s[1] == u'H' || s[1] == u'h' ? 16 : 8;
  long double exact = 0;
  for (std::size_t i = 2; i < s.size() && digit(s[i], radix) >= 0; ++i)
    exact = exact * radix + digit(s[i], radix);
  if (exact <= 0xFFFF) {
    check(v == static_cast<std::int16_t>(static_cast<std::uint16_t>(exact)), "16-bit radix value");
  } else if (exact <= 0xFFFFFFFFL) {
    check(v == static_cast<std::int32_t>(static_cast<std::uint32_t>(exact)), "32-bit radix value");
  } else if (exact > static_cast<long double>(DBL_MAX)) {
    check(std::isinf(v) && v > 0, "a radix number beyond every double is infinite");
  } else {
    check(v >= 4294967296.0, "a long radix number does not wrap around");
    check(std::fabs(static_cast<long double>(v) - exact) <= exact * 1e-12L, "long radix value");
  }
}

/// Decimal numbers: the longest leading part matching sign, digits with one point, exponent E or D.
void checkDecimal(const Text& s, double v) {
  std::string ascii;
  for (char16_t c : s) ascii += c < 0x80 ? static_cast<char>(c) : '\x01';  // no wide character is a digit
  static const std::regex number(R"(^[+-]?(?:[0-9]+\.?[0-9]*|\.[0-9]+)(?:[EeDd][+-]?[0-9]+)?)");
  std::smatch m;
  if (!std::regex_search(ascii, m, number)) {
    check(v == 0, "no number reads as 0");
    return;
  }
  std::string literal = m.str();
  for (char& c : literal)
    if (c == 'D' || c == 'd') c = 'e';
  const double expected = std::strtod(literal.c_str(), nullptr);
  check(v == expected || (std::isnan(v) && std::isnan(expected)), "decimal value of the leading number");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::Pieces in(data, size);
  const Text text = in.text(0);
  const double v = numericValue(text);
  check(!std::isnan(v), "a text never reads as NaN");
  checkRounding(v);

  Text s;  // blanks, tabs and line feeds do not count anywhere in the text
  for (char16_t c : text)
    if (c != u' ' && c != u'\t' && c != u'\n') s += c;
  if (s.size() >= 2 && s[0] == u'&' && (s[1] == u'H' || s[1] == u'h' || s[1] == u'O' || s[1] == u'o')) {
    checkRadix(s, v);
  } else if (!s.empty() && s[0] == u'&') {
    check(v == 0, "other & forms read as 0");
  } else if (s.size() <= 200) {  // the regular expression recurses per character
    checkDecimal(s, v);
  }

  if (in.bytes(1).size() == 8) {
    double raw;
    std::memcpy(&raw, in.bytes(1).data(), sizeof raw);
    checkRounding(raw);
  }
  return 0;
}
