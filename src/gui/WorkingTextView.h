#pragma once
// The working text on screen. Up to kEditableLimit characters it is an editable plain text view;
// above that, a read-only view that lays out only the visible lines, with a notice saying so, so a
// file of a hundred megabytes shows at once.
#include <QAbstractScrollArea>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "text/Text.h"

class QPlainTextEdit;
class QLabel;
class QStackedLayout;

namespace orv {

inline constexpr std::size_t kEditableLimit = 4'000'000;

/// Read-only view of a large text: keeps an index of line starts and paints the visible lines only.
class LargeTextView : public QAbstractScrollArea {
  Q_OBJECT
 public:
  explicit LargeTextView(QWidget* parent = nullptr);
  /// Shows `text`, which must outlive the view's use of it (the model owns it).
  void setText(const Text* text);
  std::size_t lineCount() const { return starts_.size(); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void updateScrollBars();
  const Text* text_ = nullptr;
  std::vector<std::size_t> starts_;
  std::size_t longest_ = 0;
};

class WorkingTextView : public QWidget {
  Q_OBJECT
 public:
  explicit WorkingTextView(QWidget* parent = nullptr);
  /// Shows the model's working text; skipped when `version` was shown already.
  void showText(const Text& text, std::uint64_t version);
  /// True once the user has typed into the editable view since the last showText().
  bool edited() const { return edited_; }
  /// The text the user sees, line breaks as CR LF; clears the edited flag.
  Text takeEdits();
  bool isReadOnlyLarge() const;
  /// Records that the model's text at `version` is what the view already shows (after an edit).
  void markShown(std::uint64_t version) { shownVersion_ = version; }
  QPlainTextEdit* editor() const { return editor_; }
  LargeTextView* large() const { return large_; }
  QLabel* notice() const { return notice_; }

 signals:
  void focusLeft();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPlainTextEdit* editor_;
  LargeTextView* large_;
  QLabel* notice_;
  QWidget* largePage_;
  QStackedLayout* stack_;
  std::uint64_t shownVersion_ = UINT64_MAX;
  bool edited_ = false;
};

}  // namespace orv
