#pragma once
// The record writer as its steps read, kept only as a reference for the tests: every search starts at
// the first character of the whole text and every quote is replaced where it stands. Quadratic, so only
// for small texts. Its output is what the one-pass writer must reproduce.
#include <vector>

#include "text/Text.h"

namespace orv::literal {

/// Replaces the first double quote of the whole text, searched from its very start; false when none.
inline bool replaceFirstQuote(Text& text, const Text& replacement) {
  const std::size_t at = text.find(u'"');
  if (at != Text::npos) text = text.substr(0, at) + replacement + text.substr(at + 1);
  return at != Text::npos;
}

/// Each record: the first quote of the whole text opens the first field's tag (and the record's), the
/// next closes it, and so on; it stops where a quote it needs is missing.
inline Text writeRecords(Text text, const std::vector<Text>& names) {
  const std::size_t k = names.size();
  for (bool stalled = false; !stalled && text.find(u'"') != Text::npos;) {
    for (std::size_t i = 1; i <= k && !stalled; ++i) {
      stalled = !replaceFirstQuote(text, (i == 1 ? u"<mivoxml><" : u"<") + names[i - 1] + u">") ||
                !replaceFirstQuote(text, u"</" + names[i - 1] + (i == k ? u"></mivoxml>" : u">"));
    }
  }
  return text;
}

/// Replace-all as the steps read: scan from the first character, replace, continue after the insertion.
inline Text replaceAll(Text text, const Text& from, const Text& to) {
  std::size_t position = text.find(from);
  while (position != Text::npos) {
    text = text.substr(0, position) + to + text.substr(position + from.size());
    position = text.find(from, position + to.size());
  }
  return text;
}

/// The steps before the writer: the commas outside quoted values deleted (quotes open and close in
/// turn from the start of the text), then every "&", "<" and ">" escaped.
inline Text prepare(const Text& text) {
  Text out;
  bool inside = false;
  for (const char16_t c : text) {
    inside = c == u'"' ? !inside : inside;
    if (c == u',' && !inside) continue;
    out += c == u'&' ? Text(u"&amp;") : c == u'<' ? Text(u"&lt;") : c == u'>' ? Text(u"&gt;") : Text(1, c);
  }
  return out;
}

/// The document body as the steps give it for a text whose records are all complete.
inline Text documentBody(const Text& text, const std::vector<Text>& names) {
  const Text opened = replaceAll(writeRecords(prepare(text), names), u"<mivoxml>", u"<mivoxml>\r\n");
  return replaceAll(opened, u"</mivoxml>", u"\r\n</mivoxml>\r\n");
}

}  // namespace orv::literal
