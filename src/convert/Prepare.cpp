#include "convert/Prepare.h"

#include <cstddef>

namespace orv {

Text removeCommasOutsideQuotes(TextView text) {
  Text out;
  out.reserve(text.size());
  bool insideValue = false;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == kQuote) {
      insideValue = !insideValue;
    } else if (c == u',' && !insideValue) {
      out.append(text.substr(start, i - start));
      start = i + 1;
    }
  }
  out.append(text.substr(start));
  return out;
}

namespace {

TextView entityFor(char16_t c) {
  switch (c) {
    case u'&':
      return u"&amp;";
    case u'<':
      return u"&lt;";
    case u'>':
      return u"&gt;";
    default:
      return {};
  }
}

}  // namespace

Text escapeMarkup(TextView text) {
  // Sized first so that the result is allocated exactly once.
  std::size_t size = text.size();
  for (const char16_t c : text) {
    const TextView entity = entityFor(c);
    if (!entity.empty()) size += entity.size() - 1;
  }
  if (size == text.size()) return Text(text);

  Text out;
  out.reserve(size);
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const TextView entity = entityFor(text[i]);
    if (entity.empty()) continue;
    out.append(text.substr(start, i - start));
    out.append(entity);
    start = i + 1;
  }
  out.append(text.substr(start));
  return out;
}

}  // namespace orv
