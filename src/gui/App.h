#pragma once

namespace orv {
/// Start-up: the program's folder becomes the current directory, then the main window is shown; a
/// `file` named on the command line (as the desktop opens a file with the program) is then opened.
/// Without a display to show the window on, one line says so and the program ends with status 1.
int runApplication(int argc, char** argv, const char* file = nullptr);
}  // namespace orv
