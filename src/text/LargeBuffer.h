#pragma once
// Buffers as large as a whole file, reserved once and backed by huge pages where the system has them.
#include <cstddef>

namespace orv {

/// Asks the system to back the whole 2 MiB pages inside [data, data + bytes) with huge pages when they
/// are first touched. A whole list held in memory otherwise costs a page fault and a TLB entry every
/// 4 KiB: converting 100 MB took about three times as long. Only a hint; a small range is left alone.
void preferHugePages(void* data, std::size_t bytes);

/// Gives the system back the whole 2 MiB pages of [from, to), a part of a large buffer that is never read
/// again (they would read as zeros); returns where the part still kept begins.
const void* giveBackBytes(const void* from, const void* to);
template <class T>
const T* giveBackPages(const T* from, const T* to) {
  return static_cast<const T*>(giveBackBytes(from, to));
}

/// Reserves room for `n` elements in `s` at once, backed as preferHugePages says.
template <class String>
void reserveLarge(String& s, std::size_t n) {
  s.reserve(n);
  preferHugePages(s.data(), s.capacity() * sizeof(typename String::value_type));
}

}  // namespace orv
