#pragma once
// Text helpers shared by every subsystem. Text is UTF-16, as the window holds it.
#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

using Text = std::u16string;
using TextView = std::u16string_view;

inline constexpr char16_t kCr = u'\r';
inline constexpr char16_t kLf = u'\n';
inline constexpr char16_t kQuote = u'"';
inline constexpr TextView kCrLf = u"\r\n";

/// Every occurrence of `from`, left to right and without overlap, replaced by `to`; the inserted text
/// is not scanned again. Linear in the size of text and result. An empty `from` changes nothing.
Text replaceAll(TextView text, TextView from, TextView to);

/// Same as replaceAll, in place; returns the number of replacements.
std::size_t replaceAllInPlace(Text& text, TextView from, TextView to);

/// True when `text` contains `part`.
bool contains(TextView text, TextView part);

/// Number of occurrences of `ch`.
std::int64_t countOf(TextView text, char16_t ch);

/// Decimal digits of a whole number, with a minus sign for negatives.
Text decimal(std::int64_t value);

/// UTF-8 <-> UTF-16 for paths and messages at the edge; invalid input becomes U+FFFD.
std::string toUtf8(TextView text);
Text fromUtf8(std::string_view text);

}  // namespace orv
