// The Shift_JIS codec, also against the system converter over every character and byte pair; base64; the
// numbers the field count box reads.
#include <iconv.h>

#include <cmath>

#include "common/TextTest.h"
#include "text/Base64.h"
#include "text/Numeric.h"
#include "text/ShiftJis.h"

namespace orv {
namespace {

/// The text read (marked when not read as code page 932), or the line and bytes refused and why.
std::string readAs(const DecodeResult& d) {
  const std::string as[] = {"", "UTF-8", "UTF-16 LE", "UTF-16 BE"}, &was = as[static_cast<int>(d.encoding)];
  if (d.ok) return toUtf8(d.text) + (was.empty() ? "" : " (" + was + ")");
  return "refused: line " + std::to_string(d.errorLine) + " " + toUtf8(hexBytes(d.errorBytes)) +
         (was.empty() ? "" : " " + was) + (d.control ? " control" : "") + (d.binary ? " binary" : "") +
         (d.utf16WithoutMark ? " without its mark" : "") + (d.mixed ? " mixed" : "");
}

// Faults once seen or facts of the code page: 0x5C is "\" and 0x81 0x60 U+FF5E, not the yen sign and
// U+301C of plain Shift_JIS; code page 932 that looks like UTF-8 (overlong, surrogate, too high) is not
// UTF-8; "ß" is C3 9F, a double-byte character to code page 932; control characters XML 1.0 cannot carry
// are refused in every encoding, but one 0x1A ending a file.
TEST(ShiftJis, ReadsCodePage932OrUtf8AndRefusesWhatADocumentCannotCarryNamingTheLine) {
  using namespace std::string_literals;
  const std::string rows[][3] = {
      {"code page 932, not plain Shift_JIS", "\x5c\x81\x60\x87\x40\xb1", "\\～①ｱ"},
      {"tab, LF, CR and DEL are text", "a\tb\nc\r\n\x7f", "a\tb\nc\r\n\x7f"},
      {"half-width katakana that is not UTF-8", "\xb1\xb2\xb3\xc3\xbd\xc4", "ｱｲｳﾃｽﾄ"},
      {"two-byte UTF-8", "Caf\xc3\xa9 Stra\xc3\x9f\xc2\xa0\xce\xb8", "Café Straß\u00a0θ (UTF-8)"},
      {"half-width katakana that forms UTF-8", "\"\xc3\xbd\"\r\n", "\"ý\"\r\n (UTF-8)"},
      {"overlong E0 80", "\xe0\x80\x81\x40", "烙　"},
      {"surrogate ED A0", "\xed\xa0\x81\x40", "恝　"},
      {"F4 90, above U+10FFFF", "\xf4\x90\x81\x40", "\uE33F　"},
      {"one 0x1A as the very last byte is dropped", "\"a\"\r\n\x1a", "\"a\"\r\n"},
      {"UTF-8 text", "ok\r\n\xe6\x9d\xb1\xe4\xba\xac\xf0\xa0\xae\xb7", "ok\r\n東京\U00020BB7 (UTF-8)"},
      {"UTF-8 with its mark, two-byte characters only", "\xef\xbb\xbfn\xc3\xa9", "né (UTF-8)"},
      {"UTF-8 with a control character", "\xe6\x9d\xb1\r\n\x0b", "refused: line 2 0x0B UTF-8 control"},
      {"bytes the code page lacks", "ok\r\nline2\r\n\x87\x40\xa0\x81", "refused: line 3 0xA0"},
      {"LF line ends", "ok\nline2\n\x87\x40\xa0", "refused: line 3 0xA0"},
      {"CR line ends", "ok\rline2\r\x0b", "refused: line 3 0x0B control"},
      {"a cut lead byte", "\x82", "refused: line 1 0x82"},
      {"a NUL byte", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "refused: line 3 0x00 binary"},
      {"a vertical tab after LF CR, two line ends", "1\r\n2\n\r\"a\x0b\"", "refused: line 4 0x0B control"},
      {"0x1A anywhere else", "a\x1a\r\n", "refused: line 1 0x1A control"},
      {"of two 0x1A at the end the first", "a\x1a\x1a", "refused: line 1 0x1A control"},
      {"the UTF-8 mark, then a byte UTF-8 lacks", "\xef\xbb\xbf\xe6\x9d\xb1\r\nb\r\n\xff",
       "refused: line 3 0xFF UTF-8"},
      {"the UTF-8 mark, then a cut character", "\xef\xbb\xbfz\nb\n\xf0\xa0\xae\n",
       "refused: line 3 0xF0 0xA0 0xAE UTF-8"},
      {"UTF-8, then code page 932", "\xe6\x9d\xb1\r\n\r\n\x93\x8c", "refused: line 3 0x93 UTF-8 mixed"},
      {"UTF-8 lines, then neither", "\xe6\x9d\xb1\nb\n\x80", "refused: line 3 0x80 UTF-8"},
      {"a UTF-8 look-alike on the line that breaks", "\xe5\xb1\xb1\x93\x8c\r\n", "螻ｱ東\r\n"},
      {"UTF-16 LE", "\xff\xfe\x71\x67\r\0\n\0\x42\xd8\xb7\xdf\x1a\0"s, "東\r\n\U00020BB7 (UTF-16 LE)"},
      {"UTF-16 BE, CR and LF", "\xfe\xff\0\r\0\n\0\r\0\x0b"s, "refused: line 3 0x00 0x0B UTF-16 BE control"},
      {"UTF-16 LE, U+0000", "\xff\xfe\n\0\0\0"s, "refused: line 2 0x00 0x00 UTF-16 LE control"},
      {"UTF-16 LE, a lone surrogate", "\xff\xfe\n\0\xb7\xdf"s, "refused: line 2 0xB7 0xDF UTF-16 LE"},
      {"UTF-16 LE, an odd byte", "\xff\xfe\x42\xd8\xb7\xdf\x1a", "refused: line 1 0x1A UTF-16 LE"},
      {"UTF-16 without its mark", "\"\0a\0\"\0\r\0\n\0"s, "refused: line 1 0x00 UTF-16 LE without its mark"},
  };
  for (const auto& [what, bytes, read] : rows) EXPECT_EQ(readAs(decodeText(bytes)), read) << what;
  EXPECT_EQ(readAs(decodeText("a\x1a", false)), "refused: line 1 0x1A control") << "not the file's end";
}

TEST(Base64, EncodesEveryPaddingCase) {
  const std::string rows[][2] = {
      {"", ""},        {"f", "Zg=="},        {"fo", "Zm8="},
      {"foo", "Zm9v"}, {"foob", "Zm9vYg=="}, {std::string("\xff\xfe\x00", 3), "//4A"}};
  for (const auto& [in, out] : rows) EXPECT_EQ(base64(in), out);
}

// Blanks anywhere do not count; the longest leading number, its exponent E or D; &H and &O as 16-bit, then
// 32-bit two's complement, then as they stand; a full-width digit is no digit. Halves round to even.
TEST(Numeric, ReadsTheLeadingNumberAndRoundsToSixteenBitsHalvesToEven) {
  // clang-format off
  const std::pair<Text, double> values[] = {
      {u"5", 5}, {u" 1 2\t.5\n", 12.5}, {u"-3e", -3}, {u"1.5D2", 150}, {u".5E+1x", 5}, {u"2.5.1", 2.5},
      {u"\uFF19", 0}, {u"&HFFFF", -1}, {u"&h8000", -32768}, {u"&o777", 511}, {u"&H10000", 65536},
      {u"&HFFFFFFFF", -1}, {u"&HG", 0}, {u"&O2" + Text(21, u'0') + u"1", 0x1p67},
      {u"&H" + Text(60, u'0') + u"7", 7}, {u"&H1" + Text(17, u'0'), 0x1p68}, {u"&H1" + Text(300, u'0'), INFINITY}};
  // clang-format on
  for (const auto& [text, value] : values) EXPECT_EQ(numericValue(text), value) << toUtf8(text);
  const std::pair<double, std::optional<std::int16_t>> rounded[] = {
      {8.5, 8},      {9.5, 10},       {-2.5, -2}, {-32768.5, -32768}, {32767.49, 32767},
      {32767.5, {}}, {-32768.51, {}}, {NAN, {}},  {INFINITY, {}}};
  for (const auto& [value, whole] : rounded) EXPECT_EQ(roundToInt16(value), whole) << value;
}

/// A character or two through iconv; nothing when it refuses.
std::optional<std::string> iconvAll(const char* to, const char* from, std::string in) {
  char out[16], *src = in.data(), *dst = out;
  std::size_t srcLeft = in.size(), dstLeft = sizeof out;
  const iconv_t cd = iconv_open(to, from);
  const bool ok = iconv(cd, &src, &srcLeft, &dst, &dstLeft) != static_cast<std::size_t>(-1);
  iconv_close(cd);
  return ok ? std::optional<std::string>(std::string(out, dst)) : std::nullopt;
}

TEST(ShiftJisTables, EncodeEveryUtf16UnitAndDecodeEveryByteAndBytePairExactlyAsTheSystemConverter) {
  int encoded = 0, decoded = 0;
  for (char16_t c = 1; c != 0; ++c) {
    const EncodeResult got = encodeCp932(TextView(&c, 1));
    const std::string utf16{static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    ASSERT_EQ(got.ok ? std::optional(got.bytes) : std::nullopt, iconvAll("CP932", "UTF-16LE", utf16))
        << std::hex << static_cast<int>(c);
    encoded += got.ok;
  }
  for (int pair = 0x100; pair < 0x10000; ++pair) {  // the first byte, then the second or none (0)
    std::string bytes{static_cast<char>(pair >> 8), static_cast<char>(pair & 0xFF)};
    if (bytes[1] == 0) bytes.pop_back();
    const DecodeResult got = decodeText(bytes);
    // UTF-8 and control characters are refused before the code page is consulted; a final 0x1A dropped.
    if (got.encoding != Encoding::CodePage932 || got.control || bytes.back() == '\x1a') continue;
    ASSERT_EQ(got.ok ? std::optional(toUtf8(got.text)) : std::nullopt, iconvAll("UTF-8", "CP932", bytes))
        << std::hex << pair;
    decoded += got.ok;
  }
  EXPECT_TRUE(encoded > 9000 && decoded > 30000) << encoded << " " << decoded;
}

}  // namespace
}  // namespace orv
