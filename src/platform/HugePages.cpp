#include "platform/HugePages.h"

#include <unistd.h>

#include <cstdlib>
#include <string>

namespace orv {

void restartWithHugePages(char** argv) {
  const char* tunables = std::getenv("GLIBC_TUNABLES");
  std::string value = tunables ? tunables : "";
  if (value.find("glibc.malloc.hugetlb") != std::string::npos) return;
  value += value.empty() ? "glibc.malloc.hugetlb=1" : ":glibc.malloc.hugetlb=1";
  if (::setenv("GLIBC_TUNABLES", value.c_str(), 1) != 0) return;
  ::execv("/proc/self/exe", argv);
  // Not started again: the conversion runs as it is, only slower.
}

}  // namespace orv
