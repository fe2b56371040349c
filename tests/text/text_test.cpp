#include "common/TextTest.h"
#include "text/Markup.h"
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

TEST(ShiftJis, WritesATwinCharacterInItsPreferredCodeAndNamesWhatItCannotWrite) {
  // NEC row 13's "≒", the NEC selection's and IBM's "ⅰ": the same characters as 0x81E0 and 0xFA40.
  EXPECT_EQ(encodeCp932(u"\u2252\u2170住所\uFF5E\\ｱ").bytes,
            "\x81\xe0\xfa\x40\x8f\x5a\x8f\x8a\x81\x60\\\xb1");
  const EncodeResult e = encodeCp932(u"ab\U0001F600");
  EXPECT_FALSE(e.ok);
  EXPECT_EQ(e.errorIndex, 2);
  EXPECT_EQ(e.errorChar, U'\U0001F600');
}

TEST(JoinPath, OneSeparatorBetweenFolderAndName) {
  EXPECT_TEXT_EQ(joinPath(u"/home/a", u"b.txt"), u"/home/a/b.txt");
  EXPECT_TEXT_EQ(joinPath(u"/home/a/", u"b.txt"), u"/home/a/b.txt");
  EXPECT_TEXT_EQ(joinPath(u"/", u"b.txt"), u"/b.txt");
}

TEST(Markup, EachVariantEscapesItsOwnCharactersAndNothingElse) {
  const MarkupEscapes path{.quote = true, .bracket = true, .outsideCp932 = true};
  struct Row {
    const char* name;
    TextView in;
    MarkupEscapes escapes;
    TextView out;
  } rows[] = {
      {"element text", u"a&<>\"[é", {}, u"a&amp;&lt;&gt;\"[é"},
      {"attribute", u"\"[", {.quote = true}, u"&quot;["},
      {"page path", u"C:\\[xmldata]\"é住", path, u"C:\\&#91;xmldata]&quot;&#xE9;住"},
      {"pair as one reference", u"a\U0001F600b", path, u"a&#x1F600;b"},
      {"half a pair", u"\xD800x", path, u"&#xD800;x"},
  };
  for (const Row& r : rows) EXPECT_TEXT_EQ(escapeMarkup(r.in, r.escapes), r.out) << r.name;
  EXPECT_EQ(escapeGrowth(u"a&<>\""), 10u);
}

}  // namespace
}  // namespace orv
