#include "brennock/lists/sales_rep.h"

#include "brennock/errors/automation_error.h"
#include "brennock/internal/errors/collected_errors.h"
#include "brennock/internal/util/text.h"
#include "brennock/lists/entities.h"

namespace brennock {
namespace {

constexpr size_t kMaxEntityNameLength = 31;

// The kind of name QuickBooks knows under that entity reference (0 when none), looked up through
// a collection of entities by full name (or ListID when only that is known). A failed query counts
// as not found.
int32_t EntityType(const qcListObjectRef& entity) {
  Entities entities;
  try {
    auto found = entity.FullName().empty() ? entities.GetByListID(entity.ListID())
                                           : entities.GetByFullName(entity.FullName());
    return found ? found->ObjectType() : 0;
  } catch (const AutomationError&) {
    return 0;
  }
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
  int32_t type = EntityType(entity_);
  if (type == 0) AddTableError(errors, errSalesRepEntityNotFound, "SalesRepEntity");
  if (type == qoObjectTypeCustomer)
    AddTableError(errors, errSalesRepEntityInvalid, "SalesRepEntity");
}

}  // namespace brennock
