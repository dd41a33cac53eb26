#include "brennock/internal/util/short_text.h"

namespace brennock {

void ShortText::Release() noexcept {
  if (OnHeap()) delete[] HeapData();
  bytes_[kTag] = 0;
}

void ShortText::assign(std::string_view text) {
  // The text may lie in this object's own storage: the old buffer is let go only after copying.
  if (text.size() <= kTag) {
    char* old = OnHeap() ? HeapData() : nullptr;
    if (!text.empty()) std::memmove(bytes_, text.data(), text.size());  // data() may be null
    bytes_[kTag] = static_cast<char>(text.size());
    delete[] old;
    return;
  }
  char* data = new char[text.size()];
  std::memcpy(data, text.data(), text.size());
  Release();
  const size_t size = text.size();
  std::memcpy(bytes_, &data, sizeof data);
  std::memcpy(bytes_ + sizeof data, &size, sizeof size);
  bytes_[kTag] = kOnHeap;
}

}  // namespace brennock
