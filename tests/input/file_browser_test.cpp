#include "common/Fakes.h"
#include "common/TextTest.h"
#include "common/UserSteps.h"

namespace orv {
namespace {

// Files that cannot be read at all are refused in tests/input/loading_test.cpp.
TEST(FileChoice, OffersHalfTheFirstLineQuotesAndOpensALineWithoutAUsableCountInItsApplication) {
  struct Row {
    const char* what;
    Text firstLine;
    Text offered;  ///< empty: refused and opened in its application
    Text folder = u"/data";
  };
  const Row rows[] = {
      {"two quotes", u"\"a\"", u"1"},
      {"three quotes", u"\"a\",\"b", u"1"},
      {"five quotes", u"\"a\",\"b\",\"", u"2"},
      {"eighteen quotes", Text(18, u'"'), u"9"},
      {"a saved document's declaration", u"<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>", u"2"},
      {"a file in the root folder", u"\"a\"", u"1", u"/"},
      {"no quote: the fields of the line, as a spreadsheet writes them", u"a,b,c", u"3"},
      {"full-width quotes only: no quote", u"＂a＂,＂b＂", u"2"},
      {"a blank line", u"  ", u""},
      {"one quote", u"\"a", u""},
      {"twenty quotes", Text(20, u'"'), u""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Harness h;
    const Text path = (row.folder == u"/" ? Text() : row.folder) + u"/f.txt";
    h.disk.put(path, row.firstLine + u"\r\n\"x\",\"y\",\"z\"\r\n");
    h.f().folderChange(row.folder);

    h.f().fileChoice(u"f.txt");

    EXPECT_TEXT_EQ(h.f().text(kPathBox), path);
    EXPECT_TEXT_EQ(h.f().workingText(), row.firstLine) << "the first line only";
    EXPECT_TEXT_EQ(h.f().text(kFieldCountBox), row.offered);
    EXPECT_EQ(h.f().enabled(kLoadButton), !row.offered.empty());
    const bool refused = row.offered.empty();
    EXPECT_EQ(h.dialogs.texts(), refused
                                     ? std::vector<Text>{u"変換出来ない形式です！「確認」ボタンで開きます！"}
                                     : std::vector<Text>{});
    EXPECT_EQ(h.opener.opened, refused ? std::vector<Text>{path} : std::vector<Text>{});
  }
}

TEST(FileChoice, InWebDbModeSetsTheModeValueToNormalButLeavesTheCaptionAndTheNames) {
  Harness h;
  convertFile(h, u"/data/items.txt", u"\"A1\",\"Pen\"\r\n", u"items", {u"code", u"title"});
  h.f().click(kModeButton);
  h.disk.put(u"/data/next.txt", u"\"a\",\"b\",\"c\"\r\n");
  h.f().folderChange(u"/data");
  Snapshot expected = snapshot(h.f());
  expected.controls[index(kPathBox)].text = u"/data/next.txt";
  expected.controls[index(kTextView)].text = u"\"a\",\"b\",\"c\"";
  expected.controls[index(kFieldCountBox)].text = u"3";
  expected.controls[index(kLoadButton)].enabled = true;
  expected.controls[index(kConvertButton)].enabled = true;
  expected.controls[index(kSaveButton)].enabled = false;  // a first line is no document to save
  expected.modeValue = kNormalMode;

  h.f().fileChoice(u"next.txt");

  EXPECT_EQ(differences(expected, snapshot(h.f())), "");
  h.f().click(kViewButton);
  EXPECT_EQ(h.opener.opened, std::vector<Text>{u"/data/next.txt"})
      << "the view command acts as in normal mode";
}

TEST(FileBrowser, ListsTextCsvXmlAndHtmFilesAndADriveThatCannotBeReadLeavesTheFolder) {
  Harness h;
  for (const char16_t* name :
       {u"a.txt", u"b.XML", u"c.htm", u"d.xhtm", u"e.html", u"f.csv", u"g.TxT", u"h.xml.bak", u"mytxt"})
    h.disk.put(Text(u"/data/") + name, u"x");
  h.f().folderChange(u"/data");
  EXPECT_EQ(h.f().fileList, (std::vector<Text>{u"a.txt", u"b.XML", u"c.htm", u"d.xhtm", u"f.csv", u"g.TxT"}));

  h.disk.driveList.push_back(u"/media/cd");
  h.f().driveChange(u"/media/cd");
  EXPECT_TEXT_EQ(h.f().folder, u"/data");
  EXPECT_EQ(h.f().fileList.size(), 6u);
  EXPECT_TRUE(h.dialogs.shown.empty());
  h.f().driveChange(u"/mnt/usb");
  EXPECT_TEXT_EQ(h.f().folder, u"/mnt/usb");
}

}  // namespace
}  // namespace orv
