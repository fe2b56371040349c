#include "gui/QtPlatform.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include "platform/RealFiles.h"

namespace orv {

QString toQString(TextView text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

Text fromQString(const QString& text) {
  return Text(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
}

Answer QtDialogs::show(const Text& text, Buttons buttons, const Text& caption) {
  if (beforeShow) beforeShow();
  QString body = toQString(shownName(text));
  body.replace(QChar(u'\r'), QChar(u'\n'));
  QMessageBox box(QMessageBox::NoIcon, toQString(caption), body, QMessageBox::NoButton,
                  QApplication::activeWindow());
  QPushButton* ok = box.addButton(QMessageBox::Ok);
  QPushButton* cancel = buttons == Buttons::OkCancel ? box.addButton(QMessageBox::Cancel) : nullptr;
  box.setDefaultButton(ok);
  box.setEscapeButton(cancel ? static_cast<QAbstractButton*>(cancel) : ok);
  // A busy pointer must not hide that the program waits for an answer.
  bool busy = QApplication::overrideCursor() != nullptr;
  if (busy) QApplication::setOverrideCursor(Qt::ArrowCursor);
  box.exec();
  if (busy) QApplication::restoreOverrideCursor();
  return box.clickedButton() == ok ? Answer::Ok : Answer::Cancel;
}

QUrl fileUrl(const Text& path) {
  // A name in code page 932 bytes has no text form the desktop could find again: its bytes go
  // into the URL percent-encoded.
  const std::string native = nativePath(path);
  if (native == toUtf8(path) || native.empty() || native.front() != '/')
    return QUrl::fromLocalFile(toQString(path));
  return QUrl::fromEncoded("file://" + QByteArray::fromStdString(native).toPercentEncoding("/"));
}

void QtOpener::open(const Text& path) {
  if (path.empty()) return;
  QDesktopServices::openUrl(fileUrl(path));
}

void QtPointer::setBusy(bool busy) {
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // Let the new pointer reach the screen before the long work starts; no input is handled.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  } else {
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
  }
}

}  // namespace orv
