#pragma once
// Code page 932 (the Windows form of Shift_JIS) at the file edge.
#include <cstdint>
#include <string>
#include <string_view>

#include "text/Text.h"

namespace orv {

/// What a text file was read as, or refused as.
enum class Encoding { CodePage932, Utf8, Utf16Le, Utf16Be };

struct DecodeResult {
  bool ok = false;
  Text text;
  Encoding encoding = Encoding::CodePage932;
  std::int64_t errorOffset = -1;  ///< byte offset of the first byte that cannot be read
  std::int64_t errorLine = 0;     ///< 1-based line of that byte (lines end at CR LF, CR or LF)
  std::string errorBytes;         ///< the offending bytes, at most two (three of a broken UTF-8 sequence)
  bool binary = false;            ///< refused because a NUL byte shows the file is not text
  bool control = false;           ///< refused for a control character XML 1.0 cannot carry
  bool utf16WithoutMark = false;  ///< refused: its NUL bytes show UTF-16 written without the mark
  bool mixed = false;  ///< refused: whole lines of UTF-8 before `errorLine`, code page 932 from it on
};

struct EncodeResult {
  bool ok = false;
  std::string bytes;
  char32_t errorChar = 0;  ///< the first character code page 932 cannot hold
};

/// A text file's bytes read strictly, never replaced, in the first of these that fits:
/// - UTF-16 when it begins with the mark (FF FE little-endian, FE FF big-endian), the mark dropped; a lone
///   surrogate or an odd last byte is an error.
/// - A NUL byte marks a binary file, refused; refused as UTF-16 without its mark when the NULs fall on
///   one side of the two-byte units beside ASCII bytes.
/// - UTF-8 when the bytes are well-formed UTF-8 holding a multi-byte character or beginning with the
///   mark, which is dropped. Code page 932 text is well-formed UTF-8 of two-byte characters only where
///   each of its double-byte characters comes right after a half-width katakana of 0xC2-0xDF, so a
///   Japanese file that reads both ways is a few half-width katakana at most, far rarer than names such
///   as "Café", "Ölund" or "Straße" in UTF-8 (whose code page 932 reading has double-byte characters).
/// - Refused at its first ill-formed sequence as UTF-8 when it begins with the mark or with whole lines
///   of UTF-8 holding a character of three or four bytes; after such lines, as two encodings (`mixed`)
///   when the rest from the line that goes wrong reads as code page 932.
/// - Code page 932 otherwise, where a byte sequence that is not code page 932 is an error.
/// In every encoding a control character other than tab, LF and CR is refused, except one 0x1A as the
/// last character of a file (`atEndOfFile`: the bytes run to the end of the file), which is dropped.
DecodeResult decodeText(std::string_view bytes, bool atEndOfFile = true);
/// Strict encoding: a character without a code page 932 form is an error, never written as "?".
EncodeResult encodeCp932(TextView text);
/// Appends the code page 932 bytes of `text` to `out`; false, with `out` as it was and the character
/// named, when one cannot be held.
bool appendCp932(std::string& out, TextView text, char32_t& errorChar);
/// Position of the first UTF-16 unit code page 932 does not hold (half of a surrogate pair never is), or
/// npos.
std::size_t firstOutsideCodePage932(TextView text);

/// The length of the longest start of `bytes` (a file's first bytes) that ends between two characters: a
/// lead byte whose second byte is missing is left out, and in UTF-16 half a unit or half a pair.
std::size_t wholeCharacters(std::string_view bytes);
/// Offset of the CR that ends the first line of a file's bytes (in UTF-16 a whole CR unit), or npos.
std::size_t firstLineEnd(std::string_view bytes);
/// A file or folder name from its bytes: UTF-8 when they are well-formed UTF-8, else code page 932
/// (what names from Windows archives are) when they read as that, else UTF-8 with every byte that is
/// not kept as itself (kEscapedByte), so that nameBytes gives the very bytes back.
Text nameFromBytes(std::string_view bytes);

/// "0x87 0x40" style rendering of bytes for messages.
Text hexBytes(std::string_view bytes);
/// "U+1F600 (😀)" style rendering of a character for messages.
Text describeChar(char32_t c);

}  // namespace orv
