#include <fstream>
#include <sstream>

#include "common/TextTest.h"
#include "text/Lines.h"
#include "text/ShiftJis.h"
#include "webdb/SearchPage.h"

namespace orv {
namespace {

const std::vector<Text> kTwoNames = {T("名前"), T("電話")};

TEST(TableRows, HeaderAndDataRowsRunTheNamesTogetherUnchanged) {
  EXPECT_TEXT_EQ(headerRow(kTwoNames),
                 T("<TR STYLE='background-color:cyan'><TD>名前</TD><TD>電話</TD></TR>"));
  EXPECT_TEXT_EQ(dataRow(kTwoNames),
                 T("<TR><TD><SPAN DATAFLD=名前></SPAN></TD><TD><SPAN DATAFLD=電話></SPAN></TD></TR>"));
  // Nothing is quoted, escaped or trimmed.
  EXPECT_TEXT_EQ(dataRow({T(" a<b&c ")}), T("<TR><TD><SPAN DATAFLD= a<b&c ></SPAN></TD></TR>"));
  EXPECT_TEXT_EQ(headerRow({T(" a<b&c ")}), T("<TR STYLE='background-color:cyan'><TD> a<b&c </TD></TR>"));
}

TEST(TableRows, NineFieldsGiveNineCellsInOrder) {
  std::vector<Text> names;
  for (int i = 1; i <= 9; ++i) names.push_back(T("f") + decimal(i));
  const Text page = fillTableRows(u"[thead]|[tbody]", names);
  EXPECT_TEXT_EQ(page,
                 T("<TR STYLE='background-color:cyan'><TD>f1</TD><TD>f2</TD><TD>f3</TD><TD>f4</TD><TD>f5</TD>"
                   "<TD>f6</TD><TD>f7</TD><TD>f8</TD><TD>f9</TD></TR>|"
                   "<TR><TD><SPAN DATAFLD=f1></SPAN></TD><TD><SPAN DATAFLD=f2></SPAN></TD>"
                   "<TD><SPAN DATAFLD=f3></SPAN></TD><TD><SPAN DATAFLD=f4></SPAN></TD>"
                   "<TD><SPAN DATAFLD=f5></SPAN></TD><TD><SPAN DATAFLD=f6></SPAN></TD>"
                   "<TD><SPAN DATAFLD=f7></SPAN></TD><TD><SPAN DATAFLD=f8></SPAN></TD>"
                   "<TD><SPAN DATAFLD=f9></SPAN></TD></TR>"));
}

TEST(TableRows, EveryOccurrenceIsFilledAndOnlyTheExactLowerCaseForm) {
  const Text page =
      fillTableRows(u"<table>[thead]\r\n[tbody]</table>\r\n<p>[thead] [THEAD] [Tbody]</p>\r\n", kTwoNames);
  const Text head = headerRow(kTwoNames);
  const Text body = dataRow(kTwoNames);
  EXPECT_TEXT_EQ(
      page, u"<table>" + head + u"\r\n" + body + u"</table>\r\n<p>" + head + u" [THEAD] [Tbody]</p>\r\n");
}

TEST(TableRows, TheDataRowPassRunsOverWhatTheHeaderPassBroughtIn) {
  // A name holding "[tbody]" is replaced in the header row too, by the second pass; a name holding
  // "[thead]" comes in with the second pass and stays.
  const std::vector<Text> names = {u"a[tbody]", u"b[thead]"};
  const Text page = fillTableRows(u"[thead]", names);
  EXPECT_TEXT_EQ(
      page, u"<TR STYLE='background-color:cyan'><TD>a" + dataRow(names) + u"</TD><TD>b[thead]</TD></TR>");
}

TEST(TableRows, ATemplateWithoutRowPlaceholdersStaysAsItIs) {
  EXPECT_TEXT_EQ(fillTableRows(u"<p>[xmlfile]</p>\r\n", kTwoNames), u"<p>[xmlfile]</p>\r\n");
  EXPECT_TEXT_EQ(fillTableRows(u"", kTwoNames), u"");
}

TEST(SearchField, BothFieldPlaceholdersAndThePageSizeAreFilled) {
  const Text page = fillSearchField(
      u"<i data-f=\"<search_field>\" data-n=\"[pagesize]\">[kennsaku_field]</i>", T("名前"), 31);
  EXPECT_TEXT_EQ(page, T("<i data-f=\"名前\" data-n=\"15\">名前</i>"));
}

TEST(SearchField, PageSizeIsTheIntegerPartOfHalfTheLineCount) {
  const struct {
    std::int64_t lines;
    const char16_t* size;
  } rows[] = {{0, u"0"}, {1, u"0"}, {2, u"1"}, {5, u"2"}, {10, u"5"}, {100001, u"50000"}};
  for (const auto& row : rows) {
    EXPECT_TEXT_EQ(fillSearchField(u"[pagesize]", u"x", row.lines), row.size) << row.lines << " lines";
  }
}

TEST(SearchField, PassesRunInOrderAndUpperCaseIsLeft) {
  // The field comes in with the first two passes; a "[pagesize]" inside it is filled by the third.
  EXPECT_TEXT_EQ(fillSearchField(u"<search_field>|[kennsaku_field]", u"[pagesize]", 7), u"3|3");
  EXPECT_TEXT_EQ(fillSearchField(u"[kennsaku_field]", u"<search_field>", 7), u"<search_field>");
  EXPECT_TEXT_EQ(fillSearchField(u"<SEARCH_FIELD>[Kennsaku_field][PAGESIZE]", u"f", 8),
                 u"<SEARCH_FIELD>[Kennsaku_field][PAGESIZE]");
}

TEST(SearchField, TheFirstChoiceUsesThePlaceholdersUp) {
  const Text once = fillSearchField(u"<search_field> [kennsaku_field] [pagesize]", T("名前"), 10);
  EXPECT_TEXT_EQ(once, T("名前 名前 5"));
  EXPECT_TEXT_EQ(fillSearchField(once, T("電話"), 99), once);
}

TEST(SavedDocument, PathIsEscapedForHtmlAndDataIsBase64OfTheExactBytes) {
  const std::string xml = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<r>\x82\xa0</r>";
  const Text page =
      fillSavedDocument(u"<p title=\"[xmlfile]\">[xmlfile]</p><script type=\"text/plain\">[xmldata]</script>",
                        T("C:\\a&b\\<x>\"y\".xml"), xml);
  const Text path = T("C:\\a&amp;b\\&lt;x&gt;&quot;y&quot;.xml");
  const std::string data = base64(xml);
  EXPECT_TEXT_EQ(page, u"<p title=\"" + path + u"\">" + path + u"</p><script type=\"text/plain\">" +
                           Text(data.begin(), data.end()) + u"</script>");
  EXPECT_TEXT_EQ(fillSavedDocument(u"[xmlfile]", T("住所録.xml"), ""), T("住所録.xml"));
  EXPECT_TEXT_EQ(fillSavedDocument(u"[xmldata]|[XMLDATA]", u"p", ""), u"|[XMLDATA]");
}

TEST(SavedDocument, APlaceholderInThePathShowsAsTextAndTakesNoDocument) {
  // A folder named "[xmldata]" once had the whole document spliced into the path the page shows.
  const Text page = fillSavedDocument(u"<p>[xmlfile]</p><s>[xmldata]</s>", u"/data/[xmldata]/[xmlfile].xml", "abc");
  EXPECT_TEXT_EQ(page, u"<p>/data/&#91;xmldata]/&#91;xmlfile].xml</p><s>YWJj</s>");
}

TEST(SavedDocument, TheFirstSaveUsesThePlaceholdersUp) {
  const Text once = fillSavedDocument(u"[xmlfile]:[xmldata]", u"first.xml", "abc");
  EXPECT_TEXT_EQ(once, u"first.xml:YWJj");
  EXPECT_TEXT_EQ(fillSavedDocument(once, u"second.xml", "xyz"), once);
}

TEST(Base64, StandardVectorsWithPadding) {
  const struct {
    std::string_view in;
    std::string_view out;
  } rows[] = {{"", ""},
              {"f", "Zg=="},
              {"fo", "Zm8="},
              {"foo", "Zm9v"},
              {"foob", "Zm9vYg=="},
              {"fooba", "Zm9vYmE="},
              {"foobar", "Zm9vYmFy"},
              // High bytes must not sign-extend; the last two letters of the alphabet.
              {"\xff\xfe\xfd", "//79"},
              {"\xfb\xff", "+/8="},
              {std::string_view("\0", 1), "AA=="},
              {"\x82\xa0\xb1", "gqCx"}};
  for (const auto& row : rows) EXPECT_EQ(base64(row.in), row.out) << "input size " << row.in.size();
  EXPECT_EQ(base64(std::string(57, 'a')).find('\n'), std::string::npos);
}

// The shipped template, read as the tool reads it.
Text shippedTemplate(std::string* rawBytes) {
  std::ifstream in(ORV_BUILD_DIR "/search.mvo", std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  *rawBytes = bytes.str();
  auto decoded = decodeCp932(*rawBytes);
  EXPECT_TRUE(decoded.ok);
  return linesWithCrLf(std::move(decoded.text)).text;
}

std::size_t occurrences(TextView text, TextView part) {
  std::size_t n = 0;
  for (auto p = text.find(part); p != TextView::npos; p = text.find(part, p + 1)) ++n;
  return n;
}

TEST(ShippedTemplate, IsAsciiWithCrLfLinesAndDeclaresShiftJis) {
  std::string raw;
  const Text text = shippedTemplate(&raw);
  ASSERT_FALSE(raw.empty());
  for (unsigned char c : raw) ASSERT_LT(c, 0x80) << "the template keeps to ASCII";
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\n') {
      ASSERT_TRUE(i > 0 && raw[i - 1] == '\r') << "lone LF at byte " << i;
    } else if (raw[i] == '\r') {
      ASSERT_TRUE(i + 1 < raw.size() && raw[i + 1] == '\n') << "lone CR at byte " << i;
    }
  }
  EXPECT_TRUE(contains(text, u"<meta charset=\"Shift_JIS\">"));
}

TEST(ShippedTemplate, EachPlaceholderStandsOnceOutsideTheScriptAndAFullFillUsesAllUp) {
  std::string raw;
  const Text text = shippedTemplate(&raw);
  const std::size_t script = text.rfind(u"<script>");
  ASSERT_NE(script, Text::npos);
  for (TextView mark :
       {u"[thead]", u"[tbody]", u"<search_field>", u"[kennsaku_field]", u"[pagesize]", u"[xmldata]"}) {
    EXPECT_EQ(occurrences(text, mark), 1u) << toUtf8(mark);
    EXPECT_LT(text.find(mark), script) << toUtf8(mark) << " must not stand in the script";
  }
  // The path is shown as text and kept in an attribute for the script to read.
  EXPECT_EQ(occurrences(text, u"[xmlfile]"), 2u);
  EXPECT_LT(text.rfind(u"[xmlfile]"), script);
  EXPECT_LT(text.rfind(u"[xmlfile]"), text.find(u"[xmldata]"));

  Text page = fillTableRows(text, {T("読み"), T("名前")});
  page = fillSearchField(page, T("名前"), 10);
  page = fillSavedDocument(page, T("C:\\data\\住所録.xml"), "<r/>");
  for (TextView mark : {u"[thead]", u"[tbody]", u"<search_field>", u"[kennsaku_field]", u"[pagesize]",
                        u"[xmlfile]", u"[xmldata]"}) {
    EXPECT_FALSE(contains(page, mark)) << toUtf8(mark);
  }
  EXPECT_TRUE(encodeCp932(page).ok);
}

}  // namespace
}  // namespace orv
