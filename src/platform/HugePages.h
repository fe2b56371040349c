#pragma once

namespace orv {

/// Starts the program again, once, with glibc's allocator asked to back its large blocks with huge
/// pages (glibc reads that setting only when a process starts). A whole file held as text costs a
/// page fault and a TLB entry per 4 KiB otherwise: converting 100 MB takes about three times as
/// long. Returns when the setting is there already, or when the program cannot be started again.
void restartWithHugePages(char** argv);

}  // namespace orv
