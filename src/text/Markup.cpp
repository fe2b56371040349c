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
  for (std::size_t i = 0; i < text.size();) {
    const char16_t c = text[i];
    switch (c) {
      case u'&':
        out.append(u"&amp;");
        break;
      case u'<':
        out.append(u"&lt;");
        break;
      case u'>':
        out.append(u"&gt;");
        break;
      case u'"':
        out.append(escapes.quote ? u"&quot;" : u"\"");
        break;
      case u'[':
        out.append(escapes.bracket ? u"&#91;" : u"[");
        break;
      default:
        if (escapes.outsideCp932 && !encodeCp932(TextView(&text[i], 1)).ok) {
          const CodePoint p = codePointAt(text, i);
          appendReference(out, p.value);
          i += p.units;
          continue;
        }
        out.push_back(c);
    }
    ++i;
  }
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
