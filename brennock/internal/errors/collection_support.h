#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "brennock/internal/util/text.h"

namespace brennock {

// What the automation runtime's keyed collection does, for the library's own collections: keys
// compare without regard to ASCII letter case, and misuse raises the runtime's plain error numbers
// with the collection's class name as source.

inline bool CollectionKeysEqual(std::string_view a, std::string_view b) noexcept {
  return AsciiEqualsIgnoreCase(a, b);
}

// 5 "Invalid procedure call or argument": no entry has the key.
[[noreturn]] void RaiseUnknownCollectionKey(const std::string& source);
// 9 "Subscript out of range": a position outside 1..Count.
[[noreturn]] void RaiseCollectionPositionOutOfRange(const std::string& source);
// 457 "This key is already associated with an element of this collection".
[[noreturn]] void RaiseDuplicateCollectionKey(const std::string& source);

}  // namespace brennock
