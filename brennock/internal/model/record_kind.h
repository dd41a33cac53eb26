#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "brennock/enums/object_enums.h"
#include "brennock/internal/model/binding.h"

namespace brennock {

class CollectionCore;

// Lists and transactions are records of one engine; the family decides their identity (ListID and
// a full name, or TxnID and a reference number), their collections' queries and the form of the
// change guard.
enum class RecordFamily : uint8_t { kList, kTransaction };

// What QuickBooks allows on a kind of record and how its records are shaped.
enum RecordKindFlag : uint32_t {
  kHierarchical = 1 << 0,  // records have a parent, children and a sublevel
  kCanAdd = 1 << 1,        // QuickBooks takes <stem>AddRq
  kCanModify = 1 << 2,     // QuickBooks takes <stem>ModRq
  kCanDelete = 1 << 3,     // QuickBooks takes a ListDelRq (TxnDelRq) of the kind
  kMixed = 1 << 4,         // one query answers with several record kinds (Entity, Item, Terms)
  kIterates = 1 << 5,      // the query takes iterator attributes (qbXML 5.0 and later)
  kFilters = 1 << 6,       // the query takes MaxReturned, ActiveStatus, modified dates, NameFilter
  kMaster = 1 << 7,        // the company's collection of the kind adds, deletes and commits
  kModChanges = 1 << 8,    // a Mod carries only the fields changed since QuickBooks sent the record
  // Transactions.
  kCanVoid = 1 << 9,         // QuickBooks takes a TxnVoidRq of the kind
  kPaidStatus = 1 << 10,     // the query takes PaidStatus
  kLinkedTxns = 1 << 11,     // the query takes IncludeLinkedTxns
  kLineItems = 1 << 12,      // the query takes IncludeLineItems
  kRefNumbers = 1 << 13,     // the query takes the ref-number filters
  kAccountFilter = 1 << 14,  // the query takes AccountFilter
  kEntityFilter = 1 << 15,   // the query takes EntityFilter
  // The query's entity filter is <stem>EntityFilter of full names, without children (time).
  kOwnEntityFilter = 1 << 16,
};

// One kind of QuickBooks record, as constant data: a row of the record registry
// (brennock/internal/registry/record_registry.h), shared by the records and collections of the
// kind, the company, the simulator and the command.
struct RecordKind {
  RecordFamily family;
  qoEnumListObjectType objectType;
  qoEnumListType listType;         // lists; 0 for transactions
  std::string_view className;      // the record class; source of 1002 from the change guard
  std::string_view stem;           // qbXML name: <stem>AddRq, <stem>Ret; the ListDelType/TxnDelType
  std::string_view modifyRefusal;  // description of XMLModify's 1003; empty: Mod rows are written
  uint32_t flags;                  // RecordKindFlag
  std::string_view listsKey;       // key among the company's Lists; empty when not registered
  std::string_view nameSpace;      // names are unique across the lists of one name space
  std::string_view command;        // the `brennock` command's word for the kind
  std::string_view label;          // the kind in messages ("customer type")
  std::string_view defaultFields;  // the command's columns for table and CSV output
  // The record class's bindings and a new, empty collection; null while the library has no class
  // for the kind.
  const RecordBindings& (*bindings)() = nullptr;
  std::shared_ptr<CollectionCore> (*newCollection)() = nullptr;

  constexpr bool Has(RecordKindFlag flag) const noexcept { return (flags & flag) != 0; }
  constexpr bool hierarchical() const noexcept { return Has(kHierarchical); }
  constexpr bool transaction() const noexcept { return family == RecordFamily::kTransaction; }
};

// The registry's row of an object type; null when none. The registry (a layer above every record
// family) hands its table down with RegisterRecordKinds when the program starts, so the records
// and collections below it find their rows without depending on it.
const RecordKind* FindRecordKindByObject(qoEnumListObjectType object);
void RegisterRecordKinds(std::span<const RecordKind> kinds) noexcept;

// The row of a record class's kind, looked up once per class.
template <qoEnumListObjectType Object>
const RecordKind& RegisteredKind() {
  // The registry is linked with the library (its link interface keeps it), so every record class
  // has its row.
  static const RecordKind& kind = *FindRecordKindByObject(Object);
  return kind;
}

}  // namespace brennock
