#include "text/Lines.h"

namespace orv {

CrLfLines linesWithCrLf(Text&& text) {
  CrLfLines r;
  if (text.empty()) return r;
  // Most files already end each line in CR LF: then only a missing final line end is added and the
  // text is moved, not copied.
  bool onlyCrLf = true;
  std::int64_t crs = 0;
  const std::size_t n = text.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (text[i] == kCr) {
      ++crs;
      if (i + 1 < n && text[i + 1] == kLf) {
        ++i;
      } else {
        onlyCrLf = false;
      }
    }
  }
  const bool endsWithLineEnd = text.back() == kCr || (n >= 2 && text[n - 2] == kCr && text[n - 1] == kLf);
  r.count = crs + (endsWithLineEnd ? 0 : 1);
  if (onlyCrLf) {
    r.text = std::move(text);
    if (!endsWithLineEnd) r.text.append(kCrLf);
    return r;
  }
  r.text.reserve(n + static_cast<std::size_t>(r.count) + 2);
  for (std::size_t i = 0; i < n; ++i) {
    if (text[i] == kCr) {
      r.text.append(kCrLf);
      if (i + 1 < n && text[i + 1] == kLf) ++i;
    } else {
      r.text.push_back(text[i]);
    }
  }
  if (!endsWithLineEnd) r.text.append(kCrLf);
  return r;
}

}  // namespace orv
