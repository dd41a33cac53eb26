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

#include "brennock/xml/element_tree.h"
#include "brennock/xml/xml_node.h"

namespace brennock {

class qcBase;

// Reads one child element of a response record into the record (which the reader casts to its
// own class).
using FieldReader = void (*)(qcBase& record, const FieldElement& element);

struct FieldEntry {
  std::string_view element;
  FieldReader read = nullptr;
};

// A record class's response elements and their readers, sorted by element name. Reading a ...Ret
// element looks every child up here, so the table also keeps where each leading letter's entries
// start: a lookup compares against the few names sharing the child's first letter.
class FieldTable {
 public:
  constexpr explicit FieldTable(std::span<const FieldEntry> sorted) noexcept : entries_(sorted) {
    size_t at = 0;
    for (size_t lead = 0; lead < firsts_.size(); ++lead) {
      while (at < entries_.size() && LeadOf(entries_[at].element) < lead) ++at;
      firsts_[lead] = static_cast<uint16_t>(at);
    }
  }

  // The reader of an element, or nullptr for an element the record ignores.
  FieldReader Find(std::string_view element) const noexcept {
    if (element.empty()) return nullptr;
    size_t lead = LeadOf(element);
    if (lead >= kLeads) return nullptr;  // element names in tables are ASCII
    for (size_t i = firsts_[lead], end = firsts_[lead + 1]; i < end; ++i) {
      if (SameName(entries_[i].element, element)) return entries_[i].read;
    }
    return nullptr;
  }

  std::span<const FieldEntry> Entries() const noexcept { return entries_; }

 private:
  static constexpr size_t kLeads = 128;
  // Element names are short: from 8 bytes up they are compared as two overlapping words, which
  // spares a library call per child element read.
  static bool SameName(std::string_view a, std::string_view b) noexcept {
    const size_t size = a.size();
    if (size != b.size()) return false;
    if (size < 8 || size > 16) return a == b;
    uint64_t a1, a2, b1, b2;
    std::memcpy(&a1, a.data(), 8);
    std::memcpy(&b1, b.data(), 8);
    std::memcpy(&a2, a.data() + size - 8, 8);
    std::memcpy(&b2, b.data() + size - 8, 8);
    return ((a1 ^ b1) | (a2 ^ b2)) == 0;
  }
  static constexpr size_t LeadOf(std::string_view name) noexcept {
    return static_cast<unsigned char>(name.front());
  }

  std::span<const FieldEntry> entries_;
  // firsts_[c]: the first entry whose name starts with a byte not below c.
  std::array<uint16_t, kLeads + 1> firsts_{};
};

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

// Visits every child element of `element` once and hands it to its reader in `table`; unknown
// elements are skipped.
void ReadFields(qcBase& record, const FieldElement& element, const FieldTable& table);
// The same for an element of a loaded document, copied into an ElementTree first.
void ReadFields(qcBase& record, const XmlNode& element, const FieldTable& table);

}  // namespace brennock
