#pragma once
// The record writer as its steps read, kept only as a reference for the tests: every search starts at
// the first character of the whole text and every quote is replaced where it stands. Quadratic, so only
// for small texts. Its output is what the one-pass writer must reproduce.
#include <cstdint>
#include <vector>

#include "text/Text.h"

namespace orv::literal {

struct Outcome {
  Text text;
  std::int64_t records = 0;
  bool stalled = false;  ///< a record was begun but a quote it needed was not there
};

/// Position of the first double quote, from the very start of the text.
inline std::size_t firstQuote(const Text& text) { return text.find(u'"'); }

/// text = the characters before `at` + replacement + the characters after `at`.
inline void replaceCharAt(Text& text, std::size_t at, const Text& replacement) {
  text = text.substr(0, at) + replacement + text.substr(at + 1);
}

inline Outcome writeRecords(Text text, const std::vector<Text>& names) {
  Outcome out;
  const std::size_t k = names.size();
  while (true) {
    std::size_t position = firstQuote(text);
    if (position == Text::npos) break;
    for (std::size_t i = 1; i <= k; ++i) {
      const Text& name = names[i - 1];
      if (i > 1) position = firstQuote(text);
      if (position == Text::npos) {
        out.stalled = true;
        out.text = text;
        return out;
      }
      replaceCharAt(text, position, (i == 1 ? u"<mivoxml><" : u"<") + name + u">");
      position = firstQuote(text);
      if (position == Text::npos) {
        out.stalled = true;
        out.text = text;
        return out;
      }
      replaceCharAt(text, position, u"</" + name + (i == k ? u"></mivoxml>" : u">"));
    }
    ++out.records;
  }
  out.text = text;
  return out;
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

inline Text breakRecordOpenTags(const Text& text) { return replaceAll(text, u"<mivoxml>", u"<mivoxml>\r\n"); }

inline Text breakRecordCloseTags(const Text& text) {
  return replaceAll(text, u"</mivoxml>", u"\r\n</mivoxml>\r\n");
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
  return breakRecordCloseTags(breakRecordOpenTags(writeRecords(prepare(text), names).text));
}

}  // namespace orv::literal
