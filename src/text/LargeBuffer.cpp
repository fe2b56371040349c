#include "text/LargeBuffer.h"

#include <cstdint>
#include <utility>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace orv {
namespace {

/// The whole 2 MiB pages inside [start, end): where the first begins and where the last ends.
std::pair<std::uintptr_t, std::uintptr_t> wholeHugePages(std::uintptr_t start, std::uintptr_t end) {
  constexpr std::uintptr_t kHuge = std::uintptr_t{2} << 20;
  return {(start + kHuge - 1) & ~(kHuge - 1), end & ~(kHuge - 1)};
}

}  // namespace

void preferHugePages(void* data, std::size_t bytes) {
#if defined(MADV_HUGEPAGE)
  const auto start = reinterpret_cast<std::uintptr_t>(data);
  const auto [first, end] = wholeHugePages(start, start + bytes);
  // Refused (a kernel without transparent huge pages) it changes nothing: the pages stay small.
  if (end > first) ::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#else
  (void)data;
  (void)bytes;
#endif
}

const void* giveBackBytes(const void* from, const void* to) {
#if defined(MADV_DONTNEED)
  const auto [first, last] =
      wholeHugePages(reinterpret_cast<std::uintptr_t>(from), reinterpret_cast<std::uintptr_t>(to));
  if (last <= first) return from;
  ::madvise(reinterpret_cast<void*>(first), last - first, MADV_DONTNEED);
  return reinterpret_cast<const void*>(last);
#else
  (void)to;
  return from;
#endif
}

}  // namespace orv
