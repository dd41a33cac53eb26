#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace brennock {

// What the automation runtime's keyed collection does, for the library's own collections: keys
// compare without regard to ASCII letter case, and misuse raises the runtime's plain error numbers
// with the collection's class name as source.

inline bool CollectionKeysEqual(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i];
    char y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// 5 "Invalid procedure call or argument": no entry has the key.
[[noreturn]] void RaiseUnknownCollectionKey(const std::string& source);
// 9 "Subscript out of range": a position outside 1..Count.
[[noreturn]] void RaiseCollectionPositionOutOfRange(const std::string& source);
// 457 "This key is already associated with an element of this collection".
[[noreturn]] void RaiseDuplicateCollectionKey(const std::string& source);

}  // namespace brennock
