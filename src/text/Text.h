#pragma once
// Text helpers shared by every subsystem. Text is UTF-16, as the window holds it.
#include <cstddef>
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

/// True when `text` ends in `suffix` (given in lower case), ASCII letters compared without case.
bool endsWithIgnoringCase(TextView text, TextView suffix);

/// True when `text` contains `part`.
bool contains(TextView text, TextView part);

/// Number of occurrences of `ch`.
std::int64_t countOf(TextView text, char16_t ch);

/// Decimal digits of a whole number, with a minus sign for negatives.
Text decimal(std::int64_t value);

/// True for a code unit that is half of a surrogate pair.
constexpr bool isSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

/// A character of a UTF-16 text and the code units it takes.
struct CodePoint {
  char32_t value;
  std::size_t units;
};

/// The character that starts at `i`: a surrogate pair is one character of two units; half a pair
/// stands alone, as its own unit.
CodePoint codePointAt(TextView text, std::size_t i);

/// Appends `c`, as a surrogate pair above U+FFFF.
void appendCodePoint(Text& out, char32_t c);

/// A folder and a name inside it, with one "/" between them (a root folder keeps its own).
Text joinPath(TextView folder, TextView name);

/// UTF-8 <-> UTF-16 for paths and messages at the edge; invalid input becomes U+FFFD.
std::string toUtf8(TextView text);
Text fromUtf8(std::string_view text);

/// A byte of a file name that reads in no encoding is kept in the name's text as half a surrogate pair,
/// U+DC80 to U+DCFF, so that the name leads back to its own bytes (shown, such a unit reads as U+FFFD).
inline constexpr char32_t kEscapedByte = 0xDC00;
/// The bytes of a name as the system knows it: UTF-8, with each kept byte (see kEscapedByte) as itself.
std::string nameBytes(TextView name);
/// A name or message as shown to the user: each kept byte reads "\xFE", so that two names differing in
/// such bytes look different too.
Text shownName(TextView text);

}  // namespace orv
