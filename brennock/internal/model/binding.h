#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

#include "brennock/internal/model/change_set.h"
#include "brennock/internal/model/field_limits.h"
#include "brennock/internal/model/field_table.h"
#include "brennock/internal/qbxml/catalogue.h"

namespace brennock {

class RequestWriter;

// Where a bound element appears and how it is written. A record class describes its fields once,
// as rows in the order of the qbXML schema; one engine reads a response element through them and
// writes the Add, Mod and query-result bodies from them.
enum BindingFlag : uint16_t {
  kInAdd = 1 << 0,  // written into the Add request
  kInMod = 1 << 1,  // written into the Mod request
  kInRet = 1 << 2,  // read from responses and written into the query-result form
  // Nothing is written for an empty value (else an empty element is).
  kSkipEmpty = 1 << 3,
  // Booleans are "true"/"false" in requests too (lists whose Add takes that form).
  kWordsInRequests = 1 << 4,
  // An element QuickBooks sent in older releases and the current schema no longer has, or one of
  // the library's own (UserData): the catalogue does not list it.
  kNotInSchema = 1 << 5,
  // Written into every Mod of a record that sends only its changed fields: the identity (ListID,
  // EditSequence) and aggregates that know their own state (addresses).
  kModAlways = 1 << 6,
  // Repeated line aggregates (InvoiceLineRet ...): the row's element is the Ret name, and its
  // writer names each line by the form (InvoiceLineAdd, InvoiceLineMod, InvoiceLineGroupAdd ...).
  kLines = 1 << 7,
  // Given to a writer, never set in a table: the client changed the row since QuickBooks sent the
  // record, so an emptied value is written (as an empty element) for QuickBooks to clear it.
  kChanged = 1 << 15,
};

// The form of a body being written.
enum class BodyForm : uint8_t { kAdd, kMod, kRet };

// One bound element of an owner (a record, an address, a price-level entry ...).
template <class Owner>
struct Binding {
  using Reader = void (*)(Owner& owner, const FieldElement& element);
  using Writer = void (*)(const Owner& owner, RequestWriter& builder, std::string_view element,
                          uint16_t flags, BodyForm form);

  using Viewer = std::string_view (*)(const Owner& owner);
  // For an aggregate that keeps its own state (an address, a card, lines): whether it holds a
  // change of the client's not yet sent. Such a change makes its owner Dirty.
  using Probe = bool (*)(const Owner& owner);

  std::string_view element;
  uint16_t flags = 0;
  Reader read = nullptr;   // null: the element is written, never read
  Writer write = nullptr;  // null: the element is read, never written
  Viewer text = nullptr;   // a text member's value (for length limits); null for other values
  // The catalogue's value type the codec reads and writes; kAggregate for a row of its own.
  qbxml::ValueType type = qbxml::ValueType::kAggregate;
  Probe changed = nullptr;

  constexpr bool In(BodyForm form) const noexcept {
    switch (form) {
      case BodyForm::kAdd:
        return (flags & kInAdd) != 0;
      case BodyForm::kMod:
        return (flags & kInMod) != 0;
      case BodyForm::kRet:
        return (flags & kInRet) != 0;
    }
    return false;
  }
};

namespace detail {

template <class T>
struct MemberTraits;
template <class C, class T>
struct MemberTraits<T C::*> {
  using Class = C;
  using Value = T;
};

template <auto Member, class Codec, class Owner>
void ReadMember(Owner& owner, const FieldElement& element) {
  using Class = typename MemberTraits<decltype(Member)>::Class;
  Codec::Read(static_cast<Class&>(owner).*Member, element);
}

template <class Codec, class Value>
void WriteValue(const Value& value, RequestWriter& builder, std::string_view element,
                uint16_t flags, BodyForm form) {
  if (Codec::Empty(value)) {
    // A value the client emptied goes out empty in a Mod, so QuickBooks clears it (where the
    // kind of value can be emptied at all).
    if constexpr (requires { Codec::WriteCleared(builder, element); }) {
      if ((flags & kChanged) != 0 && form == BodyForm::kMod) {
        Codec::WriteCleared(builder, element);
        return;
      }
    }
    if ((flags & kSkipEmpty) != 0) return;
  }
  Codec::Write(value, builder, element, flags, form);
}

template <auto Member, class Codec, class Owner>
void WriteMember(const Owner& owner, RequestWriter& builder, std::string_view element,
                 uint16_t flags, BodyForm form) {
  using Class = typename MemberTraits<decltype(Member)>::Class;
  WriteValue<Codec>(static_cast<const Class&>(owner).*Member, builder, element, flags, form);
}

// The text every absent optional text reads as.
inline const std::string& EmptyText() noexcept {
  static const std::string kEmpty;
  return kEmpty;
}

// A text of a block (a std::unique_ptr member) its owner makes on first use: the empty text
// while there is no block.
template <auto Block, auto Field, class Owner>
const std::string& RareText(const Owner& owner) noexcept {
  using Class = typename MemberTraits<decltype(Block)>::Class;
  const auto& block = static_cast<const Class&>(owner).*Block;
  return block ? (*block).*Field : EmptyText();
}

template <auto Block, auto Field, class Codec, class Owner>
void ReadRare(Owner& owner, const FieldElement& element) {
  using Class = typename MemberTraits<decltype(Block)>::Class;
  auto& block = static_cast<Class&>(owner).*Block;
  if (!block)
    block = std::make_unique<typename std::remove_cvref_t<decltype(block)>::element_type>();
  Codec::Read((*block).*Field, element);
}

template <auto Block, auto Field, class Codec, class Owner>
void WriteRare(const Owner& owner, RequestWriter& builder, std::string_view element, uint16_t flags,
               BodyForm form) {
  WriteValue<Codec>(RareText<Block, Field>(owner), builder, element, flags, form);
}

template <auto Block, auto Field, class Owner>
std::string_view ViewRare(const Owner& owner) {
  return RareText<Block, Field>(owner);
}

template <auto Member, class Owner>
std::string_view ViewMember(const Owner& owner) {
  using Class = typename MemberTraits<decltype(Member)>::Class;
  return static_cast<const Class&>(owner).*Member;
}

}  // namespace detail

// The row of a member: Codec (codecs.h) reads and writes its value.
template <auto Member, class Codec, class Owner = qcBase>
constexpr Binding<Owner> Bind(std::string_view element, uint16_t flags) {
  typename Binding<Owner>::Viewer text = nullptr;
  if constexpr (requires { requires Codec::kIsText; }) text = &detail::ViewMember<Member, Owner>;
  return {element,
          flags,
          &detail::ReadMember<Member, Codec, Owner>,
          &detail::WriteMember<Member, Codec, Owner>,
          text,
          Codec::kType};
}

// The row of a text few records hold, kept in a block the owner makes when one is first read or
// set (Block: the owner's std::unique_ptr to it; Field: the text in it), so that records without
// any cost one pointer for them all.
template <auto Block, auto Field, class Codec, class Owner = qcBase>
constexpr Binding<Owner> BindRare(std::string_view element, uint16_t flags) {
  return {element,
          flags,
          &detail::ReadRare<Block, Field, Codec, Owner>,
          &detail::WriteRare<Block, Field, Codec, Owner>,
          &detail::ViewRare<Block, Field, Owner>,
          Codec::kType};
}

// A row whose element requests carry only while When() holds for the session (the query-result
// form always has it): fields bound to an edition or a qbXML version.
template <auto Member, class Codec, bool (*When)(), class Owner = qcBase>
constexpr Binding<Owner> SessionGated(std::string_view element, uint16_t flags) {
  Binding<Owner> row = Bind<Member, Codec, Owner>(element, flags);
  row.write = [](const Owner& r, RequestWriter& b, std::string_view name, uint16_t f,
                 BodyForm form) {
    if (form == BodyForm::kRet || When())
      detail::WriteMember<Member, Codec, Owner>(r, b, name, f, form);
  };
  return row;
}

// A row read from responses and never written (QuickBooks sends it; the record does not send it
// back, not even in its query-result form).
template <class Owner>
constexpr Binding<Owner> ReadOnly(Binding<Owner> row) {
  row.write = nullptr;
  return row;
}

// Joins groups of rows (shared identity rows, a class's own rows) in order, at compile time.
template <class Owner, size_t... N>
constexpr std::array<Binding<Owner>, (N + ...)> JoinRows(
    const std::array<Binding<Owner>, N>&... parts) {
  std::array<Binding<Owner>, (N + ...)> out{};
  size_t next = 0;
  auto append = [&](const auto& part) {
    for (const Binding<Owner>& row : part) out[next++] = row;
  };
  (append(parts), ...);
  return out;
}

// A kind's rows and the lookup table its responses are read through, built once at compile time.
template <class Owner>
class BindingTable {
 public:
  constexpr BindingTable(std::span<const Binding<Owner>> rows,
                         std::span<const BasicFieldEntry<Owner>> sortedReaders) noexcept
      : rows_(rows), readers_(sortedReaders) {}
  // The same, reading children in row order with the readers' successors (ReaderSuccessors).
  constexpr BindingTable(std::span<const Binding<Owner>> rows,
                         std::span<const BasicFieldEntry<Owner>> sortedReaders,
                         std::span<const uint16_t> successors, uint16_t first) noexcept
      : rows_(rows), readers_(sortedReaders) {
    readers_.Predict(successors, first);
  }

  std::span<const Binding<Owner>> Rows() const noexcept { return rows_; }
  const BasicFieldTable<Owner>& Readers() const noexcept { return readers_; }

  // Every child of element through its row, in one pass; unknown children are skipped.
  void Read(Owner& owner, const FieldElement& element) const {
    ReadFields<Owner>(owner, element, readers_);
  }
  // The rows of that form, in row order. In a Mod, rows the client changed are told so (an
  // emptied value is then written empty).
  void Write(const Owner& owner, RequestWriter& builder, BodyForm form,
             const ChangeSet* changed = nullptr) const {
    for (size_t i = 0; i < rows_.size(); ++i) {
      const Binding<Owner>& row = rows_[i];
      if (row.write == nullptr || !row.In(form)) continue;
      uint16_t flags = row.flags;
      if (changed != nullptr && changed->Has(i)) flags |= kChanged;
      row.write(owner, builder, row.element, flags, form);
    }
  }
  // The Mod rows of a record that sends only what changed: those the client changed, those
  // flagged kModAlways and aggregates holding changes of their own.
  void WriteChanged(const Owner& owner, RequestWriter& builder, const ChangeSet& changed) const {
    for (size_t i = 0; i < rows_.size(); ++i) {
      const Binding<Owner>& row = rows_[i];
      if (row.write == nullptr || !row.In(BodyForm::kMod)) continue;
      const bool marked = changed.Has(i);
      if (marked || (row.flags & kModAlways) != 0 ||
          (row.changed != nullptr && row.changed(owner))) {
        row.write(owner, builder, row.element,
                  static_cast<uint16_t>(row.flags | (marked ? kChanged : 0)), BodyForm::kMod);
      }
    }
  }
  // Whether an aggregate of the owner holds a change not yet sent.
  bool AggregateChanged(const Owner& owner) const {
    for (const Binding<Owner>& row : rows_) {
      if (row.changed != nullptr && row.changed(owner)) return true;
    }
    return false;
  }
  // The position of an element's first row; rows_.size() when the kind does not bind it.
  size_t IndexOf(std::string_view element) const noexcept {
    for (size_t i = 0; i < rows_.size(); ++i) {
      if (rows_[i].element == element) return i;
    }
    return rows_.size();
  }
  // The element of the first text longer than the catalogue allows in aggregate; empty when all
  // fit.
  std::string_view FirstTooLong(const Owner& owner, std::string_view aggregate) const {
    for (const Binding<Owner>& row : rows_) {
      if (row.text != nullptr && TooLong(row.text(owner), aggregate, row.element))
        return row.element;
    }
    return {};
  }
  // The row of an element; null when the kind does not bind it.
  const Binding<Owner>* Find(std::string_view element) const noexcept {
    for (const Binding<Owner>& row : rows_) {
      if (row.element == element) return &row;
    }
    return nullptr;
  }

 private:
  std::span<const Binding<Owner>> rows_;
  BasicFieldTable<Owner> readers_;
};

// The readers of the rows, sorted by element name, for the BindingTable of those rows.
template <class Owner, size_t N>
constexpr std::array<BasicFieldEntry<Owner>, N> SortedReaders(
    const std::array<Binding<Owner>, N>& rows) {
  std::array<BasicFieldEntry<Owner>, N> out{};
  for (size_t i = 0; i < N; ++i) out[i] = {rows[i].element, rows[i].read};
  std::sort(out.begin(), out.end(),
            [](const auto& a, const auto& b) { return a.element < b.element; });
  return out;
}

// For each sorted reader, the reader of the row after its first row, as the position the table's
// lookup gives for that row's element (so a guess that matches reads exactly what a lookup
// would), and in `first` the entry of the first row. Rows not in the query-result form are passed
// over. (Readers are not compared with null here: with the sanitizers a function's address is no
// constant.)
template <class Owner, size_t N>
struct ReaderOrder {
  std::array<uint16_t, N> successors{};
  uint16_t first = BasicFieldTable<Owner>::kNone;
};
template <class Owner, size_t N>
constexpr ReaderOrder<Owner, N> ReaderSuccessors(
    const std::array<Binding<Owner>, N>& rows,
    const std::array<BasicFieldEntry<Owner>, N>& sorted) {
  static_assert(N < BasicFieldTable<Owner>::kNone, "too many rows for a 16-bit position");
  constexpr auto kNone = static_cast<uint16_t>(BasicFieldTable<Owner>::kNone);
  auto entryOf = [&](std::string_view element) {
    for (size_t i = 0; i < N; ++i) {
      if (sorted[i].element == element) return static_cast<uint16_t>(i);
    }
    return kNone;
  };
  auto readRowFrom = [&](size_t row) {
    while (row < N && !rows[row].In(BodyForm::kRet)) ++row;
    return row;
  };
  ReaderOrder<Owner, N> order;
  order.successors.fill(kNone);
  const size_t firstRow = readRowFrom(0);
  if (firstRow < N) order.first = entryOf(rows[firstRow].element);
  for (size_t i = 0; i < N; ++i) {
    if (entryOf(sorted[i].element) != i) continue;  // a later entry of a repeated name
    size_t row = 0;
    while (rows[row].element != sorted[i].element) ++row;
    const size_t next = readRowFrom(row + 1);
    if (next < N) order.successors[i] = entryOf(rows[next].element);
  }
  return order;
}

using RecordBindings = BindingTable<qcBase>;

}  // namespace brennock

// Declares the lookup and reading order of rows declared as kRows, and their table kTable.
#define BRENNOCK_BINDING_TABLE(Owner)                                                         \
  static constexpr auto kReaders = ::brennock::SortedReaders(kRows);                          \
  static constexpr auto kOrder = ::brennock::ReaderSuccessors(kRows, kReaders);               \
  static constexpr ::brennock::BindingTable<Owner> kTable(kRows, kReaders, kOrder.successors, \
                                                          kOrder.first)

// Declares the static rows and table of a kind inside a function that returns the table:
//   const RecordBindings& ToDo::Bindings() { BRENNOCK_BINDINGS(qcBase, rows...); }
#define BRENNOCK_BINDINGS(Owner, ...)                                     \
  static constexpr auto kRows = ::brennock::JoinRows<Owner>(__VA_ARGS__); \
  BRENNOCK_BINDING_TABLE(Owner);                                          \
  return kTable
