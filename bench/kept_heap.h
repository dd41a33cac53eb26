#pragma once

#include <malloc.h>

namespace brennock::bench {

// Keeps freed memory in the process, so that neither side of a large-load benchmark pays for
// handing tens of megabytes back to the system and faulting them in again on every iteration
// (which made the timings depend on the order the heap happened to be reused in).
inline const bool kHeapKept = [] {
  mallopt(M_MMAP_THRESHOLD, 1 << 30);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  return true;
}();

}  // namespace brennock::bench
