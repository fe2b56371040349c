#pragma once
// The record writer as its steps read, a reference the one-pass writer must reproduce: every search starts
// at the first character of the whole text, every quote is replaced where it stands. Quadratic.
#include <vector>

#include "text/Text.h"

namespace orv::literal {

inline bool replaceFirstQuote(Text& text, const Text& replacement) {
  const std::size_t at = text.find(u'"');
  if (at != Text::npos) text.replace(at, 1, replacement);
  return at != Text::npos;
}

/// The body for complete records: commas outside quoted values deleted, "&", "<" and ">" escaped; then the
/// first quote opens the first field's tag (and the record's, on a line of its own), the next closes it,
/// and so on; it stops where a quote is missing.
inline Text documentBody(const Text& source, const std::vector<Text>& names) {
  Text text;
  bool inside = false;
  for (const char16_t c : source) {
    inside ^= c == u'"';
    if (c != u',' || inside)
      text += c == u'&' ? u"&amp;" : c == u'<' ? u"&lt;" : c == u'>' ? u"&gt;" : Text(1, c);
  }
  for (std::size_t i = 0, k = names.size(); text.find(u'"') != Text::npos; i = (i + 1) % k)
    if (!replaceFirstQuote(text, (i == 0 ? u"<mivoxml>\r\n<" : u"<") + names[i] + u">") ||
        !replaceFirstQuote(text, u"</" + names[i] + (i + 1 == k ? u">\r\n</mivoxml>\r\n" : u">")))
      break;
  return text;
}

}  // namespace orv::literal
