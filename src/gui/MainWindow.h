#pragma once
// The main window: a thin view over Form1. It forwards what the user does and shows the model's state;
// it decides nothing.
#include <QWidget>
#include <array>

#include "app/Form1.h"

class QComboBox;
class QListWidget;
class QListWidgetItem;

namespace orv {

class WorkingTextView;
struct Place;

class MainWindow : public QWidget {
  Q_OBJECT
 public:
  explicit MainWindow(Form1& form, QWidget* parent = nullptr);
  /// The widget that shows a control; null for the hidden holders of text.
  QWidget* widget(Ctl c) const { return widgets_[static_cast<std::size_t>(index(c))]; }
  WorkingTextView* textView() const { return textView_; }
  QListWidget* folderList() const { return dir1_; }
  QListWidget* fileList() const { return file1_; }
  QComboBox* driveList() const { return drive1_; }
  /// Pushes the whole model state into the widgets.
  void refresh();
  /// The window is fixed at its client size: 751 x 519 pixels.
  static constexpr int kClientWidth = 751;
  static constexpr int kClientHeight = 519;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void build();
  QWidget* makeWidget(const Place& place);
  void addFieldNameBoxes();
  void addCredit();
  void setWorkTabOrder();
  /// Sets a style sheet for a control's background colour only when that colour changed.
  void showBackground(QWidget* w, Ctl c, QString (*style)(Colour));
  /// Hands the user's edits of the text view to the model before any other event reaches it.
  void syncWorkingText();
  void onClick(Ctl c);
  void onEdited(Ctl c, const QString& text);
  void onFileChosen(int row);
  void onFileClicked(QListWidgetItem* item);
  void onFolderActivated(QListWidgetItem* item);
  void onDriveChosen(int row);
  void onComboChosen(int row);

  Form1& form_;
  std::array<QWidget*, kControlCount> widgets_{};
  WorkingTextView* textView_ = nullptr;
  QComboBox* drive1_ = nullptr;
  QListWidget* dir1_ = nullptr;
  QListWidget* file1_ = nullptr;
  bool refreshing_ = false;
  int fileRowAtPress_ = -1;  ///< the file list's current row when the mouse went down on it
  std::uint64_t lastFocusRequest_ = 0;
  std::array<Colour, kControlCount> shownBackground_;
};

}  // namespace orv
