#include "gui/App.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QIcon>
#include <QTimer>
#include <cstdio>

#include "app/Form1.h"
#include "app/Messages.h"
#include "gui/MainWindow.h"
#include "gui/QtPlatform.h"
#include "platform/RealFiles.h"

namespace orv {
namespace {

// Qt ends the process when it cannot reach a display; this says why first, and what works without one.
bool displayReachable() {
  if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) return true;
  if (!qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) return true;
  msg::setLanguage(msg::localeLanguage());
  std::fputs((toUtf8(msg::inLanguage(msg::kNoDisplay)) + "\n").c_str(), stderr);
  msg::setLanguage(msg::Language::Japanese);
  return false;
}

QIcon windowIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256})
    icon.addFile(QStringLiteral(":/icons/%1x%1/apps/orvessa.png").arg(size), QSize(size, size));
  return icon;
}

}  // namespace

int runApplication(int argc, char** argv, const char* file) {
  if (!displayReachable()) return 1;
  // Named relative to where the program was started, before the start-up changes the current folder.
  const QString named =
      file ? QDir::cleanPath(QFileInfo(toQString(pathFromBytes(file))).absoluteFilePath()) : QString();
  QApplication app(argc, argv);
  app.setApplicationName(QStringLiteral("Orvessa108"));
  QApplication::setWindowIcon(windowIcon());
  QFont font = QApplication::font();
  font.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"), font.family()});
  QApplication::setFont(font);

  QtDialogs dialogs;
  RealTextFiles files;
  RealFileSystem fs;
  QtOpener opener;
  QtPointer pointer;
  Form1 form(Platform{dialogs, files, fs, opener, pointer});
  form.startUp();
  MainWindow window(form);
  dialogs.beforeShow = [&window] { window.refresh(); };
  window.show();
  // The size is locked as the window first shows, outer frame included, in twips.
  QTimer::singleShot(0, &window, [&] {
    form.windowLoad();
    if (file) {
      form.openFile(fromQString(named));
      window.refresh();
    }
  });
  return app.exec();
}

}  // namespace orv
