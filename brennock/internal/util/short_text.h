#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace brennock {

// A record field's text that is usually short (a ListID, a full name), held inside the object up
// to 31 bytes and on the heap beyond. It takes the room of a std::string, whose own buffer holds
// 15: a ListID (19 characters) or a two-level full name loaded from a response then costs no
// allocation. Not copyable: records are not either.
class ShortText {
 public:
  ShortText() noexcept { bytes_[kTag] = 0; }
  ShortText(const ShortText&) = delete;
  ShortText& operator=(const ShortText&) = delete;
  ~ShortText() {
    if (OnHeap()) delete[] HeapData();
  }

  void assign(std::string_view text);
  ShortText& operator=(std::string_view text) {
    assign(text);
    return *this;
  }

  std::string_view view() const noexcept {
    if (!OnHeap()) return {bytes_, static_cast<unsigned char>(bytes_[kTag])};
    return {HeapData(), HeapSize()};
  }
  operator std::string_view() const noexcept { return view(); }
  std::string str() const { return std::string(view()); }
  bool empty() const noexcept { return view().empty(); }

 private:
  static constexpr size_t kTag = 31;  // holds the inline length (at most 31), or kOnHeap
  static constexpr char kOnHeap = static_cast<char>(0xFF);

  bool OnHeap() const noexcept { return bytes_[kTag] == kOnHeap; }
  char* HeapData() const noexcept {
    char* data;
    std::memcpy(&data, bytes_, sizeof data);
    return data;
  }
  size_t HeapSize() const noexcept {
    size_t size;
    std::memcpy(&size, bytes_ + sizeof(char*), sizeof size);
    return size;
  }
  void Release() noexcept;

  alignas(8) char bytes_[32];
};

}  // namespace brennock
