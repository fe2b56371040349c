#include "common/TextTest.h"

#include "text/Lines.h"
#include "text/Markup.h"
#include "text/ShiftJis.h"

namespace orv {
namespace {

TEST(ReplaceAll, ScansLeftToRightWithoutOverlapAndDoesNotRescanInsertedText) {
  EXPECT_TEXT_EQ(replaceAll(u"aaaa", u"aa", u"b"), u"bb");
  EXPECT_TEXT_EQ(replaceAll(u"aaa", u"aa", u"b"), u"ba");
  EXPECT_TEXT_EQ(replaceAll(u"[x][x]", u"[x]", u"[x][x]"), u"[x][x][x][x]");
  EXPECT_TEXT_EQ(replaceAll(u"abc", u"", u"z"), u"abc");
  EXPECT_TEXT_EQ(replaceAll(u"", u"a", u"z"), u"");
  EXPECT_TEXT_EQ(replaceAll(u"a.txt.txt", u".txt", u".xml"), u"a.xml.xml");
}

TEST(ReplaceAll, InPlaceCountsReplacements) {
  Text t = u"x,y,,z";
  EXPECT_EQ(replaceAllInPlace(t, u",", u""), 3u);
  EXPECT_TEXT_EQ(t, u"xyz");
}

TEST(Utf8, RoundTripsJapaneseAndSurrogatePairs) {
  Text t = u"住所録ｱｲｳ\U0001F600";
  EXPECT_TEXT_EQ(fromUtf8(toUtf8(t)), t);
  EXPECT_TEXT_EQ(fromUtf8("\xff"), u"\uFFFD");
  EXPECT_EQ(toUtf8(u"\xDC00"), "\xEF\xBF\xBD") << "half a pair";
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

TEST(LineRule, CrOrCrLfEndsALineLfAloneStaysAndEmptyTextHasNoLine) {
  struct Row {
    const char16_t* name;
    Text in;
    Text out;
    std::int64_t count;
  };
  const Row rows[] = {
      {u"empty", u"", u"", 0},
      {u"one line without end", u"a", u"a\r\n", 1},
      {u"crlf lines", u"a\r\nb\r\n", u"a\r\nb\r\n", 2},
      {u"cr alone ends a line", u"a\rb", u"a\r\nb\r\n", 2},
      {u"lf alone stays", u"a\nb\r\n", u"a\nb\r\n", 1},
      {u"empty lines count", u"\r\n\r\n", u"\r\n\r\n", 2},
      {u"lone cr at end", u"a\r", u"a\r\n", 1},
      {u"cr cr lf", u"a\r\r\n", u"a\r\n\r\n", 2},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(toUtf8(row.name));
    auto r = linesWithCrLf(Text(row.in));
    EXPECT_TEXT_EQ(r.text, row.out);
    EXPECT_EQ(r.count, row.count);
  }
  EXPECT_TEXT_EQ(firstLineOf(u"ab\ncd\r\nef"), u"ab\ncd");
}

TEST(ShiftJis, UsesCodePage932NotPlainShiftJis) {
  auto d = decodeCp932("\x5c\x81\x60\x87\x40\xb1");
  ASSERT_TRUE(d.ok);
  EXPECT_TEXT_EQ(d.text, u"\\\uFF5E\u2460\uFF71");
  auto e = encodeCp932(u"住所\uFF5E\\ｱ");
  ASSERT_TRUE(e.ok);
  EXPECT_TEXT_EQ(decodeCp932(e.bytes).text, u"住所\uFF5E\\ｱ");
}

TEST(ShiftJis, ACharacterWithTwoCodesIsWrittenInItsPreferredCode) {
  // NEC row 13's "≒", the NEC selection's and IBM's "ⅰ": the same characters as 0x81E0 and 0xFA40.
  // A loaded file keeps every character; a saved one uses the preferred code for these twins.
  auto d = decodeCp932("\x87\x90\xee\xef\xfa\x40");
  ASSERT_TRUE(d.ok);
  EXPECT_TEXT_EQ(d.text, u"\u2252\u2170\u2170");
  auto e = encodeCp932(d.text);
  ASSERT_TRUE(e.ok);
  EXPECT_EQ(e.bytes, "\x81\xe0\xfa\x40\xfa\x40");
}

TEST(ShiftJis, RefusesBytesItCannotReadAndNamesLineAndBytes) {
  auto d = decodeCp932("ok\r\nline2\r\n\x87\x40\xa0\x81");
  EXPECT_FALSE(d.ok);
  EXPECT_EQ(d.errorLine, 3);
  EXPECT_EQ(d.errorOffset, 13);
  EXPECT_FALSE(d.utf8);
  auto truncated = decodeCp932("\x82");
  EXPECT_FALSE(truncated.ok);
}

TEST(ShiftJis, RefusesABinaryFileByItsNulByte) {
  auto d = decodeCp932(std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
  EXPECT_FALSE(d.ok);
  EXPECT_TRUE(d.binary);
  EXPECT_EQ(d.errorOffset, 8);
  EXPECT_EQ(d.errorLine, 2);
}

TEST(ShiftJis, RefusesUtf8TextThatWouldOtherwiseDecodeAsGarbage) {
  // UTF-8 for "東京" happens to be valid code page 932 byte for byte.
  auto d = decodeCp932("ok\r\n\xe6\x9d\xb1\xe4\xba\xac");
  EXPECT_FALSE(d.ok);
  EXPECT_TRUE(d.utf8);
  EXPECT_EQ(d.errorLine, 2);
  EXPECT_TRUE(decodeCp932("plain ascii\r\n").ok);
  EXPECT_TRUE(decodeCp932("\x8f\x5a\x8f\x8a").ok);  // 住所 in code page 932
  // Half-width katakana "ﾃｽ" is 0xC3 0xBD, also a valid two-byte UTF-8 sequence: still Shift_JIS.
  auto kana = decodeCp932("\"\xc3\xbd\",\"1\"\r\n");
  ASSERT_TRUE(kana.ok);
  EXPECT_TEXT_EQ(kana.text, u"\"ﾃｽ\",\"1\"\r\n");
}

TEST(ShiftJis, RefusesControlCharactersXmlCannotCarryAndTakesOnlyWellFormedUtf8AsUtf8) {
  struct Row {
    const char* what;
    std::string bytes;
    Text text;  // what is read; empty when refused
    bool control = false;
    std::int64_t line = 0;
  };
  const Row rows[] = {
      {"tab, LF, CR and DEL are text", "a\tb\nc\r\n\x7f", u"a\tb\nc\r\n\x7f"},
      {"a vertical tab on line 3", "1\r\n2\n\r\"a\x0b\"", u"", true, 3},
      {"one 0x1A as the very last byte is dropped", "\"a\"\r\n\x1a", u"\"a\"\r\n"},
      {"0x1A anywhere else", "a\x1a\r\n", u"", true, 1},
      {"of two 0x1A at the end the first is refused", "a\x1a\x1a", u"", true, 1},
      {"overlong E0 80 is code page 932", "\xe0\x80\x81\x40", u"烙　"},
      {"surrogate ED A0 is code page 932", "\xed\xa0\x81\x40", u"恝　"},
      {"F4 90, above U+10FFFF, is code page 932", "\xf4\x90\x81\x40", u"\uE33F　"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const DecodeResult d = decodeCp932(row.bytes);
    EXPECT_EQ(d.ok, !row.text.empty());
    EXPECT_TEXT_EQ(d.text, row.text);
    EXPECT_FALSE(d.utf8);
    EXPECT_EQ(d.control, row.control);
    EXPECT_EQ(d.errorLine, row.line);
  }
  EXPECT_TRUE(decodeCp932("a\x1a", false).control) << "a 0x1A before the end of a longer file";
}

TEST(ShiftJis, RefusesCharactersItCannotWriteAndNamesThem) {
  auto e = encodeCp932(u"ab\U0001F600");
  EXPECT_FALSE(e.ok);
  EXPECT_EQ(e.errorIndex, 2);
  EXPECT_EQ(e.errorChar, U'\U0001F600');
  EXPECT_FALSE(encodeCp932(u"\u00E9").ok);
}

}  // namespace
}  // namespace orv
