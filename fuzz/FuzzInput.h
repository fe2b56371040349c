#pragma once
// What the fuzz targets share: the check that stops a run with its reason, one input cut into values, and
// text as a document or page must hold it.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "text/ShiftJis.h"
#include "text/Text.h"

namespace orv {

inline void check(bool ok, const char* what) {
  if (!ok) std::fprintf(stderr, "fuzz check failed: %s\n", what), std::abort();
}

/// One input cut at every 0xFF byte, which is never part of UTF-8 nor of code page 932 text, so that a
/// seed can be written as text pieces joined by 0xFF. Pieces past the last are empty.
struct Pieces {
  std::vector<std::string_view> all;
  Pieces(const std::uint8_t* data, std::size_t size) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    for (std::size_t cut = 0; cut != rest.npos; rest.remove_prefix(cut + 1))
      all.push_back(rest.substr(0, cut = rest.find('\xFF')));
  }
  std::string_view bytes(std::size_t i) const { return i < all.size() ? all[i] : std::string_view(); }
  /// Piece `i` as UTF-8 (stray bytes are U+FFFD; lone surrogates are reachable), at most `n` units.
  Text text(std::size_t i, std::size_t n = Text::npos) const { return fromUtf8(bytes(i)).substr(0, n); }
  /// `n` bytes of piece `i` from `at`, little-endian; bytes past its end count as 0.
  std::uint64_t number(std::size_t i, std::size_t at, std::size_t n = 1) const {
    std::uint64_t v = 0;
    for (std::size_t k = std::min(at + n, bytes(i).size()); k-- > at;) v = v << 8 | std::uint8_t(bytes(i)[k]);
    return v;
  }
};

/// `value` with "&", "<", ">" (and in an attribute '"' and "[") as references, and what Shift_JIS cannot
/// hold as a numeric one: written character by character, apart from the escaper under test.
inline Text referenced(TextView value, bool attribute = false) {
  Text out;
  for (std::size_t i = 0; i < value.size(); i += codePointAt(value, i).units) {
    const CodePoint p = codePointAt(value, i);
    const TextView c = value.substr(i, p.units);
    char ref[16];
    std::snprintf(ref, sizeof ref, "&#x%X;", static_cast<unsigned>(p.value));
    const Text markup = c == u"&"                 ? u"&amp;"
                        : c == u"<"               ? u"&lt;"
                        : c == u">"               ? u"&gt;"
                        : attribute && c == u"\"" ? u"&quot;"
                        : attribute && c == u"["  ? u"&#91;"
                                                  : Text(c);
    out += encodeCp932(c).ok ? markup : fromUtf8(ref);
  }
  return out;
}

}  // namespace orv

using namespace orv;  // every fuzz target is a file of its own, written in the model's names
