#include "text/Markup.h"

#include <cstdio>

#include "text/ShiftJis.h"

namespace orv {
namespace {

void appendReference(Text& out, char32_t c) {
  char ref[16];
  std::snprintf(ref, sizeof ref, "&#x%X;", static_cast<unsigned>(c));
  out.append(ref, ref + std::char_traits<char>::length(ref));
}

}  // namespace

void appendEscaped(Text& out, TextView text, MarkupEscapes escapes) {
  if (escapes.outsideCp932) {
    // The pieces between the characters code page 932 lacks, found with one scan of its table.
    const MarkupEscapes rest{.quote = escapes.quote, .bracket = escapes.bracket};
    for (;;) {
      const std::size_t lacking = firstOutsideCodePage932(text);
      appendEscaped(out, text.substr(0, lacking), rest);
      if (lacking == TextView::npos) return;
      const CodePoint p = codePointAt(text, lacking);
      appendReference(out, p.value);
      text.remove_prefix(lacking + p.units);
    }
  }
  // Runs of characters that stay as they are go in whole: the record writer passes every value of a
  // large text through here.
  std::size_t run = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    TextView reference;
    switch (text[i]) {
      case u'&':
        reference = u"&amp;";
        break;
      case u'<':
        reference = u"&lt;";
        break;
      case u'>':
        reference = u"&gt;";
        break;
      case u'"':
        if (escapes.quote) reference = u"&quot;";
        break;
      case u'[':
        if (escapes.bracket) reference = u"&#91;";
        break;
      default:
        break;
    }
    if (reference.empty()) continue;
    out.append(text.substr(run, i - run)).append(reference);
    run = i + 1;
  }
  out.append(text.substr(run));
}

Text escapeMarkup(TextView text, MarkupEscapes escapes) {
  Text out;
  out.reserve(text.size());
  appendEscaped(out, text, escapes);
  return out;
}

std::size_t escapeGrowth(TextView text) {
  std::size_t growth = 0;
  for (const char16_t c : text) growth += c == u'&' ? 4 : (c == u'<' || c == u'>') ? 3 : 0;
  return growth;
}

}  // namespace orv
