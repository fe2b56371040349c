#include "gui/WorkingTextView.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStackedLayout>
#include <QVBoxLayout>
#include <algorithm>

#include "app/Messages.h"
#include "gui/QtPlatform.h"

namespace orv {

LargeTextView::LargeTextView(QWidget* parent) : QAbstractScrollArea(parent) {
  viewport()->setBackgroundRole(QPalette::Base);
  viewport()->setAutoFillBackground(true);
  setFocusPolicy(Qt::StrongFocus);
}

void LargeTextView::setText(const Text* text) {
  text_ = text;
  starts_.clear();
  longest_ = 0;
  if (text_) {
    const Text& t = *text_;
    starts_.push_back(0);
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < t.size(); ++i) {
      char16_t c = t[i];
      if (c == u'\r' || c == u'\n') {
        longest_ = std::max(longest_, i - lineStart);
        if (c == u'\r' && i + 1 < t.size() && t[i + 1] == u'\n') ++i;
        lineStart = i + 1;
        if (lineStart < t.size()) starts_.push_back(lineStart);
      }
    }
    longest_ = std::max(longest_, t.size() - lineStart);
  }
  updateScrollBars();
  verticalScrollBar()->setValue(0);
  horizontalScrollBar()->setValue(0);
  viewport()->update();
}

void LargeTextView::updateScrollBars() {
  const int lineHeight = fontMetrics().lineSpacing();
  const int visible = std::max(1, viewport()->height() / lineHeight);
  const auto lines = static_cast<long long>(starts_.size());
  verticalScrollBar()->setRange(0, static_cast<int>(std::clamp<long long>(lines - visible, 0, INT32_MAX)));
  verticalScrollBar()->setPageStep(visible);
  const int charWidth = fontMetrics().averageCharWidth() * 2;
  const long long width = static_cast<long long>(std::min<std::size_t>(longest_, 100000)) * charWidth;
  horizontalScrollBar()->setRange(0, static_cast<int>(std::max<long long>(0, width - viewport()->width())));
  horizontalScrollBar()->setPageStep(viewport()->width());
}

void LargeTextView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  updateScrollBars();
}

void LargeTextView::paintEvent(QPaintEvent*) {
  if (!text_) return;
  QPainter painter(viewport());
  painter.setPen(palette().color(QPalette::Text));
  const int lineHeight = fontMetrics().lineSpacing();
  const int first = verticalScrollBar()->value();
  const int rows = viewport()->height() / lineHeight + 2;
  const int x = 2 - horizontalScrollBar()->value();
  const Text& t = *text_;
  for (int row = 0; row < rows; ++row) {
    std::size_t line = static_cast<std::size_t>(first) + static_cast<std::size_t>(row);
    if (line >= starts_.size()) break;
    std::size_t begin = starts_[line];
    std::size_t end = line + 1 < starts_.size() ? starts_[line + 1] : t.size();
    while (end > begin && (t[end - 1] == u'\r' || t[end - 1] == u'\n')) --end;
    // Only the part of a very long line that can reach the screen is drawn.
    std::size_t len = std::min<std::size_t>(end - begin, 4000);
    painter.drawText(x, row * lineHeight + fontMetrics().ascent(), toQString(TextView(t).substr(begin, len)));
  }
}

WorkingTextView::WorkingTextView(QWidget* parent) : QWidget(parent) {
  stack_ = new QStackedLayout(this);
  stack_->setContentsMargins(0, 0, 0, 0);
  editor_ = new QPlainTextEdit(this);
  editor_->setLineWrapMode(QPlainTextEdit::NoWrap);
  editor_->installEventFilter(this);
  stack_->addWidget(editor_);
  largePage_ = new QWidget(this);
  auto* column = new QVBoxLayout(largePage_);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  notice_ = new QLabel(largePage_);
  notice_->setStyleSheet(QStringLiteral("background-color: #FFFFC0; padding: 1px 4px;"));
  notice_->setText(toQString(msg::kLargeTextNotice));
  large_ = new LargeTextView(largePage_);
  column->addWidget(notice_);
  column->addWidget(large_);
  stack_->addWidget(largePage_);
  connect(editor_, &QPlainTextEdit::textChanged, this, [this] { edited_ = true; });
}

void WorkingTextView::showText(const Text& text, std::uint64_t version) {
  if (version == shownVersion_) return;
  shownVersion_ = version;
  edited_ = false;
  if (text.size() > kEditableLimit) {
    {
      QSignalBlocker block(editor_);
      editor_->clear();
    }
    large_->setText(&text);
    stack_->setCurrentWidget(largePage_);
    return;
  }
  large_->setText(nullptr);
  // The editor separates lines itself: CR LF and a lone CR show as one line break each.
  QString shown = toQString(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  shown.replace(QChar(u'\r'), QChar(u'\n'));
  QSignalBlocker block(editor_);
  editor_->setPlainText(shown);
  stack_->setCurrentWidget(editor_);
}

Text WorkingTextView::takeEdits() {
  edited_ = false;
  QString typed = editor_->toPlainText();
  typed.replace(QChar(u'\n'), QStringLiteral("\r\n"));
  return fromQString(typed);
}

bool WorkingTextView::isReadOnlyLarge() const { return stack_->currentWidget() == largePage_; }

bool WorkingTextView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == editor_ && event->type() == QEvent::FocusOut && edited_) emit focusLeft();
  return QWidget::eventFilter(watched, event);
}

}  // namespace orv
