#include "common/Fakes.h"
#include "common/TextTest.h"
#include "platform/ShiftJis.h"
#include "webdb/SearchPage.h"

namespace orv {
namespace {

// Converts a two-record file with a template that names the document twice, in WEB_DB mode.
struct Converted : Harness {
  Converted() {
    disk.put(u"/opt/orvessa/search.mvo", u"<p>[xmlfile]</p>\r\n<x>[xmldata]</x><y>[xmldata]</y>\r\n[tbody]");
    disk.put(u"/data/a.txt", u"\"A&1\",\"ペン\"\r\n\"B2\",\"ｲﾝｸ\"\r\n");
    f().textEdited(Ctl::Text5, u"/data/a.txt");
    f().textEdited(Ctl::Text1, u"2");
    f().loadCommand();
    f().textEdited(Ctl::Text4, u"items");
    f().textEdited(text2(0), u"code");
    f().textEdited(text2(1), u"title");
    f().runConversion();
    f().switchMode();
  }
};

TEST(SavedSearchPage, CarriesTheDocumentExactlyAsTheFillingFunctionsDescribeIt) {
  Converted c;
  const Text prepared = c.f().text(Ctl::Text6);
  c.f().saveCommand();
  const std::string& xml = c.disk.contents.at(u"/data/a.xml");
  const std::string expected = encodeCp932(fillSavedDocument(prepared, u"/data/a.xml", xml)).bytes;
  EXPECT_EQ(c.disk.contents.at(u"/opt/orvessa/XmlSearchTemp.htm"), expected);
  EXPECT_NE(expected.find(base64(xml)), std::string::npos);
  EXPECT_EQ(c.opener.opened, std::vector<Text>{u"/opt/orvessa/XmlSearchTemp.htm"}) << "WEB_DB mode opens it";
}

TEST(SavedSearchPage, AFolderNamedLikeThePlaceholderGetsTheDocumentOnlyWhereTheTemplateAsks) {
  Harness h;
  h.disk.folderSet.insert(u"/data/[xmldata]");
  h.disk.put(u"/opt/orvessa/search.mvo", u"<p>[xmlfile]</p>\r\n<x>[xmldata]</x>\r\n[tbody]");
  h.disk.put(u"/data/[xmldata]/a.txt", u"\"B2\",\"ｲﾝｸ\"\r\n");
  h.f().textEdited(Ctl::Text5, u"/data/[xmldata]/a.txt");
  h.f().textEdited(Ctl::Text1, u"2");
  h.f().loadCommand();
  h.f().textEdited(Ctl::Text4, u"items");
  h.f().textEdited(text2(0), u"code");
  h.f().textEdited(text2(1), u"title");
  h.f().runConversion();
  h.f().switchMode();
  h.f().saveCommand();
  const std::string& xml = h.disk.contents.at(u"/data/[xmldata]/a.xml");
  const std::string page = h.disk.contents.at(u"/opt/orvessa/XmlSearchTemp.htm");
  EXPECT_EQ(page, "<p>/data/&#91;xmldata]/a.xml</p>\r\n<x>" + base64(xml) + "</x>\r\n" +
                      toUtf8(dataRow({u"code", u"title"})) + "\r\n");
}

}  // namespace
}  // namespace orv
