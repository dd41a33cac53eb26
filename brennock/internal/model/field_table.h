#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

#include "brennock/internal/xml/element_tree.h"
#include "brennock/xml/xml_node.h"

namespace brennock {

class qcBase;

// One response element of an owner (a record, which the reader casts to its own class, or an
// aggregate such as an address) and the reader that stores its value.
template <class Owner>
struct BasicFieldEntry {
  using Reader = void (*)(Owner& owner, const FieldElement& element);
  std::string_view element;
  Reader read = nullptr;
};

// An owner's response elements and their readers, sorted by element name. Reading a ...Ret
// element looks every child up here, so the table also keeps a small open-addressed index keyed
// by a name's length and a few of its bytes: a lookup usually compares against one name.
template <class Owner>
class BasicFieldTable {
 public:
  using Entry = BasicFieldEntry<Owner>;
  using Reader = typename Entry::Reader;

  constexpr explicit BasicFieldTable(std::span<const Entry> sorted) : entries_(sorted) {
    // More than half full, probes grow long; no record binds nearly that many elements.
    if (entries_.size() > kSlots / 2) throw "a field table holds too many elements";
    // In entry order: of equal names, the first sorted one is met first, as a search finds it.
    for (size_t i = 0; i < entries_.size(); ++i) {
      size_t slot = SlotOf(entries_[i].element);
      while (slots_[slot] != 0) slot = (slot + 1) & (kSlots - 1);
      slots_[slot] = static_cast<uint8_t>(i + 1);
    }
  }

  // The reader of an element, or nullptr for an element the record ignores.
  Reader Find(std::string_view element) const noexcept {
    if (element.empty()) return nullptr;
    for (size_t slot = SlotOf(element);; slot = (slot + 1) & (kSlots - 1)) {
      const uint8_t at = slots_[slot];
      if (at == 0) return nullptr;
      const Entry& entry = entries_[at - 1];
      if (SameName(entry.element, element)) return entry.read;
    }
  }

  std::span<const Entry> Entries() const noexcept { return entries_; }

 private:
  static constexpr size_t kSlots = 256;
  // Element names are short: from 4 bytes up to 16 they are compared as two overlapping words,
  // which spares a library call per child element read.
  template <class Word>
  static bool SameWords(const char* a, const char* b, size_t size) noexcept {
    Word a1, a2, b1, b2;
    std::memcpy(&a1, a, sizeof(Word));
    std::memcpy(&b1, b, sizeof(Word));
    std::memcpy(&a2, a + size - sizeof(Word), sizeof(Word));
    std::memcpy(&b2, b + size - sizeof(Word), sizeof(Word));
    return ((a1 ^ b1) | (a2 ^ b2)) == 0;
  }
  static bool SameName(std::string_view a, std::string_view b) noexcept {
    const size_t size = a.size();
    if (size != b.size()) return false;
    if (size >= 8 && size <= 16) return SameWords<uint64_t>(a.data(), b.data(), size);
    if (size >= 4 && size < 8) return SameWords<uint32_t>(a.data(), b.data(), size);
    return a == b;
  }
  // The first and last bytes and the length, mixed by one multiplication (names sharing a first
  // letter, "CustomerRef" and "ClassRef", land apart).
  static constexpr size_t SlotOf(std::string_view name) noexcept {
    const uint32_t key = static_cast<uint8_t>(name.front()) |
                         (static_cast<uint32_t>(static_cast<uint8_t>(name.back())) << 8) |
                         (static_cast<uint32_t>(name.size()) << 16);
    return (key * 0x9E3779B1u) >> 24;  // the top 8 bits: one of kSlots
  }

  std::span<const Entry> entries_;
  // 1 + the entry of each occupied slot; 0 for a free one.
  std::array<uint8_t, kSlots> slots_{};
};

using FieldEntry = BasicFieldEntry<qcBase>;
using FieldTable = BasicFieldTable<qcBase>;
using FieldReader = FieldEntry::Reader;

// Joins groups of entries (shared identity fields, a class's own fields) into one array sorted by
// element name, at compile time.
template <size_t... N>
constexpr std::array<FieldEntry, (N + ...)> SortedFields(
    const std::array<FieldEntry, N>&... parts) {
  std::array<FieldEntry, (N + ...)> out{};
  size_t next = 0;
  auto append = [&](const auto& part) {
    for (const FieldEntry& entry : part) out[next++] = entry;
  };
  (append(parts), ...);
  std::sort(out.begin(), out.end(),
            [](const FieldEntry& a, const FieldEntry& b) { return a.element < b.element; });
  return out;
}

namespace detail {
// The reader of a child, looked up by its qualified name first: table names have no prefix, so a
// match is the local name, and the usual unprefixed element costs no search for a colon.
template <class Owner>
typename BasicFieldTable<Owner>::Reader FindReader(const BasicFieldTable<Owner>& table,
                                                   std::string_view name) noexcept {
  auto read = table.Find(name);
  if (read != nullptr) return read;
  size_t colon = name.find(':');
  return colon == std::string_view::npos ? nullptr : table.Find(name.substr(colon + 1));
}
}  // namespace detail

// Visits every child element of `element` once and hands it to its reader in `table`; unknown
// elements are skipped.
template <class Owner>
void ReadFields(std::type_identity_t<Owner>& owner, const FieldElement& element,
                const BasicFieldTable<Owner>& table) {
  for (FieldElement child : element.Children()) {
    auto read = detail::FindReader(table, child.nodeName());
    if (read != nullptr) read(owner, child);
  }
}
// The same for an element of a loaded document, copied into an ElementTree first.
template <class Owner>
void ReadFields(std::type_identity_t<Owner>& owner, const XmlNode& element,
                const BasicFieldTable<Owner>& table) {
  ElementTree tree(element);
  ReadFields<Owner>(owner, tree.Root(), table);
}

}  // namespace brennock
