// The Shift_JIS codec, also against the system converter over every character and byte pair (which
// pins the code page's preferred code of a character with two), and base64. Markup escaping is checked
// by the record_writer and search_page fuzz targets.
#include <iconv.h>

#include <cstring>

#include "common/TextTest.h"
#include "text/Base64.h"
#include "text/ShiftJis.h"

namespace orv {
namespace {

// Each row a fact of the code page or a fault once seen: 0x5C is "\" and 0x81 0x60 is U+FF5E in code
// page 932, not the yen sign and U+301C of plain Shift_JIS; UTF-8 text that happens to be valid code
// page 932 is refused, but half-width katakana and invalid UTF-8 (overlong, surrogate, too high) are not
// UTF-8; control characters XML 1.0 cannot carry are refused, except one 0x1A ending the file.
TEST(ShiftJis, ReadsCodePage932OrUtf8AndRefusesWhatADocumentCannotCarryNamingTheLine) {
  struct Row {
    const char* what;
    std::string bytes;
    Text text;  ///< what is read; empty when refused
    std::int64_t line = 0;
    bool utf8 = false, control = false, binary = false;
  };
  const Row rows[] = {
      {"code page 932, not plain Shift_JIS", "\x5c\x81\x60\x87\x40\xb1", u"\\\uFF5E\u2460\uFF71"},
      {"tab, LF, CR and DEL are text", "a\tb\nc\r\n\x7f", u"a\tb\nc\r\n\x7f"},
      {"half-width katakana that looks like UTF-8", "\"\xc3\xbd\"\r\n", u"\"ﾃｽ\"\r\n"},
      {"overlong E0 80 is code page 932", "\xe0\x80\x81\x40", u"烙　"},
      {"surrogate ED A0 is code page 932", "\xed\xa0\x81\x40", u"恝　"},
      {"F4 90, above U+10FFFF, is code page 932", "\xf4\x90\x81\x40", u"\uE33F　"},
      {"one 0x1A as the very last byte is dropped", "\"a\"\r\n\x1a", u"\"a\"\r\n"},
      {"UTF-8 text", "ok\r\n\xe6\x9d\xb1\xe4\xba\xac\xf0\xa0\xae\xb7", u"ok\r\n東京\U00020BB7", 0, true},
      {"UTF-8 with its mark, two-byte characters only",
       "\xef\xbb\xbf"
       "caf\xc3\xa9",
       u"café", 0, true},
      {"UTF-8 with a control character", "\xe6\x9d\xb1\r\n\x0b", u"", 2, true, true},
      {"bytes the code page lacks", "ok\r\nline2\r\n\x87\x40\xa0\x81", u"", 3},
      {"a cut lead byte", "\x82", u"", 1},
      {"a NUL byte", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), u"", 2, false, false, true},
      {"a vertical tab on line 3", "1\r\n2\n\r\"a\x0b\"", u"", 3, false, true},
      {"0x1A anywhere else", "a\x1a\r\n", u"", 1, false, true},
      {"of two 0x1A at the end the first", "a\x1a\x1a", u"", 1, false, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const DecodeResult d = decodeText(row.bytes);
    EXPECT_EQ(d.ok, !row.text.empty());
    EXPECT_TEXT_EQ(d.text, row.text);
    EXPECT_EQ(d.errorLine, row.line);
    EXPECT_EQ(d.utf8, row.utf8);
    EXPECT_EQ(d.control, row.control);
    EXPECT_EQ(d.binary, row.binary);
  }
  EXPECT_TRUE(decodeText("a\x1a", false).control) << "a 0x1A before the end of a longer file";
}

TEST(Base64, EncodesEveryPaddingCase) {
  const char* rows[][2] = {{"", ""},        {"f", "Zg=="},        {"fo", "Zm8="},
                           {"foo", "Zm9v"}, {"foob", "Zm9vYg=="}, {"\xff\xfe\x00", "//4A"}};
  for (const auto& [in, out] : rows)
    EXPECT_EQ(base64(std::string_view(in, in[0] == '\xff' ? 3 : std::strlen(in))), out);
}

// Whole-text conversion by iconv; empty optional when it refuses.
std::optional<std::string> iconvAll(const char* to, const char* from, std::string in) {
  iconv_t cd = iconv_open(to, from);
  std::string out(in.size() * 4 + 8, '\0');
  char *src = in.data(), *dst = out.data();
  std::size_t srcLeft = in.size(), dstLeft = out.size();
  const bool ok = iconv(cd, &src, &srcLeft, &dst, &dstLeft) != static_cast<std::size_t>(-1);
  iconv_close(cd);
  out.resize(out.size() - dstLeft);
  return ok ? std::optional(out) : std::nullopt;
}

TEST(ShiftJisTables, EncodeEveryUtf16UnitExactlyAsTheSystemConverter) {
  int encodable = 0;
  for (int unit = 1; unit < 0x10000; ++unit) {
    const char16_t c = static_cast<char16_t>(unit);
    const auto expected =
        iconvAll("CP932", "UTF-16LE", {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)});
    const EncodeResult got = encodeCp932(TextView(&c, 1));
    ASSERT_EQ(got.ok, expected.has_value()) << std::hex << unit;
    if (expected) {
      ASSERT_EQ(got.bytes, *expected) << std::hex << unit;
      ++encodable;
    }
  }
  EXPECT_GT(encodable, 7000);
}

TEST(ShiftJisTables, DecodeEveryByteAndBytePairExactlyAsTheSystemConverter) {
  int readable = 0;
  for (int first = 1; first < 256; ++first) {
    for (int second = -1; second < 256; ++second) {
      std::string bytes(1, static_cast<char>(first));
      if (second >= 1) bytes += static_cast<char>(second);
      if (second == 0) continue;
      const auto expected = iconvAll("UTF-16LE", "CP932", bytes);
      const DecodeResult got = decodeText(bytes);
      // Valid UTF-8 and control characters XML cannot carry are refused before the code page is
      // consulted; a final 0x1A is dropped.
      if (got.utf8 || got.control || bytes.back() == '\x1a') continue;
      ASSERT_EQ(got.ok, expected.has_value()) << std::hex << first << " " << second;
      if (!expected) continue;
      ASSERT_EQ(got.text, Text(reinterpret_cast<const char16_t*>(expected->data()), expected->size() / 2))
          << std::hex << first << " " << second;
      ++readable;
    }
  }
  EXPECT_GT(readable, 8000);
}

}  // namespace
}  // namespace orv
