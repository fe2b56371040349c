#include "cli/CommandLine.h"
#include "gui/App.h"

// Decided before any application object exists: with arguments the program is a command that needs no
// display; without, it opens its window.
int main(int argc, char** argv) {
  return argc > 1 ? orv::runCommandLine(argc, argv) : orv::runApplication(argc, argv);
}
