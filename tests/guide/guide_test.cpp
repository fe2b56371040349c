#include "common/Fakes.h"
#include "common/TextTest.h"
#include "common/UserSteps.h"

namespace orv {
namespace {

// The whole walk-through over real files, opened in a browser, is tests/page/walkthrough.test.mjs.
TEST(SampleWalkThrough, CancelAtTheQuestionOnlySetsTheSampleFlagAndAMissingSampleStillRunsEveryStep) {
  const Text question =
      u"一体何が出来るツールか分からない方へ\rサンプル自動実行を用意しました。\rご覧になりますか？？";
  Harness h;
  Snapshot expected = snapshot(h.f());
  expected.sampleFlag = kSampleFlagSet;
  h.dialogs.script.push_back(Answer::Cancel);
  h.f().click(kFirstTimeButton);
  EXPECT_EQ(differences(expected, snapshot(h.f())), "");
  EXPECT_EQ(h.dialogs.texts(), std::vector<Text>{question});
  EXPECT_TEXT_EQ(h.dialogs.shown[0].caption, u"確認");
  EXPECT_EQ(h.dialogs.shown[0].buttons, Buttons::OkCancel);

  Harness missing;
  putTemplate(missing);
  missing.f().click(kFirstTimeButton);
  EXPECT_EQ(missing.dialogs.texts(),
            (std::vector<Text>{question, u"次に各要素を設定します。",
                               u"次に「変換実行」をｸﾘｯｸしてXMLへの変換が開始されます。"}));
  EXPECT_TEXT_EQ(missing.f().text(fieldNameBox(4)), u"電話");
  EXPECT_TEXT_EQ(missing.f().workingText(), u"");
  EXPECT_FALSE(missing.f().enabled(kSaveButton));
  EXPECT_EQ(missing.disk.writes, 0);
}

TEST(ViewAndHowTo, OpenTheChosenFileThePageOrTheHowToFileOrSayWhatIsMissing) {
  struct Row {
    const char* what;
    Text path;
    bool webDb, howTo, howToThere;
    std::vector<Text> boxes;
    std::vector<Text> opened;
  };
  const Row rows[] = {
      {"normal mode, no file", u"", false, false, false, {u"xmlﾌｧｲﾙを指定して下さい．"}, {}},
      {"normal mode, a file", u"/data/a.txt", false, false, false, {}, {u"/data/a.txt"}},
      {"WEB_DB mode before any page was written", u"/data/a.txt", true, false, false, {}, {u""}},
      {"how-to file missing", u"", false, true, false, {u"ファイルが見つかりません！"}, {}},
      {"how-to file there", u"", false, true, true, {}, {u"/opt/orvessa/how_to_qdx.txt"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Harness h;
    if (row.howToThere) h.disk.put(u"/opt/orvessa/how_to_qdx.txt", u"使い方");
    h.f().textEdited(kPathBox, row.path);
    if (row.webDb) h.f().click(kModeButton);
    const Snapshot before = snapshot(h.f());

    h.f().click(row.howTo ? kHowToButton : kViewButton);

    EXPECT_EQ(h.dialogs.texts(), row.boxes);
    EXPECT_EQ(h.opener.opened, row.opened);
    EXPECT_EQ(differences(before, snapshot(h.f())), "");
  }
}

}  // namespace
}  // namespace orv
