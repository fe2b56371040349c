#include "convert/Records.h"

#include <tuple>

#include "common/TextTest.h"
#include "convert/XmlName.h"

namespace orv {
namespace {

using Kind = RecordProblem::Kind;

/// One record of the body as the writer lays it out.
Text record(const Text& fields, const Text& before = u"", const Text& after = u"\r\n") {
  return before + u"<mivoxml>\r\n" + fields + u"\r\n</mivoxml>\r\n" + after;
}

TEST(Records, EveryFieldIsReadAsAValueWhateverItsQuoting) {
  struct Row {
    const char* name;
    std::vector<Text> names;
    Text in;
    Text body;
  };
  // Values built from arbitrary text, quoted, with blanks around and CR LF or LF, are read back by
  // fuzz/record_writer.cpp; these are the forms it does not build.
  // clang-format off
  const Row rows[] = {
      {"an unquoted value is taken as it stands, blanks and quotes included", {u"a", u"b", u"c"},
       u"\"a\", x\"y ,\"b\"\r\n", record(u"<a>a</a><b> x\"y </b><c>b</c>")},
      {"an empty unquoted value between commas", {u"a", u"b", u"c"}, u"\"a\",,<c>\r\n",
       record(u"<a>a</a><b></b><c>&lt;c&gt;</c>")},
      {"blanks around quoted fields stay outside the values", {u"p", u"q"}, u" \"a\" ,\u3000\"b\"\t\r\n",
       record(u"<p>a</p> \u3000<q>b</q>", u" ", u"\t\r\n")},
      {"blank lines are no records and stay", {u"n"}, u"\"a\"\r\n\r\n  \n\"b\"",
       record(u"<n>a</n>") + u"\r\n  \n" + record(u"<n>b</n>", u"", u"")},
      {"a lone CR ends a record", {u"n"}, u"\"a\"\r\"b\"", record(u"<n>a</n>", u"", u"\r") + record(u"<n>b</n>", u"", u"")},
      {"what Shift_JIS cannot hold becomes a reference", {u"氏名", u"メモ"},
       u"\"\U00020BB7田\",café\U0001F600\r\n", record(u"<氏名>&#x20BB7;田</氏名><メモ>caf&#xE9;&#x1F600;</メモ>")},
      {"an empty text has no record", {u"n"}, u"", u""},
  };
  // clang-format on

  for (const Row& row : rows) {
    const RecordCheck check = checkRecords(row.in, row.names.size());
    EXPECT_TRUE(check.ok()) << row.name;
    EXPECT_TEXT_EQ(writeDocumentBody(row.in, row.names, check), row.body) << row.name;
  }
}

TEST(Records, RecordsThatCannotBeWrittenAreFoundWithTheirLinesAndFieldCounts) {
  struct Row {
    const char* name;
    std::size_t fields;
    Text in;
    std::int64_t count;
    std::vector<RecordProblem> first;
  };
  // clang-format off
  const Row rows[] = {
      {"more and fewer fields than the writer's", 2, u"\"a\",\"b\"\r\n\"c\",\"d\",\"e\"\r\n\r\n\"f\"\r\n", 2,
       {{Kind::FieldCount, 2, 3}, {Kind::FieldCount, 4, 1}}},
      {"a trailing comma is one more field", 1, u"\"a\",\r\n", 1, {{Kind::FieldCount, 1, 2}}},
      {"text glued to a closing quote", 2, u"\"a\",\"5\" disk\"\r\n", 1, {{Kind::TextAfterQuote, 1, 2}}},
      {"two values with only a blank between", 2, u"\"a\" \"b\"\r\n", 1, {{Kind::TextAfterQuote, 1, 1}}},
      {"a quote that never closes takes the rest", 2, u"\"a\",\"b\r\nc,d\r\n", 1, {{Kind::UnclosedQuote, 1, 2}}},
      {"a record counts from the line it starts on", 1, u"\"a\r\nb\"\r\n\"c\",\"d\"", 1, {{Kind::FieldCount, 3, 2}}},
  };
  // clang-format on

  const auto listed = [](const std::vector<RecordProblem>& problems) {
    std::vector<std::tuple<Kind, std::int64_t, std::int64_t>> out;
    for (const RecordProblem& p : problems) out.emplace_back(p.kind, p.line, p.fields);
    return out;
  };
  for (const Row& row : rows) {
    const RecordCheck check = checkRecords(row.in, row.fields);
    EXPECT_EQ(check.problemCount, row.count) << row.name;
    EXPECT_EQ(listed(check.problems), listed(row.first)) << row.name;
  }
  // Only the first few are kept, but all are counted.
  Text many;
  for (int i = 0; i < 9; ++i) many += u"\"a\",\"b\"\r\n\"c\"\r\n";
  const RecordCheck check = checkRecords(many, 2);
  EXPECT_EQ(check.problemCount, 9);
  ASSERT_EQ(check.problems.size(), RecordCheck::kShownProblems);
  EXPECT_EQ(check.problems.back().line, 10);
}

// A name the document cannot carry must be refused before the conversion writes it as a tag.
TEST(XmlName, AcceptsNamesByTheNameCharacterRangesAndRefusesWhatWouldBreakATag) {
  // clang-format off
  const Text valid[] = {u"_x", u"住所1", u"ﾌﾘｶﾞﾅ", u"x-1.2", u"名前·", u"ー", u"要素１", u"xml", u"a\u0301", u"\u037D",
                        u"a\u203F", u"\u200C", u"é", u"\U00020BB7", u"a\U00020BB7b", u"\U000EFFFF"};
  const Text invalid[] = {u"", u"a b", u"住\u3000所", u"a\tb", u"1a", u"-a", u".a", u"·a", u"\u0301a", u"\u203F",
                          u"a\"b", u"a<b", u"a&b", u"a>b", u"a'b", u"a=b", u"a/b", u"a,b", u"a:b", u"a×", u"÷",
                          u"a\u037E", u"a\u2000", u"\uFFFE", u"a\uFFFF", u"\U000F0000", Text(1, char16_t{0xD800}),
                          Text(u"a") + char16_t{0xDC00}, Text{char16_t{0xDC00}, char16_t{0xD800}}};
  // clang-format on
  for (const Text& name : valid) EXPECT_TRUE(isXmlName(name)) << toUtf8(name);
  for (const Text& name : invalid) EXPECT_FALSE(isXmlName(name)) << toUtf8(name);
}

}  // namespace
}  // namespace orv
