#include "convert/Records.h"

#include <tuple>

#include "common/TextTest.h"
#include "convert/HeaderRow.h"
#include "convert/XmlName.h"

namespace orv {
namespace {

using Kind = RecordProblem::Kind;
using enum Kind;

/// One record of the body as the writer lays it out.
Text record(const Text& fields, const Text& before = u"", const Text& after = u"\r\n") {
  return before + u"<mivoxml>\r\n" + fields + u"\r\n</mivoxml>\r\n" + after;
}

// fuzz/record_writer.cpp reads back values of any text, quoted, with blanks around and CR LF or LF;
// these are the forms it does not build.
TEST(Records, EveryFieldIsReadAsAValueWhateverItsQuoting) {
  // clang-format off
  const std::tuple<const char*, std::vector<Text>, Text, Text> rows[] = {
      {"an unquoted value is taken as it stands, blanks and quotes included", {u"a", u"b", u"c"},
       u"\"a\", x\"y ,\"b\"\r\n", record(u"<a>a</a><b> x\"y </b><c>b</c>")},
      {"an empty unquoted value between commas", {u"a", u"b", u"c"}, u"\"a\",,<c>\r\n",
       record(u"<a>a</a><b></b><c>&lt;c&gt;</c>")},
      {"blanks around quoted fields stay outside the values", {u"p", u"q"}, u" \"a\" ,\u3000\"b\"\t\r\n",
       record(u"<p>a</p> \u3000<q>b</q>", u" ", u"\t\r\n")},
      {"blank lines are no records and stay", {u"n"}, u"\"a\"\r\n\r\n  \n\"b\"",
       record(u"<n>a</n>") + u"\r\n  \n" + record(u"<n>b</n>", u"", u"")},
      {"a lone CR ends a record", {u"n"}, u"\"a\"\r\"b\"",
       record(u"<n>a</n>", u"", u"\r") + record(u"<n>b</n>", u"", u"")},
      {"what Shift_JIS cannot hold becomes a reference", {u"氏名", u"メモ"},
       u"\"\U00020BB7田\",café\U0001F600\r\n", record(u"<氏名>&#x20BB7;田</氏名><メモ>caf&#xE9;&#x1F600;</メモ>")},
      {"an empty text has no record", {u"n"}, u"", u""},
  };
  // clang-format on
  for (const auto& [what, names, in, body] : rows) {
    const RecordCheck check = checkRecords(in, names.size());
    EXPECT_TRUE(check.ok()) << what;
    EXPECT_TEXT_EQ(writeDocumentBody(in, names, check), body) << what;
  }
  // Tab-separated, as "Unicode text" is written: a tab separates fields, a comma belongs to a value.
  const Text tabbed = u"\"a,1\"\t \"b\"\"c\" \tz\r\nx,y\t\t\r\n";
  ASSERT_EQ(separatorOf(tabbed), u'\t');
  const RecordCheck check = checkRecords(tabbed, 3, u'\t');
  EXPECT_TRUE(check.ok());
  EXPECT_TEXT_EQ(writeDocumentBody(tabbed, {u"p", u"q", u"r"}, check, u'\t'),
                 record(u"<p>a,1</p> <q>b\"c</q> <r>z</r>") + record(u"<p>x,y</p><q></q><r></r>"));
}

// A first record of column titles is told from the records below it; a list whose rows are alike is not.
TEST(HeaderRow, IsTheFirstRecordOnlyWhereItsTitlesDifferInKindFromTheValuesBelow) {
  const std::pair<const char*, Text> headers[] = {
      {"titles above numbers", u"社員番号,氏名,内線\r\n1001,山田 太郎,1234\r\n1002,佐藤 花子,2345\r\n"},
      {"names above values with blanks", u"氏名,住所\r\n山田 太郎,東京都 港区\r\n"},
      {"titles above dates and postal codes", u"\"入社日\",\"郵便番号\"\r\n\"2024/04/01\",\"105-0011\"\r\n"}};
  const std::pair<const char*, Text> records[] = {
      {"rows alike", u"a,b,c\r\nd,e,f\r\n"},
      {"numbers above numbers", u"1,2\r\n3,4\r\n"},
      {"an empty title", u"氏名,\r\n山田 太郎,1\r\n"},
      {"a title twice", u"氏名,氏名\r\n山田 太郎,佐藤 花子\r\n"},
      {"no record below", u"社員番号,氏名\r\n"},
      {"an address book",
       u"\"ｱｵｷ ﾊﾙｶ\",\"青木 春香\",\"000-0000-0001\"\r\n\"ｲｼﾀﾞ ｿｳﾀ\",\"石田 蒼太\",\"000-0000-0002\"\r\n"}};
  for (const auto& [what, text] : headers)
    EXPECT_TRUE(looksLikeHeader(leadingValues(text, kHeaderSample).records)) << what;
  for (const auto& [what, text] : records)
    EXPECT_FALSE(looksLikeHeader(leadingValues(text, kHeaderSample).records)) << what;
  const std::pair<Text, Text> names[] = {{u"社員番号", u"社員番号"},
                                         {u"1月", u"_1月"},
                                         {u"氏名 (漢字)", u"氏名__漢字_"},
                                         {u"e-mail", u"e-mail"},
                                         {u"-x", u"_-x"},
                                         {u"a:b", u"a_b"},
                                         {u"", u"_"}};
  for (const auto& [title, name] : names) EXPECT_TEXT_EQ(xmlNameFrom(title), name);
}

TEST(Records, RecordsThatCannotBeWrittenAreFoundWithTheirLinesAndFieldCounts) {
  Text many;
  for (int i = 0; i < 9; ++i) many += u"\"a\",\"b\"\r\n\"c\"\r\n";
  // clang-format off
  const std::tuple<const char*, std::size_t, Text, std::int64_t, std::vector<RecordProblem>> rows[] = {
      {"more and fewer fields than the writer's", 2, u"\"a\",\"b\"\r\n\"c\",\"d\",\"e\"\r\n\r\n\"f\"\r\n", 2,
       {{FieldCount, 2, 3}, {FieldCount, 4, 1}}},
      {"a trailing comma is one more field", 1, u"\"a\",\r\n", 1, {{FieldCount, 1, 2}}},
      {"text glued to a closing quote", 2, u"\"a\",\"5\" disk\"\r\n", 1, {{TextAfterQuote, 1, 2}}},
      {"two values with only a blank between", 2, u"\"a\" \"b\"\r\n", 1, {{TextAfterQuote, 1, 1}}},
      {"a quote that never closes takes the rest", 2, u"\"a\",\"b\r\nc,d\r\n", 1, {{UnclosedQuote, 1, 2}}},
      {"a record counts from its first line", 1, u"\"a\r\nb\"\r\n\"c\",\"d\"", 1, {{FieldCount, 3, 2}}},
      {"only the first five are kept, all are counted", 2, many, 9,
       {{FieldCount, 2, 1}, {FieldCount, 4, 1}, {FieldCount, 6, 1}, {FieldCount, 8, 1}, {FieldCount, 10, 1}}},
  };
  // clang-format on
  const auto listed = [](const std::vector<RecordProblem>& problems) {
    std::vector<std::tuple<Kind, std::int64_t, std::int64_t>> out;
    for (const RecordProblem& p : problems) out.emplace_back(p.kind, p.line, p.fields);
    return out;
  };
  for (const auto& [what, fields, in, count, first] : rows) {
    const RecordCheck check = checkRecords(in, fields);
    EXPECT_EQ(check.problemCount, count) << what;
    EXPECT_EQ(listed(check.problems), listed(first)) << what;
  }
}

// A name the document cannot carry must be refused before the conversion writes it as a tag.
TEST(XmlName, AcceptsNamesByTheNameCharacterRangesAndRefusesWhatWouldBreakATag) {
  // clang-format off
  const Text valid[] = {u"_x", u"住所1", u"ﾌﾘｶﾞﾅ", u"x-1.2", u"名前·", u"ー", u"要素１", u"xml", u"a\u0301",
      u"\u037D", u"a\u203F", u"\u200C", u"é", u"\U00020BB7", u"a\U00020BB7b", u"\U000EFFFF"};
  const Text invalid[] = {
      u"", u"a b", u"住\u3000所", u"a\tb", u"1a", u"-a", u".a", u"·a", u"\u0301a", u"\u203F", u"a\"b", u"a<b",
      u"a&b", u"a>b", u"a'b", u"a=b", u"a/b", u"a,b", u"a:b", u"a×", u"÷", u"a\u037E", u"a\u2000", u"\uFFFE",
      u"a\uFFFF", u"\U000F0000", Text(1, char16_t{0xD800}), Text(u"a") + char16_t{0xDC00},
      Text{char16_t{0xDC00}, char16_t{0xD800}}};
  // clang-format on
  for (const Text& name : valid) EXPECT_TRUE(isXmlName(name)) << toUtf8(name);
  for (const Text& name : invalid) EXPECT_FALSE(isXmlName(name)) << toUtf8(name);
}

}  // namespace
}  // namespace orv
