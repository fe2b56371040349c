#include "common/Fakes.h"
#include "common/TextTest.h"

namespace orv {
namespace {

// The whole walk-through over real files, opened in a browser, is in tests/page/search_page.test.mjs; a
// declined walk-through that only sets the sample flag is used by the save tests.
TEST(SampleWalkThrough, AMissingSampleWritesNothingAndAnInstalledProgramWorksOnACopyInTheUsersFolder) {
  Harness h;
  putTemplate(h);
  h.f().click(kFirstTimeButton);
  EXPECT_EQ(
      h.dialogs.texts(),
      (std::vector<Text>{
          u"一体何が出来るツールか分からない方へ\rサンプル自動実行を用意しました。\rご覧になりますか？？",
          u"次に各要素を設定します。", u"次に「変換実行」をｸﾘｯｸしてXMLへの変換が開始されます。"}));
  EXPECT_TEXT_EQ(h.f().text(fieldNameBox(4)), u"電話");
  EXPECT_TRUE(h.f().workingText().empty() && !h.f().enabled(kSaveButton) && h.disk.writes == 0);
  h.disk.resources = u"/usr/share/orvessa";
  h.disk.work = u"/data";
  h.disk.folderSet.insert(h.disk.resources);
  h.disk.put(u"/usr/share/orvessa/sample.txt", u"\"ｱｵｷ\",\"青木\",\"港区\",\"1丁目\",\"03-1234\"\r\n");
  h.f().startUp();
  ASSERT_TRUE(h.f().fileList.empty());
  h.f().click(kFirstTimeButton);
  EXPECT_EQ(h.f().fileList, std::vector<Text>{u"sample.txt"});
  EXPECT_EQ(h.disk.contents[u"/data/sample.txt"], h.disk.contents[u"/usr/share/orvessa/sample.txt"]);
  EXPECT_TRUE(contains(h.f().workingText(), u"<名前>青木</名前>"));
}

TEST(ViewAndHowTo, OpenTheChosenFileThePageOrTheHowToFileOrSayWhatIsMissingAndChangeNothing) {
  Harness h;
  const Snapshot start = snapshot(h.f());
  h.f().click(kViewButton);
  h.f().click(kHowToButton);
  EXPECT_EQ(h.dialogs.texts(),
            (std::vector<Text>{u"xmlﾌｧｲﾙを指定して下さい．", u"ファイルが見つかりません！"}));
  EXPECT_EQ(start.str(), snapshot(h.f()).str());
  h.disk.put(u"/opt/orvessa/how_to_qdx.txt", u"使い方");
  h.f().click(kHowToButton);
  h.f().textEdited(kPathBox, u"/data/a.txt");
  h.f().click(kViewButton);
  h.f().click(kModeButton);
  h.f().click(kViewButton);  // in WEB_DB mode it opens the page, none written yet
  EXPECT_EQ(h.opener.opened, (std::vector<Text>{u"/opt/orvessa/how_to_qdx.txt", u"/data/a.txt", u""}));
  EXPECT_EQ(h.dialogs.texts().size(), 2u);
}

}  // namespace
}  // namespace orv
