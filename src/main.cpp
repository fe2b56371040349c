#include <string_view>

#include "cli/CommandLine.h"
#include "gui/App.h"

// Decided before any application object exists: a command or an option makes the program a command
// that needs no display; nothing, or one file (as the desktop opens a file with the program), opens its
// window.
int main(int argc, char** argv) {
  const bool oneFile = argc == 2 && argv[1][0] != '-' && std::string_view(argv[1]) != "convert";
  if (argc > 1 && !oneFile) return orv::runCommandLine(argc, argv);
  return orv::runApplication(argc, argv, oneFile ? argv[1] : nullptr);
}
