#include "common/Fakes.h"
#include "common/TextTest.h"
#include "common/UserSteps.h"

namespace orv {
namespace {

const Text kNoField = u"検索対象ﾌｨｰﾙﾄﾞが設定されていません！";

Text confirmation(const Text& field) {
  return u"検索対象ﾌｨｰﾙﾄﾞを【" + field + u"】に設定しました。ﾌｧｲﾙのsaveを実行してください。";
}

Text lines(int n) {
  Text t;
  for (int i = 0; i < n; ++i) t += u"\"" + decimal(i) + u"\",\"x\"\r\n";
  return t;
}

TEST(ModeSwitch, EachPressChangesOnlyTheCaptionTheModeTheFrameAndTheList) {
  Harness h;
  convertFile(h, u"/data/items.txt", u"\"A1\",\"Pen\"\r\n", u"items", {u"code", u"title"});
  Snapshot expected = snapshot(h.f());

  h.f().click(kModeButton);
  expected.controls[index(kModeButton)].text = u"WEB_DB作成";
  expected.controls[index(kSearchFieldFrame)].visible = true;
  expected.combo = {u"code", u"title"};
  expected.controls[index(kSearchFieldList)].text.clear();
  expected.modeValue = kWebDbMode;
  EXPECT_EQ(differences(expected, snapshot(h.f())), "");

  h.f().chooseSearchField(0);
  h.f().click(kModeButton);
  EXPECT_TEXT_EQ(h.f().text(kModeButton), u"通常");
  EXPECT_FALSE(h.f().visible(kSearchFieldFrame));
  EXPECT_EQ(h.f().modeValue, kNormalMode);
  EXPECT_EQ(h.f().comboItems(), (std::vector<Text>{u"code", u"title"})) << "refilled on leaving too";
}

TEST(ModeSwitch, ListsTheNamesUpToTheLastUsedBoxEmptyOnesIncluded) {
  struct Row {
    const char* what;
    std::vector<Text> boxes;
    std::vector<Text> listed;
  };
  const Row rows[] = {
      {"a gap in the middle", {u"a", u"", u"c"}, {u"a", u"", u"c"}},
      {"all boxes empty", {}, {u""}},
      {"only the last box",
       {u"", u"", u"", u"", u"", u"", u"", u"", u"z"},
       {u"", u"", u"", u"", u"", u"", u"", u"", u"z"}},
      {"the sample's names",
       {u"読み", u"名前", u"住所1", u"住所2", u"電話"},
       {u"読み", u"名前", u"住所1", u"住所2", u"電話"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Harness h;
    for (std::size_t i = 0; i < row.boxes.size(); ++i)
      h.f().setText(fieldNameBox(static_cast<int>(i)), row.boxes[i]);
    h.f().click(kModeButton);
    EXPECT_EQ(h.f().comboItems(), row.listed);
  }
}

TEST(SearchFieldChoice, AnEmptyItemIsRefusedAndThePageIsLeftAsItWas) {
  for (bool converted : {true, false}) {
    SCOPED_TRACE(converted ? "a box emptied after a conversion" : "nothing named at all");
    Harness h;
    if (converted) {
      convertFile(h, u"/data/items.txt", u"\"1\",\"2\",\"3\"\r\n", u"items", {u"a", u"b", u"c"});
      h.f().textEdited(fieldNameBox(1), u"");
    }
    h.f().click(kModeButton);
    const Text page = h.f().searchPageText;
    h.dialogs.shown.clear();

    h.f().chooseSearchField(converted ? 1 : 0);

    EXPECT_EQ(h.dialogs.texts(), std::vector<Text>{kNoField});
    EXPECT_TEXT_EQ(h.f().searchPageText, page);
  }
}

TEST(SearchFieldChoice, TheChoiceIsConfirmedAndFillsThePlaceholdersOnlyOnce) {
  Harness h;
  convertFile(h, u"/data/book.txt", lines(5), u"book", {u"名前", u"電話"});
  h.f().click(kModeButton);
  h.dialogs.shown.clear();

  h.f().chooseSearchField(0);
  EXPECT_EQ(h.dialogs.texts(), std::vector<Text>{confirmation(u"名前")});
  EXPECT_EQ(h.dialogs.shown[0].buttons, Buttons::Ok);
  EXPECT_TEXT_EQ(h.f().text(kSearchFieldList), u"名前");
  const Text page = h.f().searchPageText;
  EXPECT_TRUE(contains(page, u"<p>名前|名前|2</p>\r\n"));
  EXPECT_FALSE(contains(page, u"<search_field>"));

  h.f().chooseSearchField(1);
  EXPECT_EQ(h.dialogs.texts(), (std::vector<Text>{confirmation(u"名前"), confirmation(u"電話")}));
  EXPECT_TEXT_EQ(h.f().searchPageText, page) << "the placeholders are used up";
}

TEST(SearchFieldChoice, ThePageSizeIsHalfTheLinesOfTheLatestLoad) {
  Harness h;
  putTemplate(h);
  const struct {
    int lines;
    const char16_t* size;
  } rows[] = {{10, u"5"}, {5, u"2"}, {1, u"0"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.lines);
    const Text path = u"/data/f" + decimal(row.lines) + u".txt";
    h.disk.put(path, lines(row.lines));
    load(h, path);
    name(h, u"list", {u"id", u"v"});
    h.f().click(kConvertButton);
    h.f().click(kModeButton);
    h.f().chooseSearchField(0);
    EXPECT_TRUE(contains(h.f().searchPageText, u"<p>id|id|" + Text(row.size) + u"</p>"));
  }
}

}  // namespace
}  // namespace orv
