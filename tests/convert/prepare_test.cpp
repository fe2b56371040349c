#include "convert/Prepare.h"

#include <algorithm>

#include "common/TextTest.h"
#include "convert/LiteralWriter.h"
#include "convert/RandomRecords.h"

namespace orv {
namespace {

struct Row {
  const char* name;
  Text in;
  Text out;
};

TEST(CommaRemoval, KeepsCommasInsideValuesAndDropsTheRest) {
  const Row rows[] = {
      {"between values", u"\"a\",\"b\",\"c\"\r\n", u"\"a\"\"b\"\"c\"\r\n"},
      {"inside values", u"\"1,000\",\"東京都, 港区\"", u"\"1,000\"\"東京都, 港区\""},
      {"a blank after the comma stays", u"\"a\", \"b\"", u"\"a\" \"b\""},
      {"before the first and after the last value", u",\"a\",\r\n", u"\"a\"\r\n"},
      {"around an unquoted field", u"\"a\",12,\"b\"", u"\"a\"12\"b\""},
      {"after an odd quote count the comma is inside", u",a\"b,c", u"a\"b,c"},
      {"a value that spans a line end", u"\"a\r\nb,c\",\"d\"", u"\"a\r\nb,c\"\"d\""},
      {"an empty value does not swap inside and outside", u"\"\",\"x,y\",", u"\"\"\"x,y\""},
      {"no quotes at all", u"a,b,,c", u"abc"},
      {"only commas", u",,,", u""},
      {"empty", u"", u""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_TEXT_EQ(removeCommasOutsideQuotes(row.in), row.out);
  }
}

/// The text cut at every double quote: even pieces stand outside values, odd pieces inside.
std::vector<Text> piecesBetweenQuotes(const Text& text) {
  std::vector<Text> pieces(1);
  for (const char16_t c : text) {
    if (c == kQuote) {
      pieces.emplace_back();
    } else {
      pieces.back() += c;
    }
  }
  return pieces;
}

TEST(CommaRemoval, OnRandomTextsValuesStayWholeAndNoCommaIsLeftBetweenThem) {
  random::Engine engine(99);
  for (int run = 0; run < 2000; ++run) {
    const Text in = random::workingText(engine, random::uniform(engine, 1, 9), 8);
    const std::vector<Text> before = piecesBetweenQuotes(in);
    const std::vector<Text> after = piecesBetweenQuotes(removeCommasOutsideQuotes(in));
    ASSERT_EQ(after.size(), before.size()) << toUtf8(in);
    for (std::size_t i = 0; i < before.size(); ++i) {
      const Text expected = i % 2 == 1 ? before[i] : literal::replaceAll(before[i], u",", u"");
      ASSERT_TEXT_EQ(after[i], expected) << "piece " << i << " of " << toUtf8(in);
    }
  }
}

TEST(MarkupEscaping, ReplacesTheThreeMarkupCharactersEverywhere) {
  const Row rows[] = {
      {"ampersand", u"A&B", u"A&amp;B"},
      {"angle brackets", u"<tag>", u"&lt;tag&gt;"},
      {"an entity already in the data is data", u"&amp;", u"&amp;amp;"},
      {"quotes and apostrophes stay", u"\"a<b\"'c'", u"\"a&lt;b\"'c'"},
      {"between values too", u"\"a\">\"b\"", u"\"a\"&gt;\"b\""},
      {"Japanese and a surrogate pair stay", u"株式会社&ｱｲ\U0001F600", u"株式会社&amp;ｱｲ\U0001F600"},
      {"nothing to escape", u"abc\r\n", u"abc\r\n"},
      {"empty", u"", u""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_TEXT_EQ(escapeMarkup(row.in), row.out);
  }
}

TEST(MarkupEscaping, OnRandomTextsDecodingGivesBackTheTextAndNoBracketIsLeft) {
  random::Engine engine(5);
  for (int run = 0; run < 1000; ++run) {
    const Text in = random::workingText(engine, random::uniform(engine, 1, 9), 8);
    const Text escaped = escapeMarkup(in);
    ASSERT_EQ(std::count(escaped.begin(), escaped.end(), u'<'), 0) << toUtf8(in);
    ASSERT_EQ(std::count(escaped.begin(), escaped.end(), u'>'), 0) << toUtf8(in);
    ASSERT_EQ(countOf(escaped, kQuote), countOf(in, kQuote));
    const Text decoded = literal::replaceAll(
        literal::replaceAll(literal::replaceAll(escaped, u"&lt;", u"<"), u"&gt;", u">"), u"&amp;", u"&");
    ASSERT_TEXT_EQ(decoded, in);
  }
}

}  // namespace
}  // namespace orv
