#include "platform/qt/App.h"

#include <QApplication>

namespace orv {
int runApplication(int argc, char** argv) {
  QApplication app(argc, argv);
  return 0;
}
}  // namespace orv
