#pragma once
// Preparing the loaded text for the record writer: separators out, markup characters escaped.
#include "common/Text.h"

namespace orv {

/// Deletes the commas that stand outside quoted values. Quotes open and close in turn from the start of
/// the text, the same way the record writer counts them, so a comma inside a value ("1,000") is kept.
Text removeCommasOutsideQuotes(TextView text);

/// Every "&" becomes "&amp;", "<" "&lt;" and ">" "&gt;", inside values and between them alike.
/// Double quotes are left alone: the record writer still needs them.
Text escapeMarkup(TextView text);

}  // namespace orv
