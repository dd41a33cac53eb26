#include "brennock/lists/sales_rep.h"

#include "brennock/errors/automation_error.h"
#include "brennock/errors/collected_errors.h"
#include "brennock/lists/entities.h"
#include "brennock/util/text.h"

namespace brennock {
namespace {

constexpr size_t kMaxEntityNameLength = 31;

enum class EntityKind { Missing, Customer, Other };

// What QuickBooks knows under that entity reference, looked up through a collection of entities
// by full name (or ListID when only that is known). A failed query counts as not found.
EntityKind LookupEntity(const qcListObjectRef& entity) {
  Entities entities;
  std::shared_ptr<qcListObject> found;
  try {
    found = entity.FullName().empty() ? entities.GetByListID(entity.ListID())
                                      : entities.GetByFullName(entity.FullName());
  } catch (const AutomationError&) {
    return EntityKind::Missing;
  }
  if (!found) return EntityKind::Missing;
  return found->ObjectType() == qoObjectTypeCustomer ? EntityKind::Customer : EntityKind::Other;
}

}  // namespace

const RecordBindings& SalesRep::Bindings() {
  BRENNOCK_BINDINGS(
      qcBase, RetHeadRows(), NameRow("Initial"), ActiveRow(kInAdd | kInRet | kWordsInRequests),
      std::array{Bind<&SalesRep::entity_, codecs::Ref>("SalesRepEntityRef", kInAdd | kInRet)},
      UserDataRow());
}

void SalesRep::SetEntity(const std::string& value) {
  CheckModify(true);
  entity_.SetFullName(value);
}

void SalesRep::CheckRules(qcErrors& errors) {
  if (TooLong(name_, "SalesRepAdd", "Initial"))
    AddTableError(errors, errInitialsTooLong, "Initial");
  if (entity_.IsEmpty()) {
    AddTableError(errors, errSalesRepNameRequired, "SalesRepEntity");
    return;
  }
  if (Utf8Length(entity_.FullName()) > kMaxEntityNameLength)
    AddTableError(errors, errSalesRepEntityTooLong, "SalesRepEntity:FullName");
  switch (LookupEntity(entity_)) {
    case EntityKind::Missing:
      AddTableError(errors, errSalesRepEntityNotFound, "SalesRepEntity");
      break;
    case EntityKind::Customer:
      AddTableError(errors, errSalesRepEntityInvalid, "SalesRepEntity");
      break;
    case EntityKind::Other:
      break;
  }
}

}  // namespace brennock
