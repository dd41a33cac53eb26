// Saving and deleting through a list collection, and filing QuickBooks's answer to each save.
#include <limits>
#include <vector>

#include "brennock/errors/collected_errors.h"
#include "brennock/errors/qc_errors.h"
#include "brennock/errors/raise.h"
#include "brennock/errors/value_errors.h"
#include "brennock/model/list_collection_core.h"
#include "brennock/model/list_record_core.h"
#include "brennock/model/qc_list_object.h"
#include "brennock/session/session_state.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/values/convert_dtypes.h"
#include "brennock/xml/xml_attributes.h"
#include "brennock/xml/xml_document.h"

namespace brennock {
namespace {

// The status of a save response, read by attribute name: QuickBooks may write the attributes in
// any order, and a message may hold quotes.
struct SaveStatus {
  std::string requestID;
  std::string statusCode;
  std::string statusMessage;
};

std::string AttributeText(const XmlNode& element, std::string_view name) {
  XmlAttribute attribute = element.attributes().getNamedItem(name);
  return attribute ? attribute.text() : std::string();
}

SaveStatus ReadSaveStatus(const XmlNode& response) {
  return {AttributeText(response, "requestID"), AttributeText(response, "statusCode"),
          AttributeText(response, "statusMessage")};
}

}  // namespace

bool ListCollectionCore::AddRequest(qcListObject& obj, xmlBldr& builder, bool bQueryRs,
                                    int32_t requestId) {
  if (requestId > std::numeric_limits<int16_t>::max()) RaiseOverflow();
  auto id = static_cast<int16_t>(requestId);
  if (bQueryRs) {
    builder.InsertQueryRs(obj, id);
    return true;
  }
  switch (obj.ObjectState()) {
    case qoObjectStateNew:
      builder.InsertAddRq(obj, id);
      return true;
    case qoObjectStateClean:
      return false;
    case qoObjectStateDirty:
      if (!hasModify_) RaiseGeneral(Stem(), "Modify not allowed");
      builder.InsertModRq(obj, id);
      return true;
  }
  RaiseGeneral(Stem(), "Unknown Object State");
}

bool ListCollectionCore::AddRequests(xmlBldr& builder, bool bQueryRs) {
  bool any = false;
  for (size_t i = 0; i < members_.size(); ++i) {
    any |= AddRequest(*members_[i], builder, bQueryRs, static_cast<int32_t>(i + 1));
  }
  return any;
}

void ListCollectionCore::HandleSaveResponse(const XmlNode& response) {
  SaveStatus status = ReadSaveStatus(response);
  int32_t requestId = ModConvertDtypes::TextToInt32(status.requestID);
  if (requestId < 1 || requestId > Count()) return;  // not one of ours
  qcListObject& record = *members_[static_cast<size_t>(requestId - 1)];
  int32_t code = ModConvertDtypes::TextToInt32(status.statusCode);
  if (code == 0) {
    record.FromDom(response.childNodes().item(0));
    return;
  }
  FileRefusedSave(record, code, status.statusMessage);
}

void ListCollectionCore::FileRefusedSave(qcListObject& record, int32_t code,
                                         std::string_view message) {
  AddCommitStatusErrors(*errors_, *record.Errors(), record.CollectionKey(), code, message,
                        RefusedField());
}

std::string_view ListCollectionCore::RefusedField() const { return kQuickBooksField; }

int32_t ListCollectionCore::Commit(std::shared_ptr<qcListObject> Member) {
  RequireMaster();
  errors_->Clear();
  // Validation may ask QuickBooks for a parent through this very collection, whose builder the
  // save requests use: validate every member first, then write the document.
  std::vector<size_t> valid;
  if (!Member) {
    for (size_t i = 0; i < members_.size(); ++i) {
      qcListObject& member = *members_[i];
      if (member.Validate()) {
        valid.push_back(i);
      } else {
        AddTableError(*errors_, errValidateFailed, member.CollectionKey());
      }
    }
  } else if (!Member->Validate()) {
    AddTableError(*errors_, errValidateFailed, Member->CollectionKey());
  } else {
    size_t position = PositionOf(*Member);
    if (position == std::string::npos) {
      AddTableError(*errors_, errNotMember, Stem());
    } else {
      valid.push_back(position);
    }
  }
  xmlBldr& builder = Builder();
  builder.NewClear();
  bool any = false;
  for (size_t i : valid) {
    any |= AddRequest(*members_[i], builder, false, static_cast<int32_t>(i + 1));
  }
  if (any) {
    std::shared_ptr<XmlDocument> response = builder.NewSendRequest();
    XmlNode messageSet = response->documentElement().childNodes().item(0);
    for (XmlNode element : messageSet.childNodes()) {
      if (element.nodeType() == NODE_ELEMENT) HandleSaveResponse(element);
    }
  }
  if (Session().errorMode) {
    if (errors_->Count() != 0) RaiseError(errCommitErrors, Stem());
    if (builder.ErrNumber() != 0) {
      throw AutomationError(builder.ErrNumber(), std::string(Stem()), builder.ErrMsg());
    }
  }
  return errors_->Count();
}

int32_t ListCollectionCore::Delete(const std::string& ListID, bool bRemove) {
  return DeleteOfType(Stem(), ListID, bRemove);
}

int32_t ListCollectionCore::DeleteOfType(std::string_view listDelType, const std::string& ListID,
                                         bool bRemove) {
  RequireMaster();
  std::shared_ptr<qcListObject> record = LookupByListID(ListID, {});
  bool held = record && ItemExists(record->CollectionKey());
  xmlBldr& builder = Builder();
  builder.NewClear();
  builder.OpenAggregate("ListDelRq", "requestID", "1");
  builder.CreateElement("ListDelType", listDelType);
  builder.CreateElement("ListID", ListID);
  builder.EndAggregate("ListDelRq");
  builder.NewSendRequest();
  if (builder.ErrNumber() != 0) RaiseError(errDeleteFailed, Stem(), builder.ErrMsg());
  if (bRemove && held) RemoveAt(PositionOf(*record));
  return 0;
}

}  // namespace brennock
