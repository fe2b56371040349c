#pragma once
// The real dialogs, opener and pointer on Qt.
#include <QString>
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
