#pragma once
#include <string>
#include <string_view>

namespace orv {

/// Standard base64 alphabet, with padding, without line breaks. Slices whose sizes are multiples of
/// three encode to pieces that join into the encoding of the whole.
std::string base64(std::string_view bytes);

}  // namespace orv
