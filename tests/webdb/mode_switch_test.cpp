// The filling of the page's placeholders over arbitrary templates is checked by fuzz/search_page.cpp.
#include "common/Fakes.h"
#include "common/TextTest.h"
#include "common/UserSteps.h"

namespace orv {
namespace {

TEST(ModeSwitch, EachPressChangesOnlyTheCaptionTheModeTheFrameAndTheListOfNamesUpToTheLastUsedBox) {
  Harness h;
  convertFile(h, u"/data/items.txt", u"\"A1\",\"Pen\",\"3\"\r\n", u"items", {u"code", u"", u"n"});
  Snapshot expected = snapshot(h.f());
  expected.controls[index(kModeButton)].text = u"WEB_DB作成";
  expected.controls[index(kSearchFieldFrame)].visible = true;
  expected.combo = {u"code", u"", u"n"};
  expected.controls[index(kSearchFieldList)].text.clear();
  expected.modeValue = kWebDbMode;

  h.f().click(kModeButton);

  EXPECT_EQ(differences(expected, snapshot(h.f())), "");
  h.f().click(kModeButton);
  EXPECT_TEXT_EQ(h.f().text(kModeButton), u"通常");
  EXPECT_FALSE(h.f().visible(kSearchFieldFrame));
  EXPECT_EQ(h.f().modeValue, kNormalMode);
  EXPECT_EQ(h.f().comboItems(), expected.combo) << "refilled on leaving too";
}

TEST(SearchFieldChoice, IsConfirmedFillsThePlaceholdersOnceWithHalfTheLatestLineCountAndRefusesAnEmptyItem) {
  const auto confirmation = [](const Text& field) {
    return u"検索対象ﾌｨｰﾙﾄﾞを【" + field + u"】に設定しました。ﾌｧｲﾙのsaveを実行してください。";
  };
  Harness h;
  putTemplate(h);
  h.disk.put(u"/data/long.txt", u"\"1\",\"x\"\r\n\"2\",\"y\"\r\n\"3\",\"z\"\r\n\"4\",\"w\"\r\n");
  load(h, u"/data/long.txt");
  convertFile(h, u"/data/book.txt", u"\"1\",\"x\",\"\"\r\n\"2\",\"y\",\"\"\r\n\"3\",\"z\",\"\"\r\n", u"book",
              {u"名前", u"b", u"電話"});
  h.f().textEdited(fieldNameBox(1), u"");
  h.f().click(kModeButton);
  const Text page = h.f().searchPageText;
  h.dialogs.shown.clear();

  h.f().chooseSearchField(1);
  EXPECT_EQ(h.dialogs.texts(), std::vector<Text>{u"検索対象ﾌｨｰﾙﾄﾞが設定されていません！"});
  EXPECT_TEXT_EQ(h.f().searchPageText, page);
  h.f().chooseSearchField(0);
  EXPECT_TEXT_EQ(h.dialogs.texts().back(), confirmation(u"名前"));
  EXPECT_EQ(h.dialogs.shown.back().buttons, Buttons::Ok);
  EXPECT_TEXT_EQ(h.f().text(kSearchFieldList), u"名前");
  const Text filled = h.f().searchPageText;
  EXPECT_TRUE(contains(filled, u"<p>名前|名前|1</p>\r\n")) << "three lines: a page of one";
  h.f().chooseSearchField(2);
  EXPECT_TEXT_EQ(h.dialogs.texts().back(), confirmation(u"電話"));
  EXPECT_TEXT_EQ(h.f().searchPageText, filled) << "the placeholders are used up";
}

}  // namespace
}  // namespace orv
