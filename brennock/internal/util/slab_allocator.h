#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <utility>

namespace brennock {
namespace detail {

// Equal-sized chunks cut from blocks of a few dozen, per thread and chunk size. A block goes back
// to the heap when the last of its chunks is freed, from whichever thread frees it.
void* SlabAllocate(std::size_t size);
void SlabFree(void* chunk) noexcept;

}  // namespace detail

// An allocator for objects created one at a time in large numbers, such as the records of a
// 100 000-record query: one heap allocation serves a block of them, and freeing them costs a
// counter decrement instead of the heap coalescing thousands of medium-sized chunks. A block
// stays allocated while any of its objects lives, so it suits objects loaded and released
// together.
template <class T>
struct SlabAllocator {
  using value_type = T;
  SlabAllocator() noexcept = default;
  template <class U>
  SlabAllocator(const SlabAllocator<U>&) noexcept {}  // NOLINT(google-explicit-constructor)

  T* allocate(std::size_t n) {
    if (n != 1) return std::allocator<T>().allocate(n);
    return static_cast<T*>(detail::SlabAllocate(sizeof(T)));
  }
  void deallocate(T* p, std::size_t n) noexcept {
    if (n != 1) return std::allocator<T>().deallocate(p, n);
    detail::SlabFree(p);
  }
  template <class U>
  bool operator==(const SlabAllocator<U>&) const noexcept {
    return true;
  }
};

// Under AddressSanitizer objects come from the heap, so that a use after free is still reported.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kSlabUsesHeap = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kSlabUsesHeap = true;
#else
inline constexpr bool kSlabUsesHeap = false;
#endif
#else
inline constexpr bool kSlabUsesHeap = false;
#endif

// A shared object from the slab.
template <class T, class... Args>
std::shared_ptr<T> MakeSlabShared(Args&&... args) {
  if constexpr (kSlabUsesHeap) {
    return std::make_shared<T>(std::forward<Args>(args)...);
  } else {
    return std::allocate_shared<T>(SlabAllocator<T>(), std::forward<Args>(args)...);
  }
}

// An object of one owner from the slab, given back with SlabDelete.
template <class T>
T* SlabNew() {
  if constexpr (kSlabUsesHeap) {
    return new T();
  } else {
    void* memory = detail::SlabAllocate(sizeof(T));
    try {
      return new (memory) T();
    } catch (...) {
      detail::SlabFree(memory);
      throw;
    }
  }
}
template <class T>
void SlabDelete(T* object) noexcept {
  if constexpr (kSlabUsesHeap) {
    delete object;
  } else if (object != nullptr) {
    object->~T();
    detail::SlabFree(object);
  }
}

}  // namespace brennock
