#include "brennock/internal/model/key_index.h"

#include <cstring>
#include <limits>
#include <stdexcept>

#include "brennock/internal/errors/collection_support.h"

namespace brennock {
namespace {

constexpr uint64_t kOnes = 0x0101010101010101ull;
constexpr uint64_t kHighBits = 0x8080808080808080ull;
constexpr uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;

// Eight bytes of a key with ASCII capitals made small (the other bytes as they are): sets bit 5 of
// every byte from 'A' to 'Z' without a branch per byte.
uint64_t FoldedWord(uint64_t word) noexcept {
  const uint64_t low7 = word & ~kHighBits;
  const uint64_t atLeastA = low7 + kOnes * (0x80 - 'A');
  const uint64_t aboveZ = low7 + kOnes * (0x80 - 'Z' - 1);
  const uint64_t capital = atLeastA & ~aboveZ & ~word & kHighBits;
  return word | (capital >> 2);
}

uint64_t MixWord(uint64_t hash, uint64_t word) noexcept {
  hash = (hash ^ word) * kMultiplier;
  return hash ^ (hash >> 32);
}

}  // namespace

uint64_t KeyIndex::Hash(std::string_view key) noexcept {
  // Eight bytes at a time with letters folded, so equal keys in any case hash alike; slots are
  // taken from the low bits, so the result is mixed down once more at the end.
  uint64_t hash = kMultiplier ^ key.size();
  const char* at = key.data();
  size_t left = key.size();
  for (; left >= 8; at += 8, left -= 8) {
    uint64_t word;
    std::memcpy(&word, at, 8);
    hash = MixWord(hash, FoldedWord(word));
  }
  if (left > 0) {
    uint64_t word = 0;
    if (key.size() >= 8) {
      // The last eight bytes, without those already mixed: no byte-sized copy for the tail.
      std::memcpy(&word, at + left - 8, 8);
      word >>= (8 - left) * 8;
    } else {
      for (size_t i = 0; i < left; ++i)
        word |= uint64_t{static_cast<unsigned char>(at[i])} << (8 * i);
    }
    hash = MixWord(hash, FoldedWord(word));
  }
  hash ^= hash >> 29;
  hash *= 0xBF58476D1CE4E5B9ull;
  return hash ^ (hash >> 32);
}

void KeyIndex::Clear() {
  entries_ = {};
  slots_ = {};
  text_ = {};
}

void KeyIndex::Reserve(size_t count) {
  entries_.reserve(count);
  size_t wanted = 16;
  while (wanted < count * 2) wanted *= 2;
  if (wanted > slots_.size()) Grow(wanted);
}

size_t KeyIndex::SlotFor(std::string_view key, uint64_t hash) const noexcept {
  size_t mask = slots_.size() - 1;
  for (size_t at = static_cast<size_t>(hash) & mask;; at = (at + 1) & mask) {
    const Slot& slot = slots_[at];
    if (slot.entry == 0) return at;
    if (slot.hash != static_cast<uint32_t>(hash)) continue;
    const Entry& entry = entries_[slot.entry - 1];
    if (entry.hash == hash && CollectionKeysEqual(KeyOf(entry), key)) return at;
  }
}

void KeyIndex::Grow(size_t slotCount) {
  slots_.assign(slotCount, Slot{});
  size_t mask = slotCount - 1;
  for (size_t i = 0; i < entries_.size(); ++i) {
    size_t at = static_cast<size_t>(entries_[i].hash) & mask;
    while (slots_[at].entry != 0) at = (at + 1) & mask;
    slots_[at] = Slot{static_cast<uint32_t>(entries_[i].hash), static_cast<uint32_t>(i + 1)};
  }
}

size_t KeyIndex::Find(std::string_view key) const noexcept {
  if (slots_.empty()) return npos;
  const Slot& slot = slots_[SlotFor(key, Hash(key))];
  return slot.entry == 0 ? npos : entries_[slot.entry - 1].position;
}

uint64_t KeyIndex::PrepareInsert(std::string_view key) const noexcept {
  uint64_t hash = Hash(key);
  if (!slots_.empty()) __builtin_prefetch(&slots_[static_cast<size_t>(hash) & (slots_.size() - 1)]);
  return hash;
}

bool KeyIndex::Insert(std::string_view key, size_t position) {
  return Insert(key, position, Hash(key));
}

bool KeyIndex::Insert(std::string_view key, size_t position, uint64_t hash) {
  if ((entries_.size() + 1) * 2 > slots_.size()) Grow(slots_.empty() ? 16 : slots_.size() * 2);
  size_t at = SlotFor(key, hash);
  if (slots_[at].entry != 0) return false;
  if (text_.size() + key.size() > std::numeric_limits<uint32_t>::max() ||
      entries_.size() >= std::numeric_limits<uint32_t>::max()) {
    throw std::length_error("collection key index is full");
  }
  entries_.push_back(Entry{static_cast<uint32_t>(text_.size()), static_cast<uint32_t>(key.size()),
                           position, hash});
  text_.append(key);
  slots_[at] = Slot{static_cast<uint32_t>(hash), static_cast<uint32_t>(entries_.size())};
  return true;
}

void KeyIndex::ErasePosition(size_t position) {
  std::vector<Entry> kept;
  kept.reserve(entries_.size());
  std::string text;
  text.reserve(text_.size());
  for (const Entry& entry : entries_) {
    if (entry.position == position) continue;
    Entry moved = entry;
    moved.offset = static_cast<uint32_t>(text.size());
    text.append(KeyOf(entry));
    if (moved.position > position) --moved.position;
    kept.push_back(moved);
  }
  entries_ = std::move(kept);
  text_ = std::move(text);
  Grow(slots_.size());
}

}  // namespace brennock
