#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <span>
#include <string_view>

namespace brennock {

class qcBase;
class XmlNode;

// Reads one child element of a response record into the record (which the reader casts to its
// own class).
using FieldReader = void (*)(qcBase& record, const XmlNode& element);

struct FieldEntry {
  std::string_view element;
  FieldReader read = nullptr;
};

// A record class's response elements and their readers, sorted by element name so that reading a
// ...Ret element costs one binary search per child rather than a comparison per known field.
class FieldTable {
 public:
  constexpr explicit FieldTable(std::span<const FieldEntry> sorted) noexcept : entries_(sorted) {}

  // The reader of an element, or nullptr for an element the record ignores.
  FieldReader Find(std::string_view element) const noexcept {
    auto it = std::lower_bound(
        entries_.begin(), entries_.end(), element,
        [](const FieldEntry& entry, std::string_view name) { return entry.element < name; });
    return it != entries_.end() && it->element == element ? it->read : nullptr;
  }

  std::span<const FieldEntry> Entries() const noexcept { return entries_; }

 private:
  std::span<const FieldEntry> entries_;
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
void ReadFields(qcBase& record, const XmlNode& element, const FieldTable& table);

}  // namespace brennock
