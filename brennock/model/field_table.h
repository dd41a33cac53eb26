#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <span>
#include <string>
#include <string_view>

#include "brennock/model/xml_node.h"

namespace pugi {
struct xml_node_struct;
}

namespace brennock {

class qcBase;
class FieldTable;

// One element of a response record as its reader sees it: the name and text MSXML would give,
// read straight from the loaded tree without taking a node handle per field. Node() gives the
// full XmlNode when a reader needs one. Valid while the record's element is.
class FieldElement {
 public:
  class iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = FieldElement;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = FieldElement;

    iterator() = default;
    FieldElement operator*() const { return FieldElement(*owner_, node_); }
    iterator& operator++();
    friend bool operator==(const iterator& a, const iterator& b) { return a.node_ == b.node_; }

   private:
    friend class FieldElement;
    iterator(const XmlNode* owner, pugi::xml_node_struct* node) : owner_(owner), node_(node) {}
    const XmlNode* owner_ = nullptr;
    pugi::xml_node_struct* node_ = nullptr;  // an element, or null at the end
  };
  struct Range {
    iterator first;
    iterator begin() const { return first; }
    iterator end() const { return {}; }
  };

  // The element itself (owner must be an element node; Nothing raises 91).
  explicit FieldElement(const XmlNode& owner);

  // The name without namespace prefix.
  std::string_view baseName() const;
  // The name as written, with any prefix.
  std::string_view nodeName() const;
  // The trimmed text of the element's content, as XmlNode::text().
  std::string text() const;
  // The same text without a copy when the element holds one piece of text; otherwise composed in
  // scratch.
  std::string_view TextView(std::string& scratch) const;
  // The child elements, in document order.
  Range Children() const;
  // A full node handle on this element.
  XmlNode Node() const;

 private:
  friend void ReadFields(qcBase& record, const FieldElement& element, const FieldTable& table);
  FieldElement(const XmlNode& owner, pugi::xml_node_struct* node) : owner_(&owner), node_(node) {}

  const XmlNode* owner_;  // any handle of the same document: keeps the tree alive
  pugi::xml_node_struct* node_;
};

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
      if (entries_[i].element == element) return entries_[i].read;
    }
    return nullptr;
  }

  std::span<const FieldEntry> Entries() const noexcept { return entries_; }

 private:
  static constexpr size_t kLeads = 128;
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
void ReadFields(qcBase& record, const XmlNode& element, const FieldTable& table);
void ReadFields(qcBase& record, const FieldElement& element, const FieldTable& table);

}  // namespace brennock
