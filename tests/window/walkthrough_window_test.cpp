// The first-time road through the real widgets: the sample, WEB_DB mode, the search field, Save; then
// the files on disk.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "common/Fakes.h"
#include "common/TextTest.h"
#include "platform/RealFiles.h"
#include "text/ShiftJis.h"
#include "gui/MainWindow.h"
#include "gui/QtPlatform.h"

namespace orv {
namespace {

namespace fs = std::filesystem;

class ProgramIn : public RealFileSystem {
 public:
  explicit ProgramIn(Text folder) : folder_(std::move(folder)) {}
  Text programFolder() override { return folder_; }

 private:
  Text folder_;
};

std::string bytesOf(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(Walkthrough, TheFirstTimeRoadEndsWithTheDocumentAndTheSearchPageWritten) {
  const fs::path home = fs::temp_directory_path() / ("orv-walk-" + std::to_string(::getpid()));
  fs::remove_all(home);
  fs::create_directories(home);
  fs::copy_file(fs::path(ORV_BUILD_DIR) / "search.mvo", home / "search.mvo");
  fs::copy_file(fs::path(ORV_BUILD_DIR) / "sample.txt", home / "sample.txt");
  const fs::path before = fs::current_path();

  FakeDialogs dialogs;
  RealTextFiles files;
  ProgramIn disk(fromUtf8(home.string()));
  RecordingOpener opener;
  RecordingPointer pointer;
  Form1 form(Platform{dialogs, files, disk, opener, pointer});
  form.startUp();
  MainWindow view(form);
  view.show();
  auto button = [&](Ctl c) { return qobject_cast<QPushButton*>(view.widget(c)); };

  QTest::mouseClick(button(kFirstTimeButton), Qt::LeftButton);
  EXPECT_EQ(dialogs.texts(), (std::vector<Text>{
                                 u"一体何が出来るツールか分からない方へ\rサンプル自動実行を用意しました。\rご覧になりますか？？",
                                 u"次に各要素を設定します。",
                                 u"次に「変換実行」をｸﾘｯｸしてXMLへの変換が開始されます。",
                                 u"変換終了しました！XMLﾃﾞｰﾀﾍﾞｰｽを作成するには「通常」ﾎﾞﾀﾝをｸﾘｯｸして\r「WEB_DB」に切り換えてください。",
                             }));
  EXPECT_EQ(qobject_cast<QLineEdit*>(view.widget(kParentNameBox))->text(), QStringLiteral("住所録"));
  EXPECT_EQ(qobject_cast<QLineEdit*>(view.widget(fieldNameBox(4)))->text(), QStringLiteral("電話"));
  ASSERT_TRUE(button(kModeButton)->isEnabled());

  QTest::mouseClick(button(kModeButton), Qt::LeftButton);
  EXPECT_EQ(button(kModeButton)->text(), QStringLiteral("WEB_DB作成"));
  ASSERT_TRUE(view.widget(kSearchFieldFrame)->isVisible());
  auto* combo = qobject_cast<QComboBox*>(view.widget(kSearchFieldList));
  ASSERT_EQ(combo->count(), 5);
  // The arrow key chooses the next item, as a click in the list would.
  combo->setFocus();
  QTest::keyClick(combo, Qt::Key_Down);
  EXPECT_TEXT_EQ(dialogs.shown.back().text, u"検索対象ﾌｨｰﾙﾄﾞを【名前】に設定しました。ﾌｧｲﾙのsaveを実行してください。");

  QTest::mouseClick(button(kSaveButton), Qt::LeftButton);
  EXPECT_TEXT_EQ(dialogs.shown.back().text, u"保存しました！");
  EXPECT_EQ(opener.opened, std::vector<Text>{fromUtf8((home / "XmlSearchTemp.htm").string())});

  const std::string xml = bytesOf(home / "sample.xml");
  const Text document = decodeCp932(xml).text;
  EXPECT_EQ(document.rfind(u"<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<住所録>\r\n<mivoxml>\r\n", 0), 0u);
  EXPECT_EQ(countOf(document, u'\r'), 2 + 34 * 4) << "declaration, root, four lines per record";
  EXPECT_TRUE(document.ends_with(u"</mivoxml>\r\n\r\n</住所録>"));
  const Text page = decodeCp932(bytesOf(home / "XmlSearchTemp.htm")).text;
  EXPECT_NE(page.find(u"data-search-field=\"名前\""), Text::npos);
  EXPECT_NE(page.find(u"data-page-size=\"17\""), Text::npos);
  EXPECT_NE(page.find(u"<SPAN DATAFLD=電話>"), Text::npos);
  fs::current_path(before);
  fs::remove_all(home);
}

}  // namespace
}  // namespace orv
