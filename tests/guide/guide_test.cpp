#include "common/Fakes.h"
#include "common/TextTest.h"
#include "common/UserSteps.h"

namespace orv {
namespace {

const Text kQuestion =
    u"一体何が出来るツールか分からない方へ\rサンプル自動実行を用意しました。\rご覧になりますか？？";
const Text kNamesNext = u"次に各要素を設定します。";
const Text kConvertNext = u"次に「変換実行」をｸﾘｯｸしてXMLへの変換が開始されます。";
const Text kDone =
    u"変換終了しました！XMLﾃﾞｰﾀﾍﾞｰｽを作成するには「通常」ﾎﾞﾀﾝをｸﾘｯｸして\r「WEB_DB」に切り換えてください。";
const std::vector<Text> kSampleNames = {u"読み", u"名前", u"住所1", u"住所2", u"電話"};

TEST(SampleWalkThrough, CancelAtTheQuestionOnlySetsTheSampleFlag) {
  Harness h;
  Snapshot expected = snapshot(h.f());
  expected.sampleFlag = kSampleFlagSet;
  h.dialogs.script.push_back(Answer::Cancel);

  h.f().click(kFirstTimeButton);

  EXPECT_EQ(differences(expected, snapshot(h.f())), "");
  ASSERT_EQ(h.dialogs.shown.size(), 1u);
  EXPECT_TEXT_EQ(h.dialogs.shown[0].text, kQuestion);
  EXPECT_TEXT_EQ(h.dialogs.shown[0].caption, u"確認");
  EXPECT_EQ(h.dialogs.shown[0].buttons, Buttons::OkCancel);
}

TEST(SampleWalkThrough, WithoutTheSampleFileEveryStepStillRuns) {
  Harness h;
  putTemplate(h);

  h.f().click(kFirstTimeButton);

  EXPECT_EQ(h.dialogs.texts(), (std::vector<Text>{kQuestion, kNamesNext, kConvertNext}));
  EXPECT_TEXT_EQ(h.f().text(kPathBox), u"sample.txt");
  EXPECT_TEXT_EQ(h.f().text(kFieldCountBox), u"5");
  EXPECT_TEXT_EQ(h.f().text(kParentNameBox), u"住所録");
  for (int i = 0; i < 5; ++i) EXPECT_TEXT_EQ(h.f().text(fieldNameBox(i)), kSampleNames[static_cast<std::size_t>(i)]);
  EXPECT_TEXT_EQ(h.f().workingText(), u"");
  EXPECT_FALSE(h.f().enabled(kSaveButton));
  EXPECT_FALSE(h.f().enabled(kConvertButton));
  EXPECT_EQ(h.f().sampleFlag, kSampleFlagSet);
  EXPECT_EQ(h.disk.writes, 0);
}

TEST(SampleWalkThrough, AFullRunConvertsTheAddressBookAndTheFirstTimeRoadEndsWithTheOpenedPage) {
  Harness h;
  putTemplate(h);
  h.disk.put(u"/opt/orvessa/sample.txt",
             u"\"ｱｵｷ ﾊﾙｶ\",\"青木 春香\",\"架空県みどり市1-1\",\"ひかりハイツ101\",\"000-0000-0001\"\r\n"
             u"\"ｲｼﾀﾞ ｿｳﾀ\",\"石田 蒼太\",\"架空県あおば町2-8\",\"\",\"000-0000-0002\"\r\n");

  h.f().click(kFirstTimeButton);

  EXPECT_EQ(h.dialogs.texts(), (std::vector<Text>{kQuestion, kNamesNext, kConvertNext, kDone}));
  for (int i = 0; i < 5; ++i) EXPECT_TEXT_EQ(h.f().text(fieldNameBox(i)), kSampleNames[static_cast<std::size_t>(i)]);
  EXPECT_TEXT_EQ(h.f().workingText(),
                 u"<mivoxml>\r\n<読み>ｱｵｷ ﾊﾙｶ</読み><名前>青木 春香</名前><住所1>架空県みどり市1-1</住所1>"
                 u"<住所2>ひかりハイツ101</住所2><電話>000-0000-0001</電話>\r\n</mivoxml>\r\n\r\n"
                 u"<mivoxml>\r\n<読み>ｲｼﾀﾞ ｿｳﾀ</読み><名前>石田 蒼太</名前><住所1>架空県あおば町2-8</住所1>"
                 u"<住所2></住所2><電話>000-0000-0002</電話>\r\n</mivoxml>\r\n\r\n");
  EXPECT_TRUE(h.f().enabled(kSaveButton));
  EXPECT_TRUE(h.f().enabled(kModeButton));
  EXPECT_FALSE(h.f().enabled(kConvertButton));

  h.f().click(kModeButton);
  EXPECT_EQ(h.f().comboItems(), kSampleNames);
  h.f().chooseSearchField(1);
  h.dialogs.shown.clear();
  h.f().click(kSaveButton);

  EXPECT_EQ(h.dialogs.texts(), (std::vector<Text>{u"保存しますか？", u"保存しました！"}));
  EXPECT_TEXT_EQ(h.f().text(kPathBox), u"sample.xml");
  const Text document = h.disk.textOf(u"/opt/orvessa/sample.xml");
  EXPECT_EQ(document.rfind(u"<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<住所録>\r\n<mivoxml>\r\n", 0),
            0u);
  EXPECT_EQ(document.size() - document.rfind(u"</住所録>"), 6u) << "the closing root tag ends the file";
  const Text page = h.disk.textOf(kPagePath);
  EXPECT_TRUE(contains(page, u"<p>sample.xml</p>"));
  EXPECT_TRUE(contains(page, u"<p>名前|名前|1</p>"));
  EXPECT_EQ(h.opener.opened, std::vector<Text>{kPagePath});
}

TEST(ViewCommand, OpensTheChosenFileInNormalModeAndTheSearchPageInWebDbMode) {
  struct Row {
    const char* what;
    Text path;
    bool webDb;
    std::vector<Text> boxes;
    std::vector<Text> opened;
  };
  const Row rows[] = {
      {"normal mode, no file", u"", false, {u"xmlﾌｧｲﾙを指定して下さい．"}, {}},
      {"normal mode, a file", u"/data/a.txt", false, {}, {u"/data/a.txt"}},
      {"WEB_DB mode before any page was written", u"/data/a.txt", true, {}, {u""}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Harness h;
    h.f().textEdited(kPathBox, row.path);
    if (row.webDb) h.f().click(kModeButton);
    const Snapshot before = snapshot(h.f());

    h.f().click(kViewButton);

    EXPECT_EQ(h.dialogs.texts(), row.boxes);
    EXPECT_EQ(h.opener.opened, row.opened);
    EXPECT_EQ(differences(before, snapshot(h.f())), "");
  }
}

TEST(HowToCommand, OpensTheHowToFileBesideTheProgramOrSaysItIsMissing) {
  Harness h;
  h.f().click(kHowToButton);
  EXPECT_EQ(h.dialogs.texts(), std::vector<Text>{u"ファイルが見つかりません！"});
  EXPECT_TRUE(h.opener.opened.empty());

  h.disk.put(u"/opt/orvessa/how_to_qdx.txt", u"使い方");
  h.f().click(kHowToButton);
  EXPECT_EQ(h.opener.opened, std::vector<Text>{u"/opt/orvessa/how_to_qdx.txt"});
  EXPECT_EQ(h.dialogs.shown.size(), 1u);
}

}  // namespace
}  // namespace orv
