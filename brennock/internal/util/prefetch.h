#pragma once

#include <cstddef>
#include <cstdint>

namespace brennock {

// Asks for the cache lines of a shared object about to be released: its shared pointer's counts
// (just before it) and its first `bytes`. Freeing many objects that were made long ago otherwise
// waits for each of their members one after another. A hint only: the addresses are computed,
// never dereferenced, so a null or stale pointer is harmless.
inline void PrefetchForRelease(const void* object, size_t bytes) noexcept {
  constexpr uintptr_t kCountsBefore = 16;
  constexpr uintptr_t kLine = 64;
  const uintptr_t first = reinterpret_cast<uintptr_t>(object) - kCountsBefore;
  for (uintptr_t at = 0; at < kCountsBefore + bytes; at += kLine)
    __builtin_prefetch(reinterpret_cast<const void*>(first + at));
}

}  // namespace brennock
