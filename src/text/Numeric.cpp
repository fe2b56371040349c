#include "text/Numeric.h"

#include <cfenv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace orv {
namespace {

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

int digitValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return 99;
}

double radixValue(TextView s, int radix) {
  // A 16-bit or 32-bit whole number in two's complement, as such literals read: &HFFFF is -1. A
  // longer number keeps its size, whatever its digits and leading zeros: it never wraps round to a
  // small value.
  std::uint64_t v = 0;  // exact while it fits in 32 bits
  double wide = 0;      // the value once it does not
  bool digits = false;
  bool beyond32 = false;
  for (char16_t c : s) {
    const int d = digitValue(c);
    if (d >= radix) break;
    digits = true;
    if (beyond32) {
      wide = wide * radix + d;
    } else {
      v = v * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(d);
      if (v > 0xFFFFFFFFull) {
        beyond32 = true;
        wide = static_cast<double>(v);
      }
    }
  }
  if (!digits) return 0;
  if (beyond32) return wide;
  if (v <= 0xFFFF) return static_cast<double>(static_cast<std::int16_t>(v));
  return static_cast<double>(static_cast<std::int32_t>(v));
}

}  // namespace

double numericValue(TextView text) {
  Text s;
  s.reserve(text.size());
  for (char16_t c : text)
    if (c != u' ' && c != u'\t' && c != u'\n') s.push_back(c);
  if (s.size() >= 2 && s[0] == u'&') {
    if (s[1] == u'H' || s[1] == u'h') return radixValue(TextView(s).substr(2), 16);
    if (s[1] == u'O' || s[1] == u'o') return radixValue(TextView(s).substr(2), 8);
    return 0;
  }
  std::string ascii;
  std::size_t i = 0;
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) ascii += static_cast<char>(s[i++]);
  bool digits = false;
  bool point = false;
  for (; i < s.size(); ++i) {
    if (isDigit(s[i])) {
      ascii += static_cast<char>(s[i]);
      digits = true;
    } else if (s[i] == u'.' && !point) {
      ascii += '.';
      point = true;
    } else {
      break;
    }
  }
  if (!digits) return 0;
  if (i < s.size() && (s[i] == u'E' || s[i] == u'e' || s[i] == u'D' || s[i] == u'd')) {
    std::size_t j = i + 1;
    std::string exp = "e";
    if (j < s.size() && (s[j] == u'+' || s[j] == u'-')) exp += static_cast<char>(s[j++]);
    bool expDigits = false;
    for (; j < s.size() && isDigit(s[j]); ++j) {
      exp += static_cast<char>(s[j]);
      expDigits = true;
    }
    if (expDigits) ascii += exp;
  }
  return std::strtod(ascii.c_str(), nullptr);
}

std::optional<std::int16_t> roundToInt16(double value) {
  if (std::isnan(value)) return std::nullopt;
  double r = std::nearbyint(value);  // the default rounding mode sends halves to the even neighbour
  if (r < -32768.0 || r > 32767.0) return std::nullopt;
  return static_cast<std::int16_t>(r);
}

}  // namespace orv
