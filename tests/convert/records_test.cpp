#include "convert/Records.h"

#include "common/TextTest.h"
#include "convert/LiteralWriter.h"
#include "convert/RandomRecords.h"

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
  const Row rows[] = {
      {"two records of three fields",
       {u"code", u"title", u"price"},
       u"\"A1\",\"Pen\",\"120\"\r\n\"B2\",\"Ink\",\"300\"\r\n",
       record(u"<code>A1</code><title>Pen</title><price>120</price>") +
           record(u"<code>B2</code><title>Ink</title><price>300</price>")},
      {"a doubled quote is one quote of the value",
       {u"a", u"b"},
       u"\"5\"\" disk\",\"\"\"\"\r\n",
       record(u"<a>5\" disk</a><b>\"</b>")},
      {"an unquoted value is taken as it stands",
       {u"a", u"b", u"c"},
       u"\"a\",12,\"b\"\r\n",
       record(u"<a>a</a><b>12</b><c>b</c>")},
      {"an unquoted value keeps its blanks and quotes",
       {u"a", u"b"},
       u" x\"y ,\"z\"\r\n",
       record(u"<a> x\"y </a><b>z</b>")},
      {"an empty unquoted value between commas",
       {u"a", u"b", u"c"},
       u"\"a\",,\"c\"\r\n",
       record(u"<a>a</a><b></b><c>c</c>")},
      {"commas and line breaks inside quotes belong to the value",
       {u"a", u"b"},
       u"\"1,000\",\"東京都\r\n港区\"\r\n",
       record(u"<a>1,000</a><b>東京都\r\n港区</b>")},
      {"blanks around quoted fields stay outside the values",
       {u"p", u"q"},
       u" \"a\" ,\u3000\"b\"\t\r\n",
       record(u"<p>a</p> \u3000<q>b</q>", u" ", u"\t\r\n")},
      {"blank lines are no records and stay",
       {u"n"},
       u"\"a\"\r\n\r\n  \n\"b\"",
       record(u"<n>a</n>") + u"\r\n  \n" + record(u"<n>b</n>", u"", u"")},
      {"lone LF and lone CR end records",
       {u"n"},
       u"\"a\"\n\"b\"\r\"c\"\r\n",
       record(u"<n>a</n>", u"", u"\n") + record(u"<n>b</n>", u"", u"\r") + record(u"<n>c</n>")},
      {"markup in values is escaped",
       {u"社名", u"額"},
       u"\"A&B\",<1>\r\n",
       record(u"<社名>A&amp;B</社名><額>&lt;1&gt;</額>")},
      {"a record tag in a value is only text",
       {u"n"},
       u"\"<mivoxml>\"\r\n",
       record(u"<n>&lt;mivoxml&gt;</n>")},
      {"what Shift_JIS cannot hold becomes a reference",
       {u"氏名", u"メモ"},
       u"\"\U00020BB7田\",café\U0001F600\r\n",
       record(u"<氏名>&#x20BB7;田</氏名><メモ>caf&#xE9;&#x1F600;</メモ>")},
      {"an empty text has no record", {u"n"}, u"", u""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const RecordCheck check = checkRecords(row.in, row.names.size());
    ASSERT_TRUE(check.ok()) << check.problems.size();
    EXPECT_TEXT_EQ(writeDocumentBody(row.in, row.names, check), row.body);
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
  const Row rows[] = {
      {"more and fewer fields than the writer's",
       2,
       u"\"a\",\"b\"\r\n\"c\",\"d\",\"e\"\r\n\r\n\"f\"\r\n",
       2,
       {{Kind::FieldCount, 2, 3}, {Kind::FieldCount, 4, 1}}},
      {"a trailing comma is one more field", 1, u"\"a\",\r\n", 1, {{Kind::FieldCount, 1, 2}}},
      {"text glued to a closing quote", 2, u"\"a\",\"5\" disk\"\r\n", 1, {{Kind::TextAfterQuote, 1, 2}}},
      {"two values with only a blank between", 2, u"\"a\" \"b\"\r\n", 1, {{Kind::TextAfterQuote, 1, 1}}},
      {"a quote that never closes takes the rest of the text",
       2,
       u"\"a\",\"b\r\nc,d\r\n",
       1,
       {{Kind::UnclosedQuote, 1, 2}}},
      {"a record counts from the line it starts on",
       1,
       u"\"a\r\nb\"\r\n\"c\",\"d\"",
       1,
       {{Kind::FieldCount, 3, 2}}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const RecordCheck check = checkRecords(row.in, row.fields);
    EXPECT_EQ(check.problemCount, row.count);
    ASSERT_EQ(check.problems.size(), row.first.size());
    for (std::size_t i = 0; i < row.first.size(); ++i) {
      EXPECT_EQ(check.problems[i].kind, row.first[i].kind) << i;
      EXPECT_EQ(check.problems[i].line, row.first[i].line) << i;
      EXPECT_EQ(check.problems[i].fields, row.first[i].fields) << i;
    }
  }
  // Only the first few are kept, but all are counted.
  Text many;
  for (int i = 0; i < 9; ++i) many += u"\"a\",\"b\"\r\n\"c\"\r\n";
  const RecordCheck check = checkRecords(many, 2);
  EXPECT_EQ(check.problemCount, 9);
  ASSERT_EQ(check.problems.size(), RecordCheck::kShownProblems);
  EXPECT_EQ(check.problems.back().line, 10);
}

TEST(Records, CompleteQuotedRecordsGiveTheLiteralStepsDocumentByteForByte) {
  random::Engine engine(20240611);
  for (int run = 0; run < 3000; ++run) {
    const int k = random::uniform(engine, 1, 9);
    const std::vector<Text> names = random::elementNames(engine, k);
    const Text text = random::completeRecords(engine, k, 12);
    const RecordCheck check = checkRecords(text, names.size());
    ASSERT_TRUE(check.ok()) << "run " << run << " input " << toUtf8(text);
    const literal::Outcome reference = literal::writeRecords(literal::prepare(text), names);
    ASSERT_FALSE(reference.stalled) << "run " << run;
    ASSERT_EQ(check.records, reference.records) << "run " << run;
    ASSERT_TEXT_EQ(writeDocumentBody(text, names, check), literal::documentBody(text, names))
        << "run " << run << " k " << k << " input " << toUtf8(text);
  }
}

}  // namespace
}  // namespace orv
