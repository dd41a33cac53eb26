#include "cli/app/list_kinds.h"

#include <algorithm>
#include <array>
#include <type_traits>
#include <vector>

#include "brennock/internal/qbxml/catalogue.h"
#include "brennock/internal/registry/record_registry.h"
#include "brennock/lists/hierarchical_lists.h"
#include "brennock/lists/named_lists.h"
#include "brennock/lists/tax_codes.h"
#include "brennock/lists/to_do.h"
#include "cli/app/cli_errors.h"

namespace brennock::cli {
namespace {

struct NewRecord {
  const std::string& name;
  bool active;
  const std::string& parent;
};

// Records are made by the typed collections' Add, whose arguments after the name differ from
// list to list; the hierarchical lists take the parent there, so it is linked as it is filed.
template <class Collection>
std::shared_ptr<qcListObject> AddTo(ListCollectionCore& collection, const NewRecord& wanted) {
  auto& typed = dynamic_cast<Collection&>(collection);
  using Record = typename Collection::record_type;
  if constexpr (std::is_base_of_v<HierarchicalListRecord, Record>) {
    return typed.Add(wanted.name, wanted.active, wanted.parent);
  } else if constexpr (std::is_same_v<Record, SalesTaxCode>) {
    return typed.Add(wanted.name, {}, false, wanted.active);
  } else {  // named lists, and to-dos whose notes the name gives
    return typed.Add(wanted.name, wanted.active);
  }
}

template <class... Collections>
constexpr auto AddersOf() {
  return std::array{std::pair{Collections::record_type::kObjectType, &AddTo<Collections>}...};
}

// Keyed by object type: the master lists whose records a name makes. Currencies (a currency
// code), wage payroll items (an expense account) and sales reps (the rep's entity) need more than
// a name and are left to programs that use the library.
constexpr auto kAdders =
    AddersOf<Classes, CustomerMessages, CustomerTypes, JobTypes, PaymentMethods, SalesTaxCodes,
             ShipMethods, ToDoList, VendorTypes>();

}  // namespace

bool IsMasterList(const RecordKind& kind) noexcept {
  return kind.newCollection != nullptr && kind.Has(kMaster);
}

bool AddsByName(const RecordKind& kind) noexcept {
  for (const auto& adder : kAdders)
    if (adder.first == kind.objectType) return true;
  return false;
}

bool IsListable(const RecordKind& kind) noexcept {
  return qbxml::FindAggregate(std::string(kind.stem) + "QueryRq") != nullptr;
}

std::string ListWords(bool (*only)(const RecordKind&) noexcept) {
  std::vector<std::string_view> words;
  for (const RecordKind& kind : ListRegistry())
    if (!only || only(kind)) words.push_back(kind.command);
  std::sort(words.begin(), words.end());
  std::string out;
  for (std::string_view word : words) {
    if (!out.empty()) out += ", ";
    out += word;
  }
  return out;
}

std::shared_ptr<qcListObject> AddRecord(ListCollectionCore& collection, const RecordKind& kind,
                                        const std::string& name, bool active,
                                        const std::string& parent) {
  for (const auto& [object, add] : kAdders)
    if (object == kind.objectType) return add(collection, {name, active, parent});
  throw CommandFailure("the command cannot add to the " + std::string(kind.label) + " list yet");
}

}  // namespace brennock::cli
