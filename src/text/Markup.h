#pragma once
// Text put into XML or HTML: the characters markup reads as its own become references.
#include <cstddef>

#include "text/Text.h"

namespace orv {

/// What is escaped besides "&", "<" and ">" (always "&amp;", "&lt;", "&gt;").
struct MarkupEscapes {
  bool quote = false;         ///< '"' as "&quot;", for attribute values
  bool bracket = false;       ///< "[" as "&#91;", so that no page placeholder ("[xmldata]") is ever filled
  bool outsideCp932 = false;  ///< characters code page 932 cannot hold as "&#xE9;", so the text can be saved
};

/// Appends `text` to `out` escaped as `escapes` says.
void appendEscaped(Text& out, TextView text, MarkupEscapes escapes = {});

/// `text` escaped as `escapes` says.
Text escapeMarkup(TextView text, MarkupEscapes escapes = {});

/// How many characters escaping "&", "<" and ">" adds to `text`.
std::size_t escapeGrowth(TextView text);

}  // namespace orv
