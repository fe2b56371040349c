// The mode switch, the search field and the shipped page template. The path and the document in the page
// are checked by fuzz/search_page.cpp, and the page in a browser by tests/page/.
#include "common/Fakes.h"
#include "common/TextTest.h"

namespace orv {
namespace {

// A choice fills the placeholders once with half the latest line count; an empty item is refused.
TEST(ModeSwitchAndSearchFieldChoice, ChangeOnlyWhatTheyOwnAndFillThePlaceholdersOnce) {
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
  Snapshot normal = snapshot(h.f());
  normal.combo = {u"名前", u"", u"電話"};  // refilled on entering and on leaving
  normal.controls[index(kSearchFieldList)].text.clear();
  Snapshot webDb = normal;
  webDb.controls[index(kModeButton)].text = u"WEB_DB作成";
  webDb.controls[index(kSearchFieldFrame)].visible = true;
  webDb.modeValue = kWebDbMode;
  h.f().click(kModeButton);
  EXPECT_EQ(webDb.str(), snapshot(h.f()).str());
  h.f().click(kModeButton);
  EXPECT_EQ(normal.str(), snapshot(h.f()).str());
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

// Every mark is filled, each where it belongs, as the browser tests show: they fail when one is missing.
TEST(ShippedTemplate, KeepsToAsciiWithCrLfLines) {
  const std::string raw = bytesOf(ORV_BUILD_DIR "/search.mvo");
  ASSERT_FALSE(raw.empty());
  for (std::size_t i = 0; i < raw.size(); ++i) {
    ASSERT_LT(static_cast<unsigned char>(raw[i]), 0x80) << "byte " << i;
    ASSERT_EQ(raw[i] == '\n', i > 0 && raw[i - 1] == '\r') << "a line ends in CR LF, byte " << i;
  }
}

}  // namespace
}  // namespace orv
