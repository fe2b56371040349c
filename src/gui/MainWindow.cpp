#include "gui/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <cmath>

#include "app/Messages.h"
#include "gui/QtPlatform.h"
#include "gui/WorkingTextView.h"

namespace orv {

enum class Kind { Frame, Label, LineEdit, Button, Combo, DriveList, DirList, FileList, View };
enum class Parent { Window, Frame1, Frame2 };

/// Where and how a control of the window's design is shown.
struct Place {
  Ctl control;
  Kind kind;
  Parent parent;
  int left, top, width, height;  // twips
  const char* textColour;        // null: the platform's
  bool bold;
  double points;     // 0: the window's default size
  const char* face;  // null: the window's default face
  const char16_t* toolTip;
};

namespace {

// "ＭＳ Ｐゴシック" is shown with the proportional IPA Gothic, the Japanese face installed with the tool.
constexpr const char* kPGothic = "IPAPGothic";

// One control a line, in twips as the design gives them.
// clang-format off
constexpr Place kPlaces[] = {
    {Ctl::Frame1, Kind::Frame, Parent::Window, 120, 120, 5895, 1815, nullptr, false, 0, nullptr, nullptr},
    {Ctl::Text5, Kind::LineEdit, Parent::Frame1, 120, 360, 2895, 270, nullptr, false, 0, nullptr, nullptr},
    {Ctl::Drive1, Kind::DriveList, Parent::Frame1, 3120, 360, 2655, 300, nullptr, false, 0, nullptr, nullptr},
    {Ctl::Dir1, Kind::DirList, Parent::Frame1, 3120, 720, 2655, 930, nullptr, false, 0, nullptr, nullptr},
    {Ctl::File1, Kind::FileList, Parent::Frame1, 120, 720, 2895, 990, nullptr, false, 0, nullptr, nullptr},
    {Ctl::Label3, Kind::Label, Parent::Window, 6120, 120, 3555, 195, "#FF0000", true, 0, kPGothic, nullptr},
    {Ctl::Label4, Kind::Label, Parent::Window, 6120, 480, 1185, 285, "#0000FF", false, 11.25, kPGothic, nullptr},
    {Ctl::Text1, Kind::LineEdit, Parent::Window, 7320, 480, 855, 330, nullptr, false, 11.25, "Arial Black", nullptr},
    {Ctl::Command1, Kind::Button, Parent::Window, 8160, 480, 615, 375, nullptr, false, 0, nullptr,
     msg::kLoadButtonTip.data()},
    {Ctl::Command10, Kind::Button, Parent::Window, 9120, 360, 2055, 735, nullptr, true, 9.75, kPGothic, nullptr},
    {Ctl::Command9, Kind::Button, Parent::Window, 6120, 1320, 1575, 375, nullptr, false, 0, nullptr, nullptr},
    {Ctl::Frame2, Kind::Frame, Parent::Window, 7800, 1080, 2655, 855, nullptr, false, 0, nullptr, nullptr},
    {Ctl::Label5, Kind::Label, Parent::Frame2, 120, 240, 2415, 240, nullptr, false, 0, nullptr, nullptr},
    {Ctl::Combo1, Kind::Combo, Parent::Frame2, 120, 480, 2415, 300, nullptr, false, 0, nullptr, nullptr},
    {Ctl::Label2, Kind::Label, Parent::Window, 7680, 2160, 600, 240, "#FF0000", false, 0, nullptr, nullptr},
    {Ctl::Text4, Kind::LineEdit, Parent::Window, 8400, 2145, 2535, 270, nullptr, false, 0, nullptr, nullptr},
    {Ctl::RichTextBox1, Kind::View, Parent::Window, 120, 2040, 7335, 5295, nullptr, false, 0, nullptr, nullptr},
    {Ctl::Command4, Kind::Button, Parent::Window, 9000, 5760, 1335, 375, nullptr, false, 0, nullptr, nullptr},
    {Ctl::Text7, Kind::LineEdit, Parent::Window, 8280, 6240, 2535, 285, nullptr, false, 9.75, nullptr, nullptr},
    {Ctl::Command8, Kind::Button, Parent::Window, 8160, 6720, 2775, 615, nullptr, true, 11.25, kPGothic, nullptr},
    {Ctl::Command3, Kind::Button, Parent::Window, 360, 7320, 1455, 375, nullptr, false, 0, nullptr, nullptr},
    {Ctl::Command5, Kind::Button, Parent::Window, 1920, 7320, 1575, 375, nullptr, false, 0, nullptr, nullptr},
    {Ctl::Command7, Kind::Button, Parent::Window, 3600, 7320, 1215, 375, nullptr, false, 0, nullptr,
     msg::kViewButtonTip.data()},
    {Ctl::Command6, Kind::Button, Parent::Window, 6720, 7320, 735, 375, nullptr, false, 0, nullptr, nullptr},
};
// clang-format on

int px(int twips) { return static_cast<int>(std::lround(twips / 15.0)); }
QRect rectOf(int left, int top, int width, int height) {
  return QRect(px(left), px(top), px(width), px(height));
}

QString hex(Colour c) { return QStringLiteral("#%1").arg(c, 6, 16, QLatin1Char('0')); }

// Buttons with a colour show it as their face; a border keeps the style from shading it.
constexpr Colour kUncoloured = 0xE0E0E0;
constexpr Colour kNoColourShown = 0xFFFFFFFF;  // no 0xRRGGBB value: every first colour is shown

QString buttonStyle(Colour c) {
  if (c == kUncoloured) return {};
  return QStringLiteral(
             "QPushButton { background-color: %1; border: 1px solid #808080; }"
             "QPushButton:disabled { color: #808080; }"
             "QPushButton:focus { border: 2px solid #202020; }")
      .arg(hex(c));
}

QString editStyle(Colour c) {
  return QStringLiteral("QLineEdit { background-color: %1; border: 1px solid #808080; }").arg(hex(c));
}

/// Refills a combo box only when its items differ, so that an unchanged list keeps its state.
void setItems(QComboBox* combo, const std::vector<Text>& items) {
  QStringList wanted;
  for (const Text& t : items) wanted << toQString(t);
  QStringList shown;
  for (int i = 0; i < combo->count(); ++i) shown << combo->itemText(i);
  if (wanted == shown) return;
  combo->clear();
  combo->addItems(wanted);
}

void setTextIfDifferent(QLineEdit* edit, const QString& text) {
  if (edit->text() != text) edit->setText(text);
}

bool sameItems(QListWidget* list, const std::vector<Text>& items) {
  if (list->count() != static_cast<int>(items.size())) return false;
  for (int i = 0; i < list->count(); ++i)
    if (list->item(i)->data(Qt::UserRole).toString() != toQString(items[static_cast<std::size_t>(i)]))
      return false;
  return true;
}

// The folder list as a tree: the folders from the root down to the open one, then its sub-folders.
std::vector<std::pair<Text, int>> folderTree(const Text& folder, const std::vector<Text>& subFolders) {
  std::vector<std::pair<Text, int>> rows;
  rows.push_back({u"/", 0});
  std::size_t pos = 1;
  int depth = 1;
  while (pos < folder.size()) {
    std::size_t next = folder.find(u'/', pos);
    if (next == Text::npos) next = folder.size();
    rows.push_back({folder.substr(0, next), depth++});
    pos = next + 1;
  }
  for (const Text& name : subFolders) rows.push_back({joinPath(folder, name), depth});
  return rows;
}

}  // namespace

MainWindow::MainWindow(Form1& form, QWidget* parent) : QWidget(parent), form_(form) {
  setWindowTitle(toQString(msg::kWindowTitle));
  setFixedSize(kClientWidth, kClientHeight);
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QColor(0xE0, 0xE0, 0xE0));
  setPalette(pal);
  shownBackground_.fill(kNoColourShown);
  build();
  refresh();
}

void MainWindow::build() {
  for (const Place& p : kPlaces) widgets_[static_cast<std::size_t>(index(p.control))] = makeWidget(p);
  addFieldNameBoxes();
  addCredit();
  setWorkTabOrder();
}

QWidget* MainWindow::makeWidget(const Place& p) {
  QWidget* parent = this;
  if (p.parent == Parent::Frame1) parent = widget(kTextFileFrame);
  if (p.parent == Parent::Frame2) parent = widget(kSearchFieldFrame);
  QWidget* w = nullptr;
  const Ctl c = p.control;
  switch (p.kind) {
    case Kind::Frame: {
      if (c == kTextFileFrame) {
        auto* box = new QGroupBox(parent);
        box->setStyleSheet(
            QStringLiteral("QGroupBox { background-color: #FFFFFF; border: 1px solid #A0A0A0;"
                           " margin-top: 6px; } QGroupBox::title { subcontrol-origin: margin;"
                           " left: 6px; padding: 0 2px; background-color: #FFFFFF; }"));
        w = box;
      } else {
        auto* frame = new QFrame(parent);
        frame->setFrameShape(QFrame::NoFrame);
        w = frame;
      }
      break;
    }
    case Kind::Label:
      w = new QLabel(parent);
      break;
    case Kind::LineEdit: {
      auto* edit = new QLineEdit(parent);
      connect(edit, &QLineEdit::textEdited, this, [this, c](const QString& t) { onEdited(c, t); });
      w = edit;
      break;
    }
    case Kind::Button: {
      auto* button = new QPushButton(parent);
      button->setAutoDefault(false);
      connect(button, &QPushButton::clicked, this, [this, c] { onClick(c); });
      w = button;
      break;
    }
    case Kind::Combo: {
      auto* combo = new QComboBox(parent);
      combo->setEditable(true);
      combo->setInsertPolicy(QComboBox::NoInsert);
      // A field is chosen from the list only (mouse or arrow keys): no completion of typed text,
      // and Enter in the edit part is taken by the window's filter.
      combo->setCompleter(nullptr);
      combo->installEventFilter(this);
      combo->lineEdit()->installEventFilter(this);
      connect(combo, &QComboBox::activated, this, &MainWindow::onComboChosen);
      connect(combo->lineEdit(), &QLineEdit::textEdited, this,
              [this](const QString& t) { onEdited(kSearchFieldList, t); });
      w = combo;
      break;
    }
    case Kind::DriveList:
      drive1_ = new QComboBox(parent);
      connect(drive1_, &QComboBox::activated, this, &MainWindow::onDriveChosen);
      w = drive1_;
      break;
    case Kind::DirList:
      dir1_ = new QListWidget(parent);
      connect(dir1_, &QListWidget::itemActivated, this, &MainWindow::onFolderActivated);
      w = dir1_;
      break;
    case Kind::FileList:
      file1_ = new QListWidget(parent);
      connect(file1_, &QListWidget::currentRowChanged, this, &MainWindow::onFileChosen);
      // A click on the file already chosen does not move the current row: the click chooses it again.
      connect(file1_, &QListWidget::itemClicked, this, &MainWindow::onFileClicked);
      file1_->viewport()->installEventFilter(this);
      w = file1_;
      break;
    case Kind::View:
      textView_ = new WorkingTextView(parent);
      connect(textView_, &WorkingTextView::focusLeft, this, &MainWindow::syncWorkingText);
      w = textView_;
      break;
  }
  w->setGeometry(rectOf(p.left, p.top, p.width, p.height));
  QFont font = w->font();
  if (p.face) font.setFamilies({QString::fromLatin1(p.face), QStringLiteral("IPAGothic")});
  if (p.points > 0) font.setPointSizeF(p.points);
  font.setBold(p.bold);
  w->setFont(font);
  if (p.textColour) w->setStyleSheet(QStringLiteral("color: %1;").arg(QString::fromLatin1(p.textColour)));
  if (p.toolTip) w->setToolTip(toQString(p.toolTip));
  return w;
}

void MainWindow::addFieldNameBoxes() {
  for (int i = 0; i < kNameBoxes; ++i) {
    auto* label = new QLabel(this);
    label->setGeometry(rectOf(7800, 2520 + 360 * i, 510, 240));
    label->setStyleSheet(QStringLiteral("QLabel { color: #0000FF; } QLabel:disabled { color: #8080C0; }"));
    widgets_[static_cast<std::size_t>(index(fieldNameLabel(i)))] = label;
    auto* edit = new QLineEdit(this);
    edit->setGeometry(rectOf(8400, 2520 + 360 * i, 2535, 270));
    const Ctl c = fieldNameBox(i);
    connect(edit, &QLineEdit::textEdited, this, [this, c](const QString& t) { onEdited(c, t); });
    widgets_[static_cast<std::size_t>(index(c))] = edit;
  }
}

void MainWindow::addCredit() {
  auto* credit = new QLabel(toQString(msg::kCredit), this);
  credit->setObjectName(QStringLiteral("credit"));
  credit->setGeometry(rectOf(7920, 7440, 3135, 255));
  credit->setStyleSheet(QStringLiteral("color: #606060;"));
}

void MainWindow::setWorkTabOrder() {
  // Tab order follows the work: path, count, OK, names, conversion, save.
  QWidget* order[] = {widget(kPathBox),
                      drive1_,
                      dir1_,
                      file1_,
                      widget(kFieldCountBox),
                      widget(kLoadButton),
                      widget(kFirstTimeButton),
                      widget(kModeButton),
                      widget(kSearchFieldList),
                      widget(kParentNameBox)};
  for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
  QWidget* last = widget(kParentNameBox);
  for (int i = 0; i < kNameBoxes; ++i) {
    setTabOrder(last, widget(fieldNameBox(i)));
    last = widget(fieldNameBox(i));
  }
  for (Ctl c :
       {kConvertButton, kTextView, kSaveButton, kCancelButton, kViewButton, kExitButton, kHowToButton}) {
    setTabOrder(last, widget(c));
    last = widget(c);
  }
}

void MainWindow::showBackground(QWidget* w, Ctl c, QString (*style)(Colour)) {
  Colour& shown = shownBackground_[static_cast<std::size_t>(index(c))];
  if (shown == form_.background(c)) return;
  shown = form_.background(c);
  w->setStyleSheet(style(shown));
}

void MainWindow::refresh() {
  refreshing_ = true;
  for (int i = 0; i < kControlCount; ++i) {
    const Ctl c = static_cast<Ctl>(i);
    QWidget* w = widgets_[static_cast<std::size_t>(i)];
    if (!w) continue;
    QSignalBlocker block(w);
    w->setEnabled(form_.enabled(c));
    w->setVisible(form_.visible(c));
    if (c == kTextView) continue;  // the working text has its own view, shown below
    const QString text = toQString(form_.text(c));
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
      // The status line is narrower than what it may say ("行数は3行です。（シート「名簿」、ほか2シート）"):
      // it shows its beginning, the line count, and the whole text when pointed at.
      if (c == kStatusLine && edit->text() != text) {
        edit->setText(text);
        edit->setCursorPosition(0);
        edit->setToolTip(text);
      }
      setTextIfDifferent(edit, text);
      if (c >= Ctl::Text2_0 && c <= Ctl::Text2_8) showBackground(edit, c, editStyle);
    } else if (auto* button = qobject_cast<QPushButton*>(w)) {
      button->setText(text);
      showBackground(button, c, buttonStyle);
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
      label->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
      group->setTitle(text);
    }
  }
  {
    auto* combo = static_cast<QComboBox*>(widget(kSearchFieldList));
    QSignalBlocker block(combo);
    QSignalBlocker blockEdit(combo->lineEdit());
    setItems(combo, form_.comboItems());
    combo->setEditText(toQString(form_.text(kSearchFieldList)));
  }
  {
    QSignalBlocker block(drive1_);
    setItems(drive1_, form_.driveList);
    drive1_->setCurrentIndex(drive1_->findText(toQString(form_.drive)));
  }
  {
    QSignalBlocker block(dir1_);
    auto rows = folderTree(form_.folder, form_.folderList);
    std::vector<Text> paths;
    for (const auto& r : rows) paths.push_back(r.first);
    if (!sameItems(dir1_, paths)) {
      dir1_->clear();
      for (const auto& [path, depth] : rows) {
        Text name = path == u"/" ? path : path.substr(path.rfind(u'/') + 1);
        auto* item =
            new QListWidgetItem(QString(depth * 2, QLatin1Char(' ')) + toQString(shownName(name)), dir1_);
        item->setData(Qt::UserRole, toQString(path));
        if (path == form_.folder) dir1_->setCurrentItem(item);
      }
      if (dir1_->currentItem()) dir1_->scrollToItem(dir1_->currentItem());
    }
  }
  {
    QSignalBlocker block(file1_);
    if (!sameItems(file1_, form_.fileList)) {
      file1_->clear();
      for (const Text& name : form_.fileList) {
        auto* item = new QListWidgetItem(toQString(shownName(name)), file1_);
        item->setData(Qt::UserRole, toQString(name));
      }
    }
    const auto& files = form_.fileList;
    auto it = std::find(files.begin(), files.end(), form_.chosenFile);
    file1_->setCurrentRow(it == files.end() ? -1 : static_cast<int>(it - files.begin()));
  }
  textView_->showText(form_.workingText(), form_.workingTextVersion());
  if (form_.focusRequests() != lastFocusRequest_) {
    lastFocusRequest_ = form_.focusRequests();
    if (QWidget* w = widget(form_.focus()); w && w->isVisible() && w->isEnabled()) w->setFocus();
  }
  refreshing_ = false;
}

void MainWindow::syncWorkingText() {
  if (!textView_->edited()) return;
  form_.textEdited(kTextView, textView_->takeEdits());
  textView_->markShown(form_.workingTextVersion());
}

void MainWindow::onClick(Ctl c) {
  syncWorkingText();
  if (c == kExitButton) {
    QCoreApplication::quit();
    return;
  }
  form_.click(c);
  refresh();
}

void MainWindow::onEdited(Ctl c, const QString& text) {
  if (refreshing_) return;
  syncWorkingText();
  form_.textEdited(c, fromQString(text));
  refresh();
}

void MainWindow::onFileChosen(int row) {
  if (refreshing_ || row < 0 || row >= static_cast<int>(form_.fileList.size())) return;
  syncWorkingText();
  form_.fileChoice(form_.fileList[static_cast<std::size_t>(row)]);
  refresh();
}

void MainWindow::onFileClicked(QListWidgetItem* item) {
  const int row = file1_->row(item);
  // A press that moved the current row has already run the choice for this click.
  if (row == fileRowAtPress_) onFileChosen(row);
}

void MainWindow::onFolderActivated(QListWidgetItem* item) {
  if (refreshing_ || !item) return;
  syncWorkingText();
  form_.folderChange(fromQString(item->data(Qt::UserRole).toString()));
  refresh();
}

void MainWindow::onDriveChosen(int row) {
  if (refreshing_ || row < 0 || row >= static_cast<int>(form_.driveList.size())) return;
  syncWorkingText();
  form_.driveChange(form_.driveList[static_cast<std::size_t>(row)]);
  refresh();
}

void MainWindow::onComboChosen(int row) {
  if (refreshing_) return;
  syncWorkingText();
  form_.chooseSearchField(row);
  refresh();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (file1_ && watched == file1_->viewport() && event->type() == QEvent::MouseButtonPress)
    fileRowAtPress_ = file1_->currentRow();
  // Enter in the search-field list's edit part would choose the item that matches the typed text.
  auto* combo = qobject_cast<QComboBox*>(widget(kSearchFieldList));
  if (combo && (watched == combo || watched == combo->lineEdit()) && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) return true;
  }
  return QWidget::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w != this && w->isVisible()) w->close();
  event->accept();
  QCoreApplication::quit();
}

}  // namespace orv
