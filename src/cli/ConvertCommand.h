#pragma once
// The "convert" command: the window's model driven through the steps a user takes, with the boxes
// printed on standard error instead of shown.
#include <vector>

#include "text/Text.h"

namespace orv {

/// The name that stands for standard input as the input, and for standard output as the output.
inline constexpr TextView kStandardStream = u"-";

struct ConvertRequest {
  Text input;  ///< absolute, or kStandardStream
  Text parent;
  std::vector<Text> fields;  ///< 1 to 9 names; with `header` none, or names over the first record's
  bool header = false;       ///< the first record names the fields and is not converted
  bool webDb = false;
  Text searchField;  ///< one of `fields`, with `webDb`
  Text output;       ///< absolute, ending in ".xml", or kStandardStream; empty: beside the input
  Text page;         ///< absolute, ending in ".htm" or ".html"; empty: where the window writes it
  bool replace = false;
  bool quiet = false;    ///< errors only: no line for a saved document, no progress
  bool several = false;  ///< one of several inputs: a refusal ends with a line naming the input
};

/// Exit status of the command line.
enum ExitStatus { kWritten = 0, kRefused = 1, kUsageError = 2 };

/// Loads, names, converts, switches to WEB_DB mode and picks the search field when asked, and saves.
ExitStatus convertCommand(const ConvertRequest& request);

}  // namespace orv
