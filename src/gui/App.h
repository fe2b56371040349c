#pragma once

namespace orv {
/// Start-up: the program's folder becomes the current directory, then the main window is shown.
int runApplication(int argc, char** argv);
}  // namespace orv
