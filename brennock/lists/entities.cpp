#include "brennock/lists/entities.h"

#include "brennock/enums/enumerations.h"
#include "brennock/errors/automation_error.h"
#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/model/response_exporter.h"
#include "brennock/lists/customer.h"
#include "brennock/lists/employee.h"
#include "brennock/lists/other_name.h"
#include "brennock/lists/vendor.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/values/convert_dtypes.h"
#include "brennock/xml/xml_attributes.h"
#include "brennock/xml/xml_document.h"

namespace brennock {
namespace {

// The record class of each return element of an entity query.
struct EntityClass {
  std::string_view element;
  std::shared_ptr<ListRecordCore> (*create)();
};
constexpr EntityClass kEntityClasses[] = {
    {"VendorRet", &MakeListRecord<Vendor>},
    {"EmployeeRet", &MakeListRecord<Employee>},
    {"OtherNameRet", &MakeListRecord<OtherName>},
    {"CustomerRet", &MakeListRecord<Customer>},
};

// The response to the first request of a document.
XmlNode FirstResponse(const XmlDocument& document) {
  return document.documentElement().childNodes().item(0).childNodes().item(0);
}

// QuickBooks answers with a warning severity and the records the session may see.
bool IsPartialAnswer(const XmlNode& response) {
  XmlAttribute severity = response.attributes().getNamedItem("statusSeverity");
  if (!severity || severity.text() != "Warn") return false;
  for (XmlNode child : response.childNodes())
    if (child.nodeType() == NODE_ELEMENT) return true;
  return false;
}

}  // namespace

Entities::Entities()
    : ListCollectionCore(RegisteredKind<qoObjectTypeEntity>(), &MakeRecord<Vendor>) {}

std::shared_ptr<ListRecordCore> Entities::NewListRecord(std::string_view element) {
  for (const EntityClass& entity : kEntityClasses) {
    if (entity.element == element) return entity.create();
  }
  RaiseGeneral("Entities", "Unknown Entity");
}

bool Entities::AddMemberRequest(PersistentRecord& obj, xmlBldr& builder, bool bQueryRs,
                                int32_t requestId) {
  if (!bQueryRs) {
    if (obj.ObjectState() == qoObjectStateNew) RaiseGeneral("Entity", "Insert not allowed");
    if (obj.ObjectState() == qoObjectStateDirty) RaiseGeneral("Entity", "Modify not allowed");
  }
  return ListCollectionCore::AddMemberRequest(obj, builder, bQueryRs, requestId);
}

int32_t Entities::Delete(const std::string& ListID, qbEnumEntityType EntityType, bool bRemove) {
  std::string type = EnumCodeToXmlText(qoeEntityType, static_cast<int16_t>(EntityType));
  return DeleteOfType(type, ListID, bRemove);
}

void Entities::WriteTail(xmlBldr& builder, int32_t MaxReturned) const {
  if (MaxReturned > 0) builder.CreateElement("MaxReturned", std::to_string(MaxReturned));
}

int32_t Entities::Query(const std::string& sMDBPath, const FilterWriter& writeFilters) {
  Clear();
  Errors()->Clear();
  xmlBldr& builder = Builder();
  std::shared_ptr<XmlDocument> response;
  try {
    builder.NewClear();
    builder.OpenAggregate("EntityQueryRq", "requestID", "1");
    writeFilters(builder);
    builder.EndAggregate("EntityQueryRq");
    response = builder.NewSendRequest();
  } catch (const AutomationError& error) {  // a query never raises
    Errors()->Add(error.Number(), "", error.Description());
    return 0;
  }
  int32_t status = builder.ErrNumber();
  if (response->parseError().errorCode != 0) {
    Errors()->Add(ErrorNumber(errGeneral), "",
                  "The response from QuickBooks is not well-formed XML");
    return 0;
  }
  // A warning with records: the session may see only some kinds of names.
  const bool partial = status != 0 && IsPartialAnswer(FirstResponse(*response));
  if (status != 0 && !partial) {
    Errors()->Add(status, "", builder.ErrMsg());
    return 0;
  }
  if (!sMDBPath.empty()) {
    std::shared_ptr<ResponseExporter> exporter = RegisteredResponseExporter();
    if (exporter) {
      exporter->ExportResponse(*response, qoObjectTypeEntity, Stem(), sMDBPath);
    } else {
      Errors()->Add(ErrorNumber(errGeneral), "", std::string(kNoResponseExporter));
    }
  } else {
    for (XmlNode element : FirstResponse(*response).childNodes()) {
      if (element.nodeType() != NODE_ELEMENT) continue;
      std::shared_ptr<ListRecordCore> record = NewListRecord(element.baseName());
      record->FromDom(element);
      AddObject(std::move(record));
    }
  }
  if (partial) Errors()->Add(status, "", std::string(kMsgPartialPermission));
  return Count();
}

int32_t Entities::GetAll(int32_t MaxReturned, const std::string& sMDBPath) {
  return Query(sMDBPath, [&](xmlBldr& builder) {
    WriteTail(builder, MaxReturned);
    WriteActiveStatus(builder, qbStatusAny);
  });
}

int32_t Entities::GetActive(int32_t MaxReturned, const std::string& sMDBPath) {
  return Query(sMDBPath, [&](xmlBldr& builder) {
    WriteTail(builder, MaxReturned);
    WriteActiveStatus(builder, qbStatusActive);
  });
}

int32_t Entities::GetByNameRange(const std::string& FromName, const std::string& ToName,
                                 int32_t MaxReturned, const std::string& sMDBPath) {
  return Query(sMDBPath, [&](xmlBldr& builder) {
    WriteTail(builder, MaxReturned);
    builder.OpenAggregateOnly("NameRangeFilter");
    builder.CreateElement2("FromName", FromName, false, 0.0);
    builder.CreateElement2("ToName", ToName, false, 0.0);
    builder.EndAggregate("NameRangeFilter");
  });
}

int32_t Entities::GetByNameMatch(const std::string& MatchString, qbEnumMatchType MatchType,
                                 int32_t MaxReturned, const std::string& sMDBPath) {
  std::string criterion = EnumCodeToXmlText(qoeMatchType, static_cast<int16_t>(MatchType));
  if (criterion.empty()) RaiseLibraryError(errInvalidEnumString);
  return Query(sMDBPath, [&](xmlBldr& builder) {
    WriteTail(builder, MaxReturned);
    builder.OpenAggregateOnly("NameFilter");
    builder.CreateElement("MatchCriterion", criterion);
    builder.CreateElement("Name", MatchString);
    builder.EndAggregate("NameFilter");
  });
}

int32_t Entities::GetByDateSpan(Date FromDate, Date ToDate, int32_t MaxReturned,
                                const std::string& sMDBPath) {
  return Query(sMDBPath, [&](xmlBldr& builder) {
    WriteTail(builder, MaxReturned);
    if (!FromDate.IsNull())
      builder.CreateElement("FromModifiedDate", ModConvertDtypes::DateTimeToText(FromDate));
    if (!ToDate.IsNull())
      builder.CreateElement("ToModifiedDate", ModConvertDtypes::DateTimeToText(ToDate));
  });
}

int32_t Entities::GetByFullNames(const std::vector<std::string>& sFullNames,
                                 const std::string& sMDBPath) {
  if (sFullNames.empty()) RaiseError(errEmptyGetByArray, "Brennock");
  return Query(sMDBPath, [&](xmlBldr& builder) {
    for (const std::string& name : sFullNames) builder.CreateElement("FullName", name);
  });
}

int32_t Entities::GetByListIDs(const std::vector<std::string>& sListIDs,
                               const std::string& sMDBPath) {
  if (sListIDs.empty()) RaiseError(errEmptyGetByArray, "Brennock");
  return Query(sMDBPath, [&](xmlBldr& builder) {
    for (const std::string& id : sListIDs) builder.CreateElement("ListID", id);
  });
}

}  // namespace brennock
