#pragma once
// Where the save puts the XML document.
#include "text/Text.h"

namespace orv {

/// The XML document's path for a list's path: only a final ".txt", ".csv" or ".xlsx", in any letter
/// case, becomes ".xml"; a path that already names the document (a second save) stays; any other path gets
/// ".xml" added, so the document never replaces the text it was made from.
Text xmlPathFor(const Text& textPath);

}  // namespace orv
