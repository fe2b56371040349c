#pragma once

namespace orv {
/// The program run with arguments: "convert", "--help" or "--version", without a window or a display.
int runCommandLine(int argc, char** argv);
}  // namespace orv
