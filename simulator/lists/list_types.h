#pragma once

#include <span>
#include <string_view>

#include "brennock/internal/model/record_kind.h"
#include "brennock/internal/qbxml/catalogue.h"

namespace brennock::simulator {

// One QuickBooks list as the simulator stores it: a row of the library's list registry with the
// catalogue's return aggregate. The name is the qbXML object name: requests are composed from it
// (name + "AddRq", "ModRq", "QueryRq", "Ret") and it is the ListDelType.
struct ListType {
  const RecordKind* kind;
  std::string_view name;
  // Names are unique within a name space: customers, vendors, employees and other names share
  // "Entity"; every item kind shares "Item"; both kinds of terms share "Terms".
  std::string_view name_space;
  bool can_add;
  bool can_modify;
  bool can_delete;
  std::string_view ret;                   // "CustomerRet"
  std::span<const qbxml::Element> shape;  // children of the Ret aggregate, in order

  bool has_field(std::string_view field) const;
  int field_index(std::string_view field) const;  // -1 when absent
  bool hierarchical() const { return kind->hierarchical(); }
};

// The registry's lists that keep records of their own (not the composite queries Entity, Item and
// Terms, nor lists without a return aggregate), in the registry's order.
std::span<const ListType> AllListTypes();
const ListType* FindListType(std::string_view name);

// The lists a reference element may point at ("TermsRef" -> StandardTerms and DateDrivenTerms).
// Empty when the simulator does not check the reference. ParentRef is resolved by the caller.
std::span<const ListType* const> ReferenceTargets(std::string_view ref_element);

// The kind word QuickBooks uses for a reference in messages ("Class", "Customer:Job", ...).
std::string_view ReferenceKindName(std::string_view ref_element);

}  // namespace brennock::simulator
