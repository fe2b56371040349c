#pragma once
// What the fuzz targets share: the check that stops a run with its reason, and one input cut into values.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "text/Text.h"

namespace orv {

/// Stops the run (libFuzzer keeps the input) when `ok` is false.
inline void check(bool ok, const char* what) {
  if (!ok) std::fprintf(stderr, "fuzz check failed: %s\n", what), std::abort();
}

/// One input cut at every 0xFF byte: that byte is never part of UTF-8 text nor of code page 932, so a
/// seed can be written as plain text pieces joined by 0xFF. Pieces past the last are empty.
struct Pieces {
  std::vector<std::string_view> all;
  Pieces(const std::uint8_t* data, std::size_t size) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    for (std::size_t cut = 0; cut != rest.npos; rest.remove_prefix(cut + 1))
      all.push_back(rest.substr(0, cut = rest.find('\xFF')));
  }
  std::string_view bytes(std::size_t i) const { return i < all.size() ? all[i] : std::string_view(); }
  /// The piece read as UTF-8; stray bytes become U+FFFD, and three-byte forms reach every UTF-16 code
  /// unit, lone surrogates included. At most `limit` code units, to bound the slow reference steps.
  Text text(std::size_t i, std::size_t limit = Text::npos) const {
    return fromUtf8(bytes(i)).substr(0, limit);
  }
  /// `n` bytes of the piece from `at`, little-endian; bytes past its end count as 0.
  std::uint64_t number(std::size_t i, std::size_t at, std::size_t n = 1) const {
    std::uint64_t v = 0;
    for (std::size_t k = 0; k < n && at + k < bytes(i).size(); ++k)
      v |= std::uint64_t{static_cast<std::uint8_t>(bytes(i)[at + k])} << (8 * k);
    return v;
  }
};

}  // namespace orv
