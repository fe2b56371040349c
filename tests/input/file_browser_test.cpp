#include "common/Fakes.h"
#include "common/TextTest.h"
#include "common/UserSteps.h"

namespace orv {
namespace {

const Text kRefused = u"変換出来ない形式です！「確認」ボタンで開きます！";

Text quotes(int n) { return Text(static_cast<std::size_t>(n), u'"'); }

TEST(FileChoice, OffersHalfTheFirstLineQuotesAndRefusesALineWithoutAUsableCount) {
  struct Row {
    const char* what;
    Text firstLine;
    Text offered;  ///< empty: refused and opened in its application
  };
  const Row rows[] = {
      {"two quotes", u"\"a\"", u"1"},
      {"three quotes", u"\"a\",\"b", u"1"},
      {"four quotes", u"\"a\",\"b\"", u"2"},
      {"five quotes", u"\"a\",\"b\",\"", u"2"},
      {"eighteen quotes", quotes(18), u"9"},
      {"a saved document's declaration", u"<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>", u"2"},
      {"no quote", u"a,b,c", u""},
      {"one quote", u"\"a", u""},
      {"full-width quotes only", u"＂a＂,＂b＂", u""},
      {"twenty quotes", quotes(20), u""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Harness h;
    h.disk.put(u"/data/f.txt", row.firstLine + u"\r\n\"x\",\"y\",\"z\"\r\n");
    h.f().folderChange(u"/data");

    h.f().fileChoice(u"f.txt");

    EXPECT_TEXT_EQ(h.f().text(kPathBox), u"/data/f.txt");
    EXPECT_TEXT_EQ(h.f().workingText(), row.firstLine) << "the first line only";
    EXPECT_TEXT_EQ(h.f().text(kFieldCountBox), row.offered);
    EXPECT_EQ(h.f().enabled(kLoadButton), !row.offered.empty());
    EXPECT_TRUE(h.f().enabled(kConvertButton)) << "a working text is there";
    if (row.offered.empty()) {
      EXPECT_EQ(h.dialogs.texts(), std::vector<Text>{kRefused});
      EXPECT_EQ(h.opener.opened, std::vector<Text>{u"/data/f.txt"});
    } else {
      EXPECT_TRUE(h.dialogs.shown.empty());
      EXPECT_TRUE(h.opener.opened.empty());
    }
  }
}

TEST(FileChoice, AFileInTheRootFolderGetsASingleSeparator) {
  Harness h;
  h.disk.put(u"/top.txt", u"\"a\"\r\n");
  h.f().folderChange(u"/");
  h.f().fileChoice(u"top.txt");
  EXPECT_TEXT_EQ(h.f().text(kPathBox), u"/top.txt");
  EXPECT_TEXT_EQ(h.f().text(kFieldCountBox), u"1");
}

TEST(FileChoice, InWebDbModeSetsTheModeToNormalButLeavesTheCaptionAndTheNames) {
  Harness h;
  convertFile(h, u"/data/items.txt", u"\"A1\",\"Pen\"\r\n", u"items", {u"code", u"title"});
  h.f().click(kModeButton);
  ASSERT_EQ(h.f().modeValue, kWebDbMode);
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
  h.dialogs.shown.clear();

  h.f().fileChoice(u"next.txt");

  EXPECT_EQ(differences(expected, snapshot(h.f())), "");
  EXPECT_TEXT_EQ(h.f().text(kModeButton), u"WEB_DB作成");
  h.f().click(kViewButton);
  EXPECT_EQ(h.opener.opened, std::vector<Text>{u"/data/next.txt"})
      << "the view command acts as in normal mode";
  h.f().click(kModeButton);
  EXPECT_TEXT_EQ(h.f().text(kModeButton), u"通常") << "the next press reads the caption";
  EXPECT_TRUE(h.dialogs.shown.empty());
}

TEST(FileChoice, AFileThatCannotBeUsedIsNotUsedAndTheUserIsTold) {
  struct Row {
    const char* what;
    std::string bytes;
    bool unreadable;
    bool missing;
    Text message;
  };
  const Row rows[] = {
      {"unreadable", "\"a\"\r\n", true, false,
       u"ファイルを読み込めません：/data/bad.txt（Permission denied）"},
      {"gone from the folder", "", false, true, u"ファイルが見つかりません：/data/bad.txt"},
      {"empty", "", false, false, u"空のファイルです：/data/bad.txt\r読み込むデータがありません。"},
      {"UTF-8", "\"\xe6\x9d\xb1\xe4\xba\xac\",\"x\"\r\n", false, false,
       u"UTF-8のテキストファイルです：/data/"
       u"bad.txt\rShift_JISで保存し直してから読み込んでください。何も変更していません。"},
      {"bytes that are not Shift_JIS", "\"ok\x85\x40\"\r\n", false, false,
       u"Shift_JISのテキストとして読めないファイルです：/data/bad.txt\r1行目のバイト 0x85 0x40 "
       u"を読み込めません。何も変更していません。"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Harness h;
    h.disk.put(u"/data/good.txt", u"\"a\",\"b\"\r\n");
    h.f().folderChange(u"/data");
    h.f().fileChoice(u"good.txt");
    if (!row.missing) h.disk.putBytes(u"/data/bad.txt", row.bytes);
    if (row.unreadable) h.disk.failReads.insert(u"/data/bad.txt");
    const Snapshot before = snapshot(h.f());

    h.f().fileChoice(u"bad.txt");

    EXPECT_EQ(differences(before, snapshot(h.f())), "");
    EXPECT_EQ(h.dialogs.texts(), std::vector<Text>{row.message});
    EXPECT_TRUE(h.opener.opened.empty());
  }
}

TEST(FileList, ShowsTextXmlAndAnyNameEndingInHtmWhateverTheLetterCase) {
  Harness h;
  for (const char16_t* name :
       {u"a.txt", u"b.XML", u"c.htm", u"d.xhtm", u"e.html", u"f.csv", u"g.TxT", u"h.xml.bak", u"mytxt"})
    h.disk.put(Text(u"/data/") + name, u"x");
  h.f().folderChange(u"/data");
  EXPECT_EQ(h.f().fileList, (std::vector<Text>{u"a.txt", u"b.XML", u"c.htm", u"d.xhtm", u"g.TxT"}));
}

TEST(DriveList, ADriveThatCannotBeReadLeavesTheFolderAndAReadableOneOpensItsRoot) {
  Harness h;
  h.disk.driveList.push_back(u"/media/cd");
  h.disk.put(u"/mnt/usb/u.txt", u"\"a\"\r\n");
  const std::vector<Text> filesBefore = h.f().fileList;

  h.f().driveChange(u"/media/cd");
  EXPECT_TEXT_EQ(h.f().drive, u"/media/cd");
  EXPECT_TEXT_EQ(h.f().folder, u"/opt/orvessa");
  EXPECT_EQ(h.f().fileList, filesBefore);
  EXPECT_TRUE(h.dialogs.shown.empty());

  h.f().driveChange(u"/mnt/usb");
  EXPECT_TEXT_EQ(h.f().folder, u"/mnt/usb");
  EXPECT_EQ(h.f().fileList, std::vector<Text>{u"u.txt"});
}

}  // namespace
}  // namespace orv
