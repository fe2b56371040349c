#pragma once
// The real dialogs, opener and pointer on Qt.
#include <QString>
#include <QUrl>
#include <functional>

#include "platform/Dialogs.h"
#include "platform/Files.h"

namespace orv {

QString toQString(TextView text);
Text fromQString(const QString& text);

/// Modal boxes with no icon; OK is the default button, Escape answers Cancel; a CR is a line break.
class QtDialogs : public Dialogs {
 public:
  Answer show(const Text& text, Buttons buttons, const Text& caption) override;
  /// Run before each box: the window shows the state the action has reached, so a message between
  /// stages appears over the result of the stage before it.
  std::function<void()> beforeShow;
};

/// The file URL of a path, made of the bytes the file has on disk.
QUrl fileUrl(const Text& path);

/// Hands the path to the desktop's opener and returns at once.
class QtOpener : public Opener {
 public:
  void open(const Text& path) override;
};

/// The busy pointer over the whole application.
class QtPointer : public Pointer {
 public:
  void setBusy(bool busy) override;
};

}  // namespace orv
