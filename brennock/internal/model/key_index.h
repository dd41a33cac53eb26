#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brennock {

// Keys of a collection (full names) to member positions, compared without regard to ASCII letter
// case. Built for loading large query responses: the keys' text lives in one growing buffer and
// the table is open addressing over (hash, entry) pairs, so filing a member costs no allocation of
// its own. Removing a key rebuilds the table, which suits collections that rarely remove.
class KeyIndex {
 public:
  static constexpr size_t npos = static_cast<size_t>(-1);

  void Clear();
  void Reserve(size_t count);
  // The position filed under key, or npos.
  size_t Find(std::string_view key) const noexcept;
  // Files key at position; false (and nothing filed) when the key is already taken.
  bool Insert(std::string_view key, size_t position);
  // The hash of a key about to be inserted, its slot already asked for from memory: a caller with
  // other work to do before the Insert hides the cache miss of a large table behind it.
  uint64_t PrepareInsert(std::string_view key) const noexcept;
  bool Insert(std::string_view key, size_t position, uint64_t preparedHash);
  // Drops the key at position and moves the later positions down by one.
  void ErasePosition(size_t position);

 private:
  struct Entry {
    uint32_t offset;  // into text_
    uint32_t length;
    size_t position;
    uint64_t hash;
  };
  struct Slot {
    uint32_t hash = 0;   // low half of the key's hash: most mismatches end here
    uint32_t entry = 0;  // 1-based index into entries_; 0 = empty
  };

  static uint64_t Hash(std::string_view key) noexcept;
  std::string_view KeyOf(const Entry& entry) const noexcept {
    return std::string_view(text_).substr(entry.offset, entry.length);
  }
  size_t SlotFor(std::string_view key, uint64_t hash) const noexcept;  // the match or an empty slot
  void Grow(size_t slotCount);

  std::vector<Entry> entries_;
  std::vector<Slot> slots_;  // size is a power of two, at most half full
  std::string text_;
};

}  // namespace brennock
