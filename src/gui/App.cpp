#include "gui/App.h"

#include <QApplication>
#include <QFont>
#include <QTimer>

#include "app/Form1.h"
#include "gui/MainWindow.h"
#include "gui/QtPlatform.h"
#include "platform/RealFiles.h"

namespace orv {

int runApplication(int argc, char** argv) {
  QApplication app(argc, argv);
  app.setApplicationName(QStringLiteral("Orvessa108"));
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
  QTimer::singleShot(0, &window, [&] { form.windowLoad(); });
  return app.exec();
}

}  // namespace orv
