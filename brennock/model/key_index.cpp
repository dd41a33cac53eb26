#include "brennock/model/key_index.h"

#include <limits>
#include <stdexcept>

#include "brennock/model/collection_support.h"

namespace brennock {
namespace {

char Folded(char c) noexcept { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

uint64_t KeyIndex::Hash(std::string_view key) noexcept {
  // FNV-1a over the key with ASCII letters folded, so equal keys in any case hash alike.
  uint64_t hash = 14695981039346656037ull;
  for (char c : key) hash = (hash ^ static_cast<unsigned char>(Folded(c))) * 1099511628211ull;
  return hash;
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

bool KeyIndex::Insert(std::string_view key, size_t position) {
  if ((entries_.size() + 1) * 2 > slots_.size()) Grow(slots_.empty() ? 16 : slots_.size() * 2);
  uint64_t hash = Hash(key);
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
