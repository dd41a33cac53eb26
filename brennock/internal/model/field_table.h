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
// element looks every child up here, so the table also keeps where each leading letter's entries
// start: a lookup compares against the few names sharing the child's first letter.
template <class Owner>
class BasicFieldTable {
 public:
  using Entry = BasicFieldEntry<Owner>;
  using Reader = typename Entry::Reader;

  constexpr explicit BasicFieldTable(std::span<const Entry> sorted) noexcept : entries_(sorted) {
    size_t at = 0;
    for (size_t lead = 0; lead < firsts_.size(); ++lead) {
      while (at < entries_.size() && LeadOf(entries_[at].element) < lead) ++at;
      firsts_[lead] = static_cast<uint16_t>(at);
    }
  }

  // The reader of an element, or nullptr for an element the record ignores.
  Reader Find(std::string_view element) const noexcept {
    const size_t at = IndexOf(element);
    return at == kNone ? nullptr : entries_[at].read;
  }
  // The position of an element's first entry, or kNone.
  size_t IndexOf(std::string_view element) const noexcept {
    if (element.empty()) return kNone;
    size_t lead = LeadOf(element);
    if (lead >= kLeads) return kNone;  // element names in tables are ASCII
    for (size_t i = firsts_[lead], end = firsts_[lead + 1]; i < end; ++i) {
      if (SameName(entries_[i].element, element)) return i;
    }
    return kNone;
  }

  // Responses list a record's elements in schema order, which is the order of its rows: after
  // the entry at `at`, the entry of the next row is the likely next child. `successors` gives it
  // per entry (kNone for none), and `first` the entry of the first row; a table without them
  // looks every child up.
  constexpr void Predict(std::span<const uint16_t> successors, uint16_t first) noexcept {
    successors_ = successors;
    first_ = first;
  }
  size_t FirstGuess() const noexcept { return successors_.empty() ? kNone : first_; }
  size_t GuessAfter(size_t at) const noexcept {
    return at < successors_.size() ? successors_[at] : kNone;
  }
  // Whether the entry at guess (kNone or a position) is the one IndexOf would give for element.
  bool Guessed(size_t guess, std::string_view element) const noexcept {
    return guess < entries_.size() && SameName(entries_[guess].element, element);
  }

  static constexpr size_t kNone = 0xFFFF;

  std::span<const Entry> Entries() const noexcept { return entries_; }

 private:
  static constexpr size_t kLeads = 128;
  // Element names are short: from 4 to 16 bytes they are compared as two overlapping words,
  // which spares a library call per child element read.
  static bool SameName(std::string_view a, std::string_view b) noexcept {
    const size_t size = a.size();
    if (size != b.size()) return false;
    if (size >= 8 && size <= 16) return SameEnds<uint64_t>(a.data(), b.data(), size);
    if (size >= 4 && size < 8) return SameEnds<uint32_t>(a.data(), b.data(), size);
    return a == b;
  }
  // Whether the first and the last sizeof(Word) bytes are equal (which covers size bytes, from
  // one to two words).
  template <class Word>
  static bool SameEnds(const char* a, const char* b, size_t size) noexcept {
    Word a1, a2, b1, b2;
    std::memcpy(&a1, a, sizeof(Word));
    std::memcpy(&b1, b, sizeof(Word));
    std::memcpy(&a2, a + size - sizeof(Word), sizeof(Word));
    std::memcpy(&b2, b + size - sizeof(Word), sizeof(Word));
    return ((a1 ^ b1) | (a2 ^ b2)) == 0;
  }
  static constexpr size_t LeadOf(std::string_view name) noexcept {
    return static_cast<unsigned char>(name.front());
  }

  std::span<const Entry> entries_;
  std::span<const uint16_t> successors_;
  uint16_t first_ = 0;
  // firsts_[c]: the first entry whose name starts with a byte not below c.
  std::array<uint16_t, kLeads + 1> firsts_{};
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
// The position of a child's entry, looked up by its qualified name first: table names have no
// prefix, so a match is the local name, and the usual unprefixed element costs no search for a
// colon.
template <class Owner>
size_t FindEntry(const BasicFieldTable<Owner>& table, std::string_view name) noexcept {
  size_t at = table.IndexOf(name);
  if (at != BasicFieldTable<Owner>::kNone) return at;
  size_t colon = name.find(':');
  return colon == std::string_view::npos ? at : table.IndexOf(name.substr(colon + 1));
}

// What came after an entry of a table the last time the row order guessed wrong there, per
// thread, in a few slots by table and entry. The records of a response share their shape, so
// from the second record on an element the rows do not predict (one after an optional element
// the response leaves out, the next of a record's repeated lines) is found here without a
// lookup.
struct LearnedSuccessor {
  const void* table = nullptr;
  uint16_t after = 0;  // the entry the row order guessed (kNone for none)
  uint16_t next = 0;   // the entry that came instead
};
LearnedSuccessor& LearnedAfter(const void* table, size_t after) noexcept;
}  // namespace detail

// Visits every child element of `element` once and hands it to its reader in `table`; unknown
// elements are skipped. Each child is first compared with the entry its predecessor predicts by
// the row order, then with the one that followed the predecessor last time, before its name is
// looked up.
template <class Owner>
void ReadFields(std::type_identity_t<Owner>& owner, const FieldElement& element,
                const BasicFieldTable<Owner>& table) {
  constexpr size_t kNone = BasicFieldTable<Owner>::kNone;
  size_t guess = table.FirstGuess();
  for (FieldElement child : element.Children()) {
    const std::string_view name = child.nodeName();
    size_t at = guess;
    if (!table.Guessed(guess, name)) {
      // Learned under the guess that failed, which stands for the child before.
      detail::LearnedSuccessor& learned = detail::LearnedAfter(&table, guess);
      if (learned.table == &table && learned.after == guess && table.Guessed(learned.next, name)) {
        at = learned.next;
      } else {
        at = detail::FindEntry(table, name);
        learned = {&table, static_cast<uint16_t>(guess), static_cast<uint16_t>(at)};
      }
    }
    if (at == kNone) continue;
    if (auto read = table.Entries()[at].read) read(owner, child);
    guess = table.GuessAfter(at);
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
