#pragma once
// The line rule for reading text files: a line ends at CR or CR LF, the line end is not part of the
// line, an LF alone stays in the line, the last line needs no line end, an empty text has no line.
#include <cstdint>

#include "text/Text.h"

namespace orv {

struct CrLfLines {
  Text text;               ///< every line followed by CR LF
  std::int64_t count = 0;  ///< number of lines
};

/// Every line of `text` followed by CR LF, in one pass.
CrLfLines linesWithCrLf(Text&& text);

}  // namespace orv
