#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "brennock/enums/object_enums.h"
#include "brennock/model/binding.h"

namespace brennock {

class ListCollectionCore;

// What QuickBooks allows on a list and how its records are shaped.
enum ListKindFlag : uint16_t {
  kHierarchical = 1 << 0,  // records have a parent, children and a sublevel
  kCanAdd = 1 << 1,        // QuickBooks takes <stem>AddRq
  kCanModify = 1 << 2,     // QuickBooks takes <stem>ModRq
  kCanDelete = 1 << 3,     // QuickBooks takes a ListDelRq of the list
  kMixed = 1 << 4,         // one query answers with several record kinds (Entity, Item, Terms)
  kIterates = 1 << 5,      // the query takes iterator attributes (qbXML 5.0 and later)
  kFilters = 1 << 6,       // the query takes MaxReturned, ActiveStatus, modified dates, NameFilter
  kMaster = 1 << 7,        // the company's collection of the list adds, deletes and commits
  kModChanges = 1 << 8,    // a Mod carries only the fields changed since QuickBooks sent the record
};

// One QuickBooks list, as constant data: a row of the list registry (list_registry.h), shared by
// the records and collections of the list, the company, the simulator and the command.
struct ListRecordKind {
  qoEnumListObjectType objectType;
  qoEnumListType listType;
  std::string_view className;      // the record class; source of 1002 from the change guard
  std::string_view stem;           // qbXML name: <stem>AddRq, <stem>Ret; the ListDelType
  std::string_view modifyRefusal;  // description of XMLModify's 1003; empty: Mod rows are written
  uint16_t flags;                  // ListKindFlag
  std::string_view listsKey;       // key among the company's Lists; empty when not registered
  std::string_view nameSpace;      // names are unique across the lists of one name space
  std::string_view command;        // the `brennock` command's word for the list
  std::string_view label;          // the list in messages ("customer type")
  std::string_view defaultFields;  // the command's columns for table and CSV output
  // The record class's bindings and a new, empty collection; null while the library has no class
  // for the list.
  const RecordBindings& (*bindings)() = nullptr;
  std::shared_ptr<ListCollectionCore> (*newCollection)() = nullptr;

  constexpr bool Has(ListKindFlag flag) const noexcept { return (flags & flag) != 0; }
  constexpr bool hierarchical() const noexcept { return Has(kHierarchical); }
};

// The registry's row of an object type; null when none. Declared here for the records and
// collections, which take their kind from it; the list registry (lists/list_registry.cpp) holds it.
const ListRecordKind* FindListKindByObject(qoEnumListObjectType object);

// The row of a record class's list, looked up once per class.
template <qoEnumListObjectType Object>
const ListRecordKind& RegisteredKind() {
  static const ListRecordKind& kind = *FindListKindByObject(Object);
  return kind;
}

}  // namespace brennock
