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

  h.f().click(Ctl::Command9);
  expected.controls[index(Ctl::Command9)].text = u"WEB_DB作成";
  expected.controls[index(Ctl::Frame2)].visible = true;
  expected.combo = {u"code", u"title"};
  expected.controls[index(Ctl::Combo1)].text.clear();
  expected.modeValue = kWebDbMode;
  EXPECT_EQ(differences(expected, snapshot(h.f())), "");

  h.f().chooseSearchField(0);
  h.f().click(Ctl::Command9);
  EXPECT_TEXT_EQ(h.f().text(Ctl::Command9), u"通常");
  EXPECT_FALSE(h.f().visible(Ctl::Frame2));
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
      h.f().setText(text2(static_cast<int>(i)), row.boxes[i]);
    h.f().click(Ctl::Command9);
    EXPECT_EQ(h.f().comboItems(), row.listed);
  }
}

TEST(SearchFieldChoice, AnEmptyItemIsRefusedAndThePageIsLeftAsItWas) {
  for (bool converted : {true, false}) {
    SCOPED_TRACE(converted ? "a box emptied after a conversion" : "nothing named at all");
    Harness h;
    if (converted) {
      convertFile(h, u"/data/items.txt", u"\"1\",\"2\",\"3\"\r\n", u"items", {u"a", u"b", u"c"});
      h.f().textEdited(text2(1), u"");
    }
    h.f().click(Ctl::Command9);
    const Text page = h.f().text(Ctl::Text6);
    h.dialogs.shown.clear();

    h.f().chooseSearchField(converted ? 1 : 0);

    EXPECT_EQ(h.dialogs.texts(), std::vector<Text>{kNoField});
    EXPECT_TEXT_EQ(h.f().text(Ctl::Text6), page);
  }
}

TEST(SearchFieldChoice, TheChoiceIsConfirmedAndFillsThePlaceholdersOnlyOnce) {
  Harness h;
  convertFile(h, u"/data/book.txt", lines(5), u"book", {u"名前", u"電話"});
  h.f().click(Ctl::Command9);
  h.dialogs.shown.clear();

  h.f().chooseSearchField(0);
  EXPECT_EQ(h.dialogs.texts(), std::vector<Text>{confirmation(u"名前")});
  EXPECT_EQ(h.dialogs.shown[0].buttons, Buttons::Ok);
  EXPECT_TEXT_EQ(h.f().text(Ctl::Combo1), u"名前");
  const Text page = h.f().text(Ctl::Text6);
  EXPECT_TRUE(contains(page, u"<p>名前|名前|2</p>\r\n"));
  EXPECT_FALSE(contains(page, u"<search_field>"));

  h.f().chooseSearchField(1);
  EXPECT_EQ(h.dialogs.texts(), (std::vector<Text>{confirmation(u"名前"), confirmation(u"電話")}));
  EXPECT_TEXT_EQ(h.f().text(Ctl::Text6), page) << "the placeholders are used up";
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
    h.f().click(Ctl::Command4);
    h.f().click(Ctl::Command9);
    h.f().chooseSearchField(0);
    EXPECT_TRUE(contains(h.f().text(Ctl::Text6), u"<p>id|id|" + Text(row.size) + u"</p>"));
  }
}

}  // namespace
}  // namespace orv
