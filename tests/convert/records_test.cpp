#include "convert/Records.h"

#include <tuple>

#include "common/TextTest.h"
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
