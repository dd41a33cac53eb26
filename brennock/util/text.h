#pragma once

#include <cstddef>
#include <string_view>

namespace brennock {

// The number of characters (UTF-8 code points) of a text: every byte but continuation bytes.
inline size_t Utf8Length(std::string_view text) noexcept {
  size_t count = 0;
  for (char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

}  // namespace brennock
