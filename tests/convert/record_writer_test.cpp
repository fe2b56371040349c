#include <algorithm>

#include "common/TextTest.h"
#include "convert/LiteralWriter.h"
#include "convert/Prepare.h"
#include "convert/RandomRecords.h"
#include "convert/RecordWriter.h"

namespace orv {
namespace {

Text documentBody(const Text& text) { return breakRecordCloseTags(breakRecordOpenTags(text)); }

TEST(RecordWriter, TwoRecordsOfThreeFieldsGiveTheKnownDocumentBody) {
  const Text prepared = removeCommasOutsideQuotes(u"\"A1\",\"Pen\",\"120\"\r\n\"B2\",\"Ink\",\"300\"\r\n");
  const WriterResult result = writeRecords(prepared, {u"code", u"title", u"price"});
  EXPECT_TEXT_EQ(result.text,
                 u"<mivoxml><code>A1</code><title>Pen</title><price>120</price></mivoxml>\r\n"
                 u"<mivoxml><code>B2</code><title>Ink</title><price>300</price></mivoxml>\r\n");
  EXPECT_EQ(result.records, 2);
  EXPECT_FALSE(result.incomplete);
  EXPECT_TEXT_EQ(documentBody(result.text),
                 u"<mivoxml>\r\n<code>A1</code><title>Pen</title><price>120</price>\r\n</mivoxml>\r\n\r\n"
                 u"<mivoxml>\r\n<code>B2</code><title>Ink</title><price>300</price>\r\n</mivoxml>\r\n\r\n");
}

TEST(RecordWriter, QuotesAreTakenInTextOrderWhateverTheLinesSay) {
  struct Row {
    const char* name;
    std::vector<Text> names;
    Text in;
    Text body;  // after the record loop and both line-break steps
    std::int64_t records;
    bool incomplete;
  };
  const Row rows[] = {
      {"one field carries both record tags",
       {u"title"},
       u"\"Pen\"\r\n",
       u"<mivoxml>\r\n<title>Pen</title>\r\n</mivoxml>\r\n\r\n",
       1,
       false},
      {"an empty value gives an empty element",
       {u"a", u"b"},
       u"\"\"\"x\"\r\n",
       u"<mivoxml>\r\n<a></a><b>x</b>\r\n</mivoxml>\r\n\r\n",
       1,
       false},
      {"a blank between values stays between the elements",
       {u"p", u"q"},
       u"\"a\" \"b\"\r\n",
       u"<mivoxml>\r\n<p>a</p> <q>b</q>\r\n</mivoxml>\r\n\r\n",
       1,
       false},
      {"leading and trailing blanks keep their lines",
       {u"n"},
       u"  \"a\"  \r\n",
       u"  <mivoxml>\r\n<n>a</n>\r\n</mivoxml>\r\n  \r\n",
       1,
       false},
      {"an empty line between records stays",
       {u"n"},
       u"\"a\"\r\n\r\n\"b\"\r\n",
       u"<mivoxml>\r\n<n>a</n>\r\n</mivoxml>\r\n\r\n\r\n<mivoxml>\r\n<n>b</n>\r\n</mivoxml>\r\n\r\n",
       2,
       false},
      {"extra fields open the next record on the same line",
       {u"p", u"q"},
       u"\"a\"\"b\"\"c\"\r\n\"d\"\r\n",
       u"<mivoxml>\r\n<p>a</p><q>b</q>\r\n</mivoxml>\r\n<mivoxml>\r\n<p>c</p>\r\n<q>d</q>\r\n</"
       u"mivoxml>\r\n\r\n",
       2,
       false},
      {"an unquoted field stays as text and shifts the records",
       {u"x", u"y", u"z"},
       u"\"a\"12\"b\"\r\n\"c\"\"d\"\"e\"\r\n",
       u"<mivoxml>\r\n<x>a</x>12<y>b</y>\r\n<z>c</z>\r\n</mivoxml>\r\n\"d\"\"e\"\r\n",
       1,
       true},
      {"a text without quotes is left alone", {u"n"}, u"abc\r\nxyz\n", u"abc\r\nxyz\n", 0, false},
      {"an empty text is left alone", {u"n"}, u"", u"", 0, false},
      {"a lone last quote is not begun as a record",
       {u"n"},
       u"\"a\"\r\n\"b",
       u"<mivoxml>\r\n<n>a</n>\r\n</mivoxml>\r\n\r\n\"b",
       1,
       true},
      {"too few quotes for one record leave the text as it was",
       {u"a", u"b", u"c"},
       u"\"a\"\"b\"\r\n",
       u"\"a\"\"b\"\r\n",
       0,
       true},
      {"no names write nothing", {}, u"\"a\"\r\n", u"\"a\"\r\n", 0, true},
      {"a record tag inside a value gets the same line breaks",
       {u"n"},
       u"\"<mivoxml>\"\r\n",
       u"<mivoxml>\r\n<n><mivoxml>\r\n</n>\r\n</mivoxml>\r\n\r\n",
       1,
       false},
      {"a converted text converted again only gains line breaks",
       {u"n"},
       u"<mivoxml>\r\n<n>a</n>\r\n</mivoxml>\r\n\r\n",
       u"<mivoxml>\r\n\r\n<n>a</n>\r\n\r\n</mivoxml>\r\n\r\n\r\n",
       0,
       false},
      {"a quote inside a name is not taken as a field",
       {u"a\"b"},
       u"\"x\"\"y\"",
       u"<mivoxml>\r\n<a\"b>x</a\"b>\r\n</mivoxml>\r\n<mivoxml>\r\n<a\"b>y</a\"b>\r\n</mivoxml>\r\n",
       2,
       false},
      {"nine fields take eighteen quotes",
       {u"要素1", u"要素2", u"要素3", u"要素4", u"要素5", u"要素6", u"要素7", u"要素8", u"ﾌﾘｶﾞﾅ"},
       u"\"1\"\"2\"\"3\"\"4\"\"5\"\"6\"\"7\"\"8\"\"ｱｲｳ\"\r\n\"x\"",
       u"<mivoxml>\r\n<要素1>1</要素1><要素2>2</要素2><要素3>3</要素3><要素4>4</要素4><要素5>5</要素5>"
       u"<要素6>6</要素6><要素7>7</要素7><要素8>8</要素8><ﾌﾘｶﾞﾅ>ｱｲｳ</ﾌﾘｶﾞﾅ>\r\n</mivoxml>\r\n\r\n\"x\"",
       1,
       true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const WriterResult result = writeRecords(row.in, row.names);
    EXPECT_TEXT_EQ(documentBody(result.text), row.body);
    EXPECT_EQ(result.records, row.records);
    EXPECT_EQ(result.incomplete, row.incomplete);
  }
}

TEST(RecordWriter, MarkupInValuesIsEscapedBeforeTheTagsGoIn) {
  const Text prepared = escapeMarkup(removeCommasOutsideQuotes(u"\"A&B\",\"<1,000>\"\r\n"));
  const WriterResult result = writeRecords(prepared, {u"社名", u"額"});
  EXPECT_TEXT_EQ(documentBody(result.text),
                 u"<mivoxml>\r\n<社名>A&amp;B</社名><額>&lt;1,000&gt;</額>\r\n</mivoxml>\r\n\r\n");
}

/// Position of the quote with 0-based index `index`, or the end of the text.
std::size_t quoteAt(const Text& text, std::int64_t index) {
  std::int64_t seen = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == kQuote && seen++ == index) return i;
  }
  return text.size();
}

TEST(RecordWriter, MatchesTheLiteralStepsOnThousandsOfRandomTexts) {
  random::Engine engine(20240611);
  int complete = 0;
  int incomplete = 0;
  int withLineBreaks = 0;
  for (int run = 0; run < 4000; ++run) {
    const int k = random::uniform(engine, 1, 9);
    const std::vector<Text> names = random::elementNames(engine, k);
    Text text = random::workingText(engine, k, 16);
    if (random::chance(engine, 50)) text = escapeMarkup(removeCommasOutsideQuotes(text));
    if (random::chance(engine, 50)) {
      // Pad so that the quotes make whole records: those texts must match the literal steps exactly.
      if (countOf(text, kQuote) % 2 != 0) text += kQuote;
      while (countOf(text, kQuote) % (2 * k) != 0) text += u"\"ﾊﾟｯﾄﾞ\"\r\n";
    }

    const std::int64_t quotes = countOf(text, kQuote);
    const std::int64_t records = quotes / (2 * k);
    const bool expectIncomplete = quotes % (2 * k) != 0;
    const WriterResult result = writeRecords(text, names);

    // The literal steps would stall inside an unfinished record, so they see only the complete records.
    const std::size_t cut = quoteAt(text, records * 2 * k);
    const literal::Outcome reference = literal::writeRecords(text.substr(0, cut), names);
    const Text expected = reference.text + text.substr(cut);
    ASSERT_FALSE(reference.stalled) << "run " << run;
    if (expectIncomplete) {
      ASSERT_TRUE(literal::writeRecords(text, names).stalled) << "run " << run;
      ++incomplete;
    } else {
      ASSERT_EQ(cut, text.size()) << "run " << run;
      ++complete;
    }
    ASSERT_TEXT_EQ(result.text, expected) << "run " << run << " k " << k << " input " << toUtf8(text);
    ASSERT_EQ(result.records, records) << "run " << run;
    ASSERT_EQ(reference.records, records) << "run " << run;
    ASSERT_EQ(result.incomplete, expectIncomplete) << "run " << run;
    ASSERT_TEXT_EQ(documentBody(result.text),
                   literal::breakRecordCloseTags(literal::breakRecordOpenTags(expected)))
        << "run " << run;
    if (text.find(u'<') == Text::npos) {
      // With no markup left in the text, the one-pass writer with line breaks gives the same body.
      const WriterResult broken = writeRecordsWithLineBreaks(text, names);
      ASSERT_TEXT_EQ(broken.text, documentBody(result.text)) << "run " << run;
      ASSERT_EQ(broken.incomplete, expectIncomplete) << "run " << run;
      ++withLineBreaks;
    }
  }
  EXPECT_GT(withLineBreaks, 1500);
  // Both kinds of text must have been met often, or the comparison above proves little.
  EXPECT_GT(complete, 1500);
  EXPECT_GT(incomplete, 500);
}

TEST(RecordWriter, LineBreakStepsMatchLiteralReplaceAllOnTagFragments) {
  static const std::vector<Text> fragments = {
      u"<mivoxml>", u"</mivoxml>", u"<mivoxml",     u"mivoxml>", u"<",         u"/",
      u"\r\n",      u"a",          u"<</mivoxml>>", u"</",       u"<MIVOXML>", u"住"};
  random::Engine engine(7);
  for (int run = 0; run < 2000; ++run) {
    Text text;
    const int parts = random::uniform(engine, 0, 30);
    for (int i = 0; i < parts; ++i) text += random::pick(engine, fragments);
    ASSERT_TEXT_EQ(breakRecordOpenTags(text), literal::breakRecordOpenTags(text)) << toUtf8(text);
    ASSERT_TEXT_EQ(breakRecordCloseTags(text), literal::breakRecordCloseTags(text)) << toUtf8(text);
  }
}

}  // namespace
}  // namespace orv
