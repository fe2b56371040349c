#pragma once
// Shared pieces of the fuzz targets: how one input is cut into several values, and the check that
// stops a run with a readable reason.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "text/Text.h"

namespace orv::fuzz {

/// Stops the run (libFuzzer keeps the input) when `ok` is false.
inline void check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

/// One input cut at every 0xFF byte: that byte is never part of UTF-8 text nor of code page 932, so a
/// seed can be written as plain text pieces joined by 0xFF. Pieces past the last are empty.
class Pieces {
 public:
  Pieces(const std::uint8_t* data, std::size_t size) {
    std::string_view all(reinterpret_cast<const char*>(data), size);
    for (std::size_t cut = 0; cut != std::string_view::npos; all.remove_prefix(cut + 1)) {
      cut = all.find('\xFF');
      pieces_.push_back(all.substr(0, cut));
    }
  }
  std::string_view bytes(std::size_t i) const { return i < pieces_.size() ? pieces_[i] : std::string_view(); }
  /// The piece read as UTF-8; stray bytes become U+FFFD, and three-byte forms reach every UTF-16 code
  /// unit, lone surrogates included. At most `limit` code units, to bound the slow reference steps.
  Text text(std::size_t i, std::size_t limit = Text::npos) const {
    return fromUtf8(bytes(i)).substr(0, limit);
  }
  /// Byte `at` of the piece, or 0.
  std::uint8_t byte(std::size_t i, std::size_t at) const {
    return at < bytes(i).size() ? static_cast<std::uint8_t>(bytes(i)[at]) : 0;
  }
  /// Up to eight bytes of the piece from `at`, little-endian, as a signed number.
  std::int64_t int64(std::size_t i, std::size_t at) const {
    std::uint64_t v = 0;
    for (std::size_t k = 0; k < 8; ++k) v |= std::uint64_t{byte(i, at + k)} << (8 * k);
    return static_cast<std::int64_t>(v);
  }

 private:
  std::vector<std::string_view> pieces_;
};

}  // namespace orv::fuzz
