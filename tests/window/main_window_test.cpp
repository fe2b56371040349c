#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "common/Fakes.h"
#include "common/TextTest.h"
#include "gui/MainWindow.h"
#include "gui/QtPlatform.h"
#include "gui/WorkingTextView.h"
#include "text/ShiftJis.h"

namespace orv {
namespace {

namespace fs = std::filesystem;

// The window over a model with scripted dialogs and an in-memory disk.
struct Window : Harness {
  Window() : view(std::make_unique<MainWindow>(f())) {
    view->show();
    view->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(view.get()));
  }
  template <class W>
  W* w(Ctl c) const {
    return qobject_cast<W*>(view->widget(c));
  }
  void click(Ctl c) const { QTest::mouseClick(w<QPushButton>(c), Qt::LeftButton); }
  void type(Ctl c, const Text& text) const { QTest::keyClicks(w<QLineEdit>(c), toQString(text)); }
  std::unique_ptr<MainWindow> view;
};

TEST(MainWindow, TypingAPathAndACountThenOkLoadsTheFileCancelStartsOverAndTypedTextIsTheWorkingText) {
  Window win;
  win.disk.put(u"/data/list.txt", u"\"A1\",\"ペン\",\"120\"\r\n\"B2\",\"ｲﾝｸ\",\"300\"\r\n");
  win.type(kPathBox, u"/data/list.txt");
  win.type(kFieldCountBox, u"9x");  // value 9, but above "9" as text: the load counts the fields
  ASSERT_TRUE(win.view->widget(kLoadButton)->isEnabled());
  win.click(kLoadButton);
  EXPECT_EQ(win.view->textView()->editor()->toPlainText(),
            QStringLiteral("\"A1\",\"ペン\",\"120\"\n\"B2\",\"ｲﾝｸ\",\"300\"\n"));
  EXPECT_EQ(win.w<QLineEdit>(kStatusLine)->text(), QStringLiteral("行数は2行です。"));
  for (int i = 0; i < 9; ++i) EXPECT_EQ(win.view->widget(fieldNameBox(i))->isEnabled(), i < 3) << i;
  EXPECT_TRUE(win.view->widget(kConvertButton)->isEnabled());
  EXPECT_EQ(QApplication::focusWidget(), win.view->widget(kParentNameBox));
  win.type(kParentNameBox, u"items");
  win.type(fieldNameBox(0), u"x");
  win.click(kCancelButton);
  for (Ctl c : {kPathBox, kFieldCountBox, kParentNameBox, fieldNameBox(0), kStatusLine})
    EXPECT_TRUE(win.w<QLineEdit>(c)->text().isEmpty()) << index(c);
  EXPECT_TRUE(win.view->textView()->editor()->toPlainText().isEmpty());
  EXPECT_FALSE(win.view->widget(fieldNameBox(0))->isEnabled());
  EXPECT_FALSE(win.view->widget(kLoadButton)->isEnabled());
  QTest::keyClicks(win.view->textView()->editor(), QStringLiteral("\"x\""));
  QTest::keyClick(win.view->textView()->editor(), Qt::Key_Return);
  QTest::keyClicks(win.view->textView()->editor(), QStringLiteral("\"y\""));
  win.type(kFieldCountBox, u"1");
  EXPECT_TEXT_EQ(win.f().workingText(), u"\"x\"\r\n\"y\"") << "what the user types is the working text";
  EXPECT_TRUE(win.view->widget(kConvertButton)->isEnabled()) << "the count box saw a working text";
}

TEST(MainWindow, AVeryLargeTextShowsReadOnlyWithANotice) {
  Window win;
  Text big;
  big.reserve(kEditableLimit + 100);
  while (big.size() <= kEditableLimit) big += u"\"ｱｲｳｴｵ\",\"0123456789\",\"住所の欄です\"\r\n";
  win.f().setWorkingText(big);
  win.view->refresh();
  EXPECT_TRUE(win.view->textView()->isReadOnlyLarge() && win.view->textView()->notice()->isVisible());
  EXPECT_EQ(win.view->textView()->large()->lineCount(), static_cast<std::size_t>(countOf(big, u'\r')));
}

TEST(MainWindow, FoldersOpenFromTheTreeEachClickOnAFileChoosesItOnceAndEnterInTheFieldListChoosesNothing) {
  Window h;
  h.disk.put(u"/data/pick.txt", u"\"a\",\"b\",\"c\",\"d\"\r\n\"e\"\r\n");
  h.disk.put(u"/data/no.txt", u"\"a lone quote\r\n");
  h.disk.put(u"/data/skip.dat", u"x");
  MainWindow& view = *h.view;
  // Open the root, then /data, from the folder tree, as double-clicks would.
  QListWidget* dirs = view.folderList();
  auto open = [dirs](const QString& path) {
    for (int i = 0; i < dirs->count(); ++i) {
      if (dirs->item(i)->data(Qt::UserRole).toString() != path) continue;
      const QPoint at = dirs->visualItemRect(dirs->item(i)).center();
      QTest::mouseClick(dirs->viewport(), Qt::LeftButton, {}, at);
      QTest::mouseDClick(dirs->viewport(), Qt::LeftButton, {}, at);
      return true;
    }
    return false;
  };
  ASSERT_TRUE(open(QStringLiteral("/")));
  ASSERT_TRUE(open(QStringLiteral("/data")));
  QListWidget* files = view.fileList();
  ASSERT_EQ(files->count(), 2);
  auto clickFile = [files](int i) {
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(files->item(i)).center());
  };
  clickFile(1);
  EXPECT_EQ(qobject_cast<QLineEdit*>(view.widget(kPathBox))->text(), QStringLiteral("/data/pick.txt"));
  EXPECT_EQ(view.textView()->editor()->toPlainText(), QStringLiteral("\"a\",\"b\",\"c\",\"d\""));
  EXPECT_EQ(qobject_cast<QLineEdit*>(view.widget(kFieldCountBox))->text(), QStringLiteral("4"));
  EXPECT_TRUE(view.widget(kLoadButton)->isEnabled());
  EXPECT_TRUE(h.dialogs.shown.empty());
  clickFile(0);
  clickFile(0);
  EXPECT_EQ(h.opener.opened.size(), 2u) << "a click on the chosen file chooses it again, once";

  name(h, u"items", {u"code", u"title"});
  h.f().click(kModeButton);
  view.refresh();
  auto* combo = qobject_cast<QComboBox*>(view.widget(kSearchFieldList));
  h.dialogs.shown.clear();
  QTest::keyClicks(combo, QStringLiteral("title"));
  QTest::keyClick(combo, Qt::Key_Return);
  EXPECT_TRUE(h.dialogs.shown.empty()) << "Enter in the edit part chooses nothing";
  QTest::keyClick(combo, Qt::Key_Down);
  EXPECT_EQ(h.dialogs.texts().size(), 1u) << "an arrow key picks an item";
  QTest::mouseClick(qobject_cast<QPushButton*>(view.widget(kCancelButton)), Qt::LeftButton);
  EXPECT_EQ(combo->currentText(), QString()) << "Cancel empties the list and its edit text";
}

TEST(RealDialogs, ReturnAnswersOkAndEscapeAnswersCancel) {
  QtDialogs dialogs;
  for (const auto& [key, answer] :
       {std::pair{Qt::Key_Return, Answer::Ok}, {Qt::Key_Escape, Answer::Cancel}}) {
    QTimer timer;  // presses the key once the box is up
    QObject::connect(&timer, &QTimer::timeout, [&timer, key] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        EXPECT_EQ(box->text(), QStringLiteral("一行目\n二行目"));
        EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
        timer.stop();
        QTest::keyClick(box, key);
      }
    });
    timer.start(10);
    EXPECT_EQ(dialogs.show(u"一行目\r二行目", Buttons::OkCancel, u"確認"), answer);
  }
}

TEST(QtOpener, HandsANameInCodePage932BytesToTheDesktopByThoseBytes) {
  const fs::path dir = fs::temp_directory_path() / ("orv-url-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  std::ofstream(dir / encodeCp932(u"センタ.xml").bytes) << "<x/>";
  std::ofstream(dir / "東京.xml") << "<y/>";
  const Text folder = fromUtf8(dir.string());
  EXPECT_EQ(fileUrl(folder + u"/センタ.xml").toEncoded().toStdString(),
            "file://" + dir.string() + "/%83Z%83%93%83%5E.xml");
  EXPECT_EQ(fileUrl(folder + u"/東京.xml"), QUrl::fromLocalFile(toQString(folder + u"/東京.xml")));
  fs::remove_all(dir);
}

}  // namespace
}  // namespace orv
