#pragma once
// The numeric value of a text and whole-number rounding, as the field count box reads numbers.
#include <cstdint>
#include <optional>

#include "text/Text.h"

namespace orv {

/// The value of the longest leading part of `text` that reads as a number, after blanks, tabs and
/// line feeds are removed from the whole text: sign, digits with at most one decimal point, an
/// optional exponent (E or D); or "&H" / "&O" followed by a hexadecimal or octal whole number.
/// 0 when no leading part reads as a number. Full-width digits are not digits.
double numericValue(TextView text);

/// Nearest whole number, halves to the even neighbour; empty when outside the 16-bit range.
std::optional<std::int16_t> roundToInt16(double value);

}  // namespace orv
