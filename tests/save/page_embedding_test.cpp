#include "common/TextTest.h"
#include "common/UserSteps.h"
#include "text/ShiftJis.h"
#include "webdb/SearchPage.h"

namespace orv {
namespace {

// Loads, names and converts a two-field file under `folder` with `templateText`, then saves in WEB_DB
// mode; returns the path of the document written.
Text saveInWebDbMode(Harness& h, const Text& folder, const Text& templateText) {
  h.disk.folderSet.insert(folder);
  putTemplate(h, templateText);
  h.disk.put(folder + u"/a.txt", u"\"A&1\",\"ペン\"\r\n\"B2\",\"ｲﾝｸ\"\r\n");
  load(h, folder + u"/a.txt", u"2");
  name(h, u"items", {u"code", u"title"});
  h.f().click(kConvertButton);
  h.f().click(kModeButton);
  h.f().click(kSaveButton);
  return folder + u"/a.xml";
}

TEST(SavedSearchPage, CarriesTheDocumentExactlyAsTheFillingFunctionsDescribeIt) {
  Harness h;
  const Text templateText = u"<p>[xmlfile]</p>\r\n<x>[xmldata]</x><y>[xmldata]</y>\r\n[tbody]";
  const Text xmlPath = saveInWebDbMode(h, u"/data", templateText);
  const std::string& xml = h.disk.contents.at(xmlPath);
  const Text prepared = fillTableRows(templateText + u"\r\n", {u"code", u"title"});
  EXPECT_EQ(h.disk.contents.at(kPagePath), encodeCp932(fillSavedDocument(prepared, xmlPath, xml)).bytes);
  EXPECT_NE(h.disk.contents.at(kPagePath).find(base64(xml)), std::string::npos);
  EXPECT_EQ(h.opener.opened, std::vector<Text>{kPagePath}) << "WEB_DB mode opens it";
}

TEST(SavedSearchPage, AFolderNamedLikeThePlaceholderGetsTheDocumentOnlyWhereTheTemplateAsks) {
  Harness h;
  const Text xmlPath = saveInWebDbMode(h, u"/data/[xmldata]", u"<p>[xmlfile]</p>\r\n<x>[xmldata]</x>\r\n[tbody]");
  const std::string& xml = h.disk.contents.at(xmlPath);
  EXPECT_EQ(h.disk.contents.at(kPagePath), "<p>/data/&#91;xmldata]/a.xml</p>\r\n<x>" + base64(xml) + "</x>\r\n" +
                                               toUtf8(dataRow({u"code", u"title"})) + "\r\n");
}

}  // namespace
}  // namespace orv
