// The shipped page template, read as the tool reads it. The filling functions themselves are checked
// against the literal steps by fuzz/search_page.cpp, and the page in a browser by tests/page/.
#include <fstream>
#include <sstream>

#include "common/TextTest.h"
#include "text/Lines.h"
#include "text/ShiftJis.h"
#include "webdb/SearchPage.h"

namespace orv {
namespace {

std::size_t occurrences(TextView text, TextView part) {
  std::size_t n = 0;
  for (auto p = text.find(part); p != TextView::npos; p = text.find(part, p + 1)) ++n;
  return n;
}

TEST(ShippedTemplate, IsAsciiWithCrLfLinesAndEachPlaceholderStandsOnceOutsideTheScript) {
  std::ifstream in(ORV_BUILD_DIR "/search.mvo", std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  const std::string raw = bytes.str();
  ASSERT_FALSE(raw.empty());
  for (std::size_t i = 0; i < raw.size(); ++i) {
    ASSERT_LT(static_cast<unsigned char>(raw[i]), 0x80) << "the template keeps to ASCII, byte " << i;
    ASSERT_EQ(raw[i] == '\n', i > 0 && raw[i - 1] == '\r') << "a line ends in CR LF, byte " << i;
  }
  const Text text = linesWithCrLf(decodeText(raw).text).text;
  EXPECT_TRUE(contains(text, u"<meta charset=\"Shift_JIS\">"));
  const std::size_t script = text.rfind(u"<script>");
  const TextView marks[] = {u"[thead]",    u"[tbody]",   u"<search_field>", u"[kennsaku_field]",
                            u"[pagesize]", u"[xmldata]", u"[xmlfile]"};
  for (TextView mark : marks) {
    // The path is shown as text and kept in an attribute for the script to read.
    EXPECT_EQ(occurrences(text, mark), mark == u"[xmlfile]" ? 2u : 1u) << toUtf8(mark);
    EXPECT_LT(text.rfind(mark), script) << toUtf8(mark) << " must not stand in the script";
  }
  EXPECT_LT(text.rfind(u"[xmlfile]"), text.find(u"[xmldata]"));

  Text page = fillSearchField(fillTableRows(text, {u"読み", u"名前"}), u"名前", 10);
  page = fillDocumentData(fillDocumentPath(page, u"C:\\data\\住所録.xml"), "<r/>");
  for (TextView mark : marks) EXPECT_FALSE(contains(page, mark)) << toUtf8(mark);
  EXPECT_TRUE(encodeCp932(page).ok);
}

}  // namespace
}  // namespace orv
