#pragma once
// The "convert" command: the window's model driven through the steps a user takes, with the boxes
// printed on standard error instead of shown.
#include <vector>

#include "text/Text.h"

namespace orv {

struct ConvertRequest {
  Text input;  ///< absolute
  Text parent;
  std::vector<Text> fields;  ///< 1 to 9 names; with `header` none, or names over the first record's
  bool header = false;       ///< the first record names the fields and is not converted
  bool webDb = false;
  Text searchField;  ///< one of `fields`, with `webDb`
  Text output;       ///< absolute, ending in ".xml"; empty: beside the input
  bool replace = false;
};

/// Exit status of the command line.
enum ExitStatus { kWritten = 0, kRefused = 1, kUsageError = 2 };

/// Loads, names, converts, switches to WEB_DB mode and picks the search field when asked, and saves.
ExitStatus convertCommand(const ConvertRequest& request);

}  // namespace orv
