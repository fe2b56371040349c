// Real widgets over a model with scripted dialogs and an in-memory disk, offscreen unless a display is set.
#include <QTest>
#include <QtWidgets>
#include <filesystem>
#include <fstream>

#include "common/Fakes.h"
#include "common/TextTest.h"
#include "common/Workbooks.h"
#include "gui/MainWindow.h"
#include "gui/QtPlatform.h"
#include "gui/WorkingTextView.h"

namespace orv {
namespace {

namespace fs = std::filesystem;

struct Window : Harness {
  Window() : view(std::make_unique<MainWindow>(f())) {
    view->show();
    view->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(view.get()));
  }
  QWidget* w(Ctl c) const { return view->widget(c); }
  QString text(Ctl c) const { return qobject_cast<QLineEdit*>(w(c))->text(); }
  void click(Ctl c) const { QTest::mouseClick(w(c), Qt::LeftButton); }
  void type(Ctl c, const Text& text) const { QTest::keyClicks(w(c), toQString(text)); }
  QPlainTextEdit* editor() const { return view->textView()->editor(); }
  std::unique_ptr<MainWindow> view;
};

TEST(MainWindow, OkLoadsTheTypedPathCancelStartsOverTypedTextIsTheWorkingTextAndAVeryLargeOneIsReadOnly) {
  Window win;
  win.disk.put(u"/data/list.txt", u"\"A1\",\"ペン\",\"120\"\r\n\"B2\",\"ｲﾝｸ\",\"300\"\r\n");
  win.type(kPathBox, u"/data/list.txt");
  win.type(kFieldCountBox, u"9x");  // value 9, but above "9" as text: the load counts the fields
  win.click(kLoadButton);
  EXPECT_EQ(win.editor()->toPlainText(), QStringLiteral("\"A1\",\"ペン\",\"120\"\n\"B2\",\"ｲﾝｸ\",\"300\"\n"));
  for (int i = 0; i < 9; ++i) EXPECT_EQ(win.w(fieldNameBox(i))->isEnabled(), i < 3) << i;
  EXPECT_TRUE(win.w(kConvertButton)->isEnabled() && QApplication::focusWidget() == win.w(kParentNameBox));
  win.type(kParentNameBox, u"items");
  win.type(fieldNameBox(0), u"x");
  win.click(kCancelButton);
  for (Ctl c : {kPathBox, kFieldCountBox, kParentNameBox, fieldNameBox(0), kStatusLine})
    EXPECT_TRUE(win.text(c).isEmpty()) << index(c);
  EXPECT_FALSE(win.w(fieldNameBox(0))->isEnabled() || win.w(kLoadButton)->isEnabled());
  QTest::keyClicks(win.editor(), QStringLiteral("\"x\"\r\"y\""));  // into the emptied view
  win.type(kFieldCountBox, u"1");
  EXPECT_TEXT_EQ(win.f().workingText(), u"\"x\"\r\n\"y\"") << "what the user types is the working text";
  EXPECT_TRUE(win.w(kConvertButton)->isEnabled()) << "the count box saw a working text";

  Text big;
  while (big.size() <= kEditableLimit) big += u"\"ｱｲｳｴｵ\",\"0123456789\",\"住所の欄です\"\r\n";
  win.f().setWorkingText(big);
  win.view->refresh();
  EXPECT_TRUE(win.view->textView()->isReadOnlyLarge() && win.view->textView()->notice()->isVisible());
  EXPECT_EQ(win.view->textView()->large()->lineCount(), static_cast<std::size_t>(countOf(big, u'\r')));
}

TEST(MainWindow, FoldersOpenFromTheTreeEachClickOnAFileChoosesItOnceAndEnterInTheFieldListChoosesNothing) {
  Window h;
  h.disk.put(u"/data/pick.txt", u"\"a\",\"b\",\"c\",\"d\"\r\n\"e\"\r\n");
  h.disk.put(u"/data/no.txt", Text(19, u',') + u"\r\n");  // twenty fields: no usable count
  QListWidget *dirs = h.view->folderList(), *files = h.view->fileList();
  for (const QString& path : {QStringLiteral("/"), QStringLiteral("/data")}) {  // double-clicked in the tree
    const auto found =
        dirs->model()->match(dirs->model()->index(0, 0), Qt::UserRole, path, 1, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << path.toStdString();
    const QPoint at = dirs->visualRect(found[0]).center();
    QTest::mouseClick(dirs->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(dirs->viewport(), Qt::LeftButton, {}, at);
  }
  ASSERT_EQ(files->count(), 2);
  const auto clickFile = [files](int i) {
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(files->item(i)).center());
  };
  clickFile(1);
  EXPECT_EQ(h.text(kPathBox), QStringLiteral("/data/pick.txt"));
  clickFile(0);
  clickFile(0);
  EXPECT_EQ(h.opener.opened.size(), 2u) << "a click on the chosen file chooses it again, once";

  name(h, u"items", {u"code", u"title"});
  h.f().click(kModeButton);
  h.view->refresh();
  auto* combo = qobject_cast<QComboBox*>(h.w(kSearchFieldList));
  h.dialogs.shown.clear();
  QTest::keyClicks(combo, QStringLiteral("title"));
  QTest::keyClick(combo, Qt::Key_Return);
  EXPECT_TRUE(h.dialogs.shown.empty()) << "Enter in the edit part chooses nothing";
  QTest::keyClick(combo, Qt::Key_Down);
  EXPECT_EQ(h.dialogs.texts().size(), 1u) << "an arrow key picks an item";
  h.click(kCancelButton);
  EXPECT_EQ(combo->currentText(), QString()) << "Cancel empties the list and its edit text";
}

// As the program opens a file named when it starts: the browser in its folder, the file marked in the list.
TEST(MainWindow, AFileNamedAtStartIsChosenInTheListAsAClickWouldChooseIt) {
  Window h;
  h.disk.put(u"/data/a.txt", u"\"x\"\r\n");
  h.disk.put(u"/data/pick.txt", u"\"a\",\"b\",\"c\"\r\n");
  h.f().openFile(u"/data/pick.txt");
  h.view->refresh();
  ASSERT_NE(h.view->fileList()->currentItem(), nullptr);
  EXPECT_EQ(h.view->fileList()->currentItem()->text(), QStringLiteral("pick.txt"));
  EXPECT_EQ(h.text(kPathBox), QStringLiteral("/data/pick.txt"));
  EXPECT_EQ(h.text(kFieldCountBox), QStringLiteral("3"));
  EXPECT_TRUE(h.w(kLoadButton)->isEnabled());
}

// The two lists a spreadsheet writes, each with its header row, taken as a user takes them: a click in
// the file list, OK, the names the header offers, conversion and save; the document is read back by an
// XML reader.
TEST(MainWindow, SpreadsheetListsAndWorkbooksWithAHeaderRowAreTakenFromTheFileListAndReadBackByAnXmlReader) {
  const Text sheet =
      u"社員番号,氏名,住所\r\n1001,山田 太郎,\"東京都港区1-2, 3階\"\r\n1002,Müller,\"\"\"本館\"\"\"\r\n";
  std::string utf16 = "\xff\xfe";  // "Unicode text": UTF-16 LE with its mark, tab-separated
  for (char16_t c : replaceAll(replaceAll(sheet, u",", u"\t"), u"3階", u"3,階"))
    utf16 += {static_cast<char>(c & 0xff), static_cast<char>(c >> 8)};
  auto text = [](const char* s) { return std::string("<c t=\"inlineStr\"><is><t>") + s + "</t></is></c>"; };
  const std::string workbook =
      test::WorkbookParts("社員", "<row>" + text("社員番号") + text("氏名") + text("住所") +
                                      "</row><row><c><v>1001</v></c>" + text("山田 太郎") +
                                      text("東京都港区1-2, 3階") + "</row><row><c><v>1002</v></c>" +
                                      text("Müller") + text("\"本館\"") + "</row></sheetData>")
          .bytes();
  const std::tuple<std::string, Text, Text, Text> lists[] = {
      {"\xef\xbb\xbf" + toUtf8(sheet), u"東京都港区1-2, 3階", u"（UTF-8）", u"txt"},  // "CSV UTF-8"
      {utf16, u"東京都港区1-2\t 3,階", u"（UTF-16、タブ区切り）", u"txt"},
      {workbook, u"東京都港区1-2, 3階", u"（シート「社員」）", u"xlsx"}};
  for (const auto& [bytes, address, read, extension] : lists) {
    Window h;
    putTemplate(h);
    h.disk.putBytes(u"/data/社員." + extension, bytes);
    h.f().folderChange(u"/data");
    h.view->refresh();
    QListWidget* files = h.view->fileList();
    ASSERT_EQ(files->count(), 1);
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(files->item(0)).center());
    EXPECT_EQ(h.text(kFieldCountBox), QStringLiteral("3"));
    h.click(kLoadButton);  // the header question is answered OK
    EXPECT_TEXT_EQ(fromQString(h.text(kStatusLine)), u"行数は3行です。" + read);
    // The narrow box shows the count, and the whole line when pointed at.
    EXPECT_TRUE(qobject_cast<QLineEdit*>(h.w(kStatusLine))->cursorPosition() == 0 &&
                h.w(kStatusLine)->toolTip() == h.text(kStatusLine));
    EXPECT_EQ(fromQString(h.text(fieldNameBox(0)) + u' ' + h.text(fieldNameBox(1)) + u' ' +
                          h.text(fieldNameBox(2))),
              u"社員番号 氏名 住所");
    h.type(kParentNameBox, u"staff");
    h.click(kConvertButton);
    h.click(kSaveButton);
    QXmlStreamReader xml(toQString(h.disk.textOf(u"/data/社員.xml")));
    std::vector<Text> values;
    while (!xml.atEnd())
      if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() != u"staff" &&
          xml.name() != u"mivoxml")
        values.push_back(fromQString(xml.name().toString()) + u"=" + fromQString(xml.readElementText()));
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(values, (std::vector<Text>{u"社員番号=1001", u"氏名=山田 太郎", u"住所=" + address,
                                         u"社員番号=1002", u"氏名=Müller", u"住所=\"本館\""}));
  }
}

TEST(RealDialogs, ReturnAnswersOkAndEscapeAnswersCancel) {
  QtDialogs dialogs;
  for (const auto& [key, answer] :
       {std::pair{Qt::Key_Return, Answer::Ok}, {Qt::Key_Escape, Answer::Cancel}}) {
    QTimer timer;  // presses the key once the box is up
    QObject::connect(&timer, &QTimer::timeout, [&timer, key] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        EXPECT_TRUE(box->text() == QStringLiteral("一行目\n二行目") && box->icon() == QMessageBox::NoIcon);
        timer.stop();
        QTest::keyClick(box, key);
      }
    });
    timer.start(10);
    EXPECT_EQ(dialogs.show(u"一行目\r二行目", Buttons::OkCancel, u"確認"), answer);
  }
}

TEST(QtOpener, HandsANameInCodePage932BytesToTheDesktopByThoseBytes) {
  const ScratchFolder scratch("orv-url");
  const fs::path& dir = scratch.path;
  std::ofstream(dir / encodeCp932(u"センタ.xml").bytes) << "<x/>";
  std::ofstream(dir / "東京.xml") << "<y/>";
  const Text folder = fromUtf8(dir.string());
  EXPECT_EQ(fileUrl(folder + u"/センタ.xml").toEncoded().toStdString(),
            "file://" + dir.string() + "/%83Z%83%93%83%5E.xml");
  EXPECT_EQ(fileUrl(folder + u"/東京.xml"), QUrl::fromLocalFile(toQString(folder + u"/東京.xml")));
}

}  // namespace
}  // namespace orv

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
