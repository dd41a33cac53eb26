#include "brennock/lists/sales_rep.h"

#include "brennock/errors/collected_errors.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/util/text.h"
#include "brennock/xml/xml_document.h"

namespace brennock {
namespace {

constexpr size_t kMaxEntityNameLength = 31;

enum class EntityKind { Missing, Customer, Other };

// What QuickBooks knows under that entity reference: one EntityQueryRq by full name (or ListID
// when only that is known). A failed query counts as not found.
EntityKind LookupEntity(const qcListObjectRef& entity) {
  xmlBldr builder;
  bool byName = !entity.FullName().empty();
  std::shared_ptr<XmlDocument> response;
  try {
    response =
        builder.QuerySingleExecute("EntityQueryRq", byName ? entity.FullName() : entity.ListID(),
                                   byName ? "FullName" : "ListID", 0, qoObjectTypeEntity);
  } catch (const AutomationError&) {
    return EntityKind::Missing;
  }
  if (builder.ErrNumber() != 0) return EntityKind::Missing;
  XmlNode rs = response->documentElement().childNodes().item(0).childNodes().item(0);
  for (XmlNode element : rs.childNodes()) {
    if (element.nodeType() != NODE_ELEMENT) continue;
    return element.baseName() == "CustomerRet" ? EntityKind::Customer : EntityKind::Other;
  }
  return EntityKind::Missing;
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

std::shared_ptr<SalesRep> SalesReps::Add(const std::string& Initial, bool IsActive,
                                         const std::string& EntityFullName) {
  std::shared_ptr<SalesRep> record = NewMember();
  Fill(*record, Initial, IsActive);
  record->SetEntity(EntityFullName);
  FileNew(record);
  return record;
}

}  // namespace brennock
