#include "text/LargeBuffer.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace orv {

void preferHugePages(void* data, std::size_t bytes) {
#if defined(MADV_HUGEPAGE)
  constexpr std::uintptr_t kHuge = std::uintptr_t{2} << 20;
  const auto start = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t first = (start + kHuge - 1) & ~(kHuge - 1), end = (start + bytes) & ~(kHuge - 1);
  // Refused (a kernel without transparent huge pages) it changes nothing: the pages stay small.
  if (end > first) ::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#else
  (void)data;
  (void)bytes;
#endif
}

const void* giveBackBytes(const void* from, const void* to) {
#if defined(MADV_DONTNEED)
  constexpr std::uintptr_t kHuge = std::uintptr_t{2} << 20;
  const auto start = reinterpret_cast<std::uintptr_t>(from), end = reinterpret_cast<std::uintptr_t>(to);
  const std::uintptr_t first = (start + kHuge - 1) & ~(kHuge - 1), last = end & ~(kHuge - 1);
  if (last <= first) return from;
  ::madvise(reinterpret_cast<void*>(first), last - first, MADV_DONTNEED);
  return reinterpret_cast<const void*>(last);
#else
  (void)to;
  return from;
#endif
}

}  // namespace orv
