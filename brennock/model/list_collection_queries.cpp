// Queries of the list collections: filling a collection from QuickBooks, or handing the response
// to the database export.
#include "brennock/database/response_exporter.h"
#include "brennock/model/convert_dtypes.h"
#include "brennock/model/enumerations.h"
#include "brennock/model/list_collection_core.h"
#include "brennock/model/list_record_core.h"
#include "brennock/model/loaded_children.h"
#include "brennock/model/qc_errors.h"
#include "brennock/model/qc_list_object.h"
#include "brennock/model/raise.h"
#include "brennock/model/xml_document.h"
#include "brennock/session/xml_bldr.h"

namespace brennock {
namespace {

// The response to the first request: document, QBXML, the message set, its first child.
XmlNode FirstResponse(const XmlDocument& document) {
  return document.childNodes().item(1).childNodes().item(0).childNodes().item(0);
}

}  // namespace

std::string ListCollectionCore::QueryName() const {
  std::string name(Stem());
  name += "QueryRq";
  return name;
}

bool ListCollectionCore::FileBuilderError() {
  int32_t number = Builder().ErrNumber();
  if (number == 0) return false;
  errors_->Add(number, "", Builder().ErrMsg());
  return true;
}

void ListCollectionCore::WriteActiveStatus(xmlBldr& builder, qbEnumActiveStatus status) {
  builder.CreateElement("ActiveStatus",
                        EnumCodeToText(qoeActiveStatus, static_cast<int16_t>(status)));
}

void ListCollectionCore::ExportResponse(const XmlDocument& response, const std::string& sMDBPath) {
  std::shared_ptr<ResponseExporter> exporter = RegisteredResponseExporter();
  if (!exporter) {
    errors_->Add(ErrorNumber(errGeneral), "", std::string(kNoResponseExporter));
    return;
  }
  exporter->ExportResponse(response, kind_.objectType, Stem(), sMDBPath);
}

void ListCollectionCore::LoadResponse(const XmlDocument& response) {
  XmlNodeList records = FirstResponse(response).childNodes();
  EmptyMembers();
  auto expected = static_cast<size_t>(records.length());
  members_.reserve(expected);
  index_.Reserve(expected);
  // Each record is filed after the next one has read its element: the slot of its key in the
  // index, asked for meanwhile, has then come from memory. When that reading fails, the waiting
  // record is filed first, so a taken key is still the error raised, as in file order.
  std::string key;  // one buffer for every member's key
  uint64_t keyHash = 0;
  std::shared_ptr<ListRecordCore> waiting;
  // Parent links are noted while each record is at hand and made once all are filed.
  auto loaded = kind_.hierarchical ? std::make_shared<LoadedChildren>() : nullptr;
  for (XmlNode element : records) {
    if (element.nodeType() != NODE_ELEMENT) continue;
    std::shared_ptr<ListRecordCore> record = create_();
    try {
      record->FromDom(element);
    } catch (...) {
      if (waiting) FileUnder(key, keyHash, std::move(waiting));
      throw;
    }
    if (waiting) FileUnder(key, keyHash, std::move(waiting));
    key.clear();
    record->AppendFullName(key);
    keyHash = index_.PrepareInsert(key);
    if (loaded && !record->ParentFullName().empty()) loaded->Add(record->ParentFullName(), key);
    waiting = std::move(record);
  }
  if (waiting) FileUnder(key, keyHash, std::move(waiting));
  if (loaded) LinkLoadedMembers(loaded);
}

int32_t ListCollectionCore::RunQuery(int32_t MaxReturned, const std::string& sMDBPath,
                                     const FilterWriter& writeFilters) {
  EmptyMembers();
  errors_->Clear();
  xmlBldr& builder = Builder();
  std::shared_ptr<XmlDocument> response;
  try {
    builder.NewClear();
    std::string name = QueryName();
    builder.OpenAggregate(name, "requestID", "1");
    if (MaxReturned > 0) builder.CreateElement("MaxReturned", std::to_string(MaxReturned));
    if (writeFilters) writeFilters(builder);
    builder.EndAggregate(name);
    response = builder.NewSendRequest();
  } catch (const AutomationError& error) {
    // A query never raises: a failed send is reported like a refused request.
    errors_->Add(error.Number(), "", error.Description());
    return Count();
  }
  if (FileBuilderError()) return Count();
  if (sMDBPath.empty()) {
    LoadResponse(*response);
  } else {
    ExportResponse(*response, sMDBPath);
  }
  return Count();
}

int32_t ListCollectionCore::GetAll(int32_t MaxReturned, const std::string& sMDBPath) {
  return RunQuery(MaxReturned, sMDBPath,
                  [](xmlBldr& builder) { WriteActiveStatus(builder, qbStatusAny); });
}

int32_t ListCollectionCore::GetActive(int32_t MaxReturned, const std::string& sMDBPath) {
  return RunQuery(MaxReturned, sMDBPath,
                  [](xmlBldr& builder) { WriteActiveStatus(builder, qbStatusActive); });
}

int32_t ListCollectionCore::GetByNameRange(const std::string& FromName, const std::string& ToName,
                                           int32_t MaxReturned, const std::string& sMDBPath) {
  return RunQuery(MaxReturned, sMDBPath, [&](xmlBldr& builder) {
    builder.OpenAggregateOnly("NameRangeFilter");
    // An empty bound leaves that end of the range open.
    builder.CreateElement2("FromName", FromName, false, 0.0);
    builder.CreateElement2("ToName", ToName, false, 0.0);
    builder.EndAggregate("NameRangeFilter");
  });
}

int32_t ListCollectionCore::GetByNameMatch(const std::string& MatchString,
                                           qbEnumMatchType MatchType, int32_t MaxReturned,
                                           const std::string& sMDBPath) {
  // Resolved first, so an unknown match type writes no half request.
  std::string criterion = EnumCodeToXmlText(qoeMatchType, static_cast<int16_t>(MatchType));
  if (criterion.empty()) RaiseLibraryError(errInvalidEnumString);
  return RunQuery(MaxReturned, sMDBPath, [&](xmlBldr& builder) {
    builder.OpenAggregateOnly("NameFilter");
    builder.CreateElement("MatchCriterion", criterion);
    builder.CreateElement("Name", MatchString);
    builder.EndAggregate("NameFilter");
  });
}

int32_t ListCollectionCore::GetByDateSpan(Date FromDate, Date ToDate, int32_t MaxReturned,
                                          const std::string& sMDBPath) {
  return RunQuery(MaxReturned, sMDBPath, [&](xmlBldr& builder) {
    // A zero date is no bound rather than the text "None", which QuickBooks refuses.
    if (!FromDate.IsNull())
      builder.CreateElement("FromModifiedDate", ModConvertDtypes::DateTimeToText(FromDate));
    if (!ToDate.IsNull())
      builder.CreateElement("ToModifiedDate", ModConvertDtypes::DateTimeToText(ToDate));
  });
}

std::shared_ptr<qcListObject> ListCollectionCore::LookupSingle(std::string_view identifier,
                                                               const std::string& value,
                                                               const std::string& sMDBPath) {
  xmlBldr& builder = Builder();
  std::shared_ptr<XmlDocument> response;
  try {
    response = builder.QuerySingleExecute(QueryName(), value, identifier, 0, kind_.objectType);
  } catch (const AutomationError& error) {
    errors_->Add(error.Number(), "", error.Description());
    return nullptr;
  }
  if (FileBuilderError()) return nullptr;
  if (!sMDBPath.empty()) {
    ExportResponse(*response, sMDBPath);
    return nullptr;
  }
  for (XmlNode element : FirstResponse(*response).childNodes()) {
    if (element.nodeType() != NODE_ELEMENT) continue;
    std::shared_ptr<qcListObject> record = create_();
    record->FromDom(element);
    size_t held = index_.Find(record->CollectionKey());
    if (held != KeyIndex::npos) {
      // Already a member (looked up by ListID): refresh it rather than file a twin.
      std::shared_ptr<qcListObject> member = members_[held];
      member->FromDom(element);
      return member;
    }
    File(record);
    LinkToParent(*record);
    return record;
  }
  return nullptr;  // success without a record: nothing matched
}

std::shared_ptr<qcListObject> ListCollectionCore::LookupByFullName(const std::string& sFullName,
                                                                   const std::string& sMDBPath) {
  if (sFullName.empty()) return nullptr;
  Builder().Clear();
  errors_->Clear();
  size_t held = index_.Find(sFullName);
  if (held != KeyIndex::npos) return members_[held];
  return LookupSingle("FullName", sFullName, sMDBPath);
}

std::shared_ptr<qcListObject> ListCollectionCore::LookupByListID(const std::string& sListID,
                                                                 const std::string& sMDBPath) {
  if (sListID.empty()) return nullptr;
  Builder().Clear();
  errors_->Clear();
  return LookupSingle("ListID", sListID, sMDBPath);
}

}  // namespace brennock
