#pragma once
#include <string>
#include <string_view>

#include "text/Result.h"

namespace orv {

/// `bytes` as raw DEFLATE data (no header or checksum around it), at a fast level: what a browser's
/// DecompressionStream('deflate-raw') inflates back. Fails (with the library's reason) only when the
/// memory for the compressor's state cannot be had.
Result<std::string, std::string> deflateRaw(std::string_view bytes);

}  // namespace orv
