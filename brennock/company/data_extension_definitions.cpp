#include "brennock/company/data_extension_definitions.h"

#include <algorithm>
#include <limits>

#include "brennock/model/automation_error.h"
#include "brennock/model/collected_errors.h"
#include "brennock/model/collection_support.h"
#include "brennock/model/convert_dtypes.h"
#include "brennock/model/enumeration_type.h"
#include "brennock/model/enumerations.h"
#include "brennock/model/qc_enum.h"
#include "brennock/model/qc_enum_value.h"
#include "brennock/model/raise.h"
#include "brennock/model/xml_attributes.h"
#include "brennock/model/xml_document.h"
#include "brennock/model/xml_node.h"
#include "brennock/session/session_state.h"
#include "brennock/session/xml_bldr.h"

namespace brennock {
namespace {

constexpr size_t kMaxNameLength = 31;

std::string ObjectTypeTag(qoEnumListObjectType type) {
  return EnumCodeToXmlText(qoeObjectType, static_cast<int16_t>(type));
}

// The Code of the table entry whose qbXML text is `text` (1008 when none).
int32_t CodeOfTag(const std::string& text, qoEnumerationType table) {
  int32_t position = EnumTextToCode(text, table);
  return ThreadEnumerations()->Item(table)->Item(position)->Code();
}

int32_t StatusCode(const XmlNode& response) {
  return ModConvertDtypes::TextToInt32(response.attributes().getNamedItem("statusCode").text());
}

}  // namespace

DataExtensionDefinition::DataExtensionDefinition(std::string name, std::string ownerID,
                                                 qbEnumDataExtDataType dataType)
    : name_(std::move(name)), ownerID_(std::move(ownerID)), dataType_(dataType) {}

void DataExtensionDefinition::Changed() noexcept {
  if (objectState_ == qoObjectStateClean) objectState_ = qoObjectStateDirty;
}

void DataExtensionDefinition::SetDataType(qbEnumDataExtDataType value) {
  dataType_ = value;
  Changed();
}

void DataExtensionDefinition::SetName(std::string value) {
  name_ = std::move(value);
  Changed();
}

void DataExtensionDefinition::AddAssignedTo(qoEnumListObjectType type) {
  if (IsAssignedTo(type)) return;
  assignedTos_.push_back(type);
  Changed();
}

void DataExtensionDefinition::RemoveAssignedTo(qoEnumListObjectType type) {
  auto found = std::find(assignedTos_.begin(), assignedTos_.end(), type);
  if (found == assignedTos_.end()) return;
  assignedTos_.erase(found);
  Changed();
}

bool DataExtensionDefinition::IsAssignedTo(qoEnumListObjectType type) const noexcept {
  return std::find(assignedTos_.begin(), assignedTos_.end(), type) != assignedTos_.end();
}

void DataExtensionDefinition::MarkClean() {
  objectState_ = qoObjectStateClean;
  readName_ = name_;
  readAssignedTos_ = assignedTos_;
}

bool DataExtensionDefinition::Validate() {
  errors_.Clear();
  if (objectState_ != qoObjectStateClean) {
    if (name_.empty()) AddTableError(errors_, errNameNull, "Name");
    if (name_.size() > kMaxNameLength) AddTableError(errors_, errNameTooLong, "Name");
  }
  return errors_.Count() == 0;
}

void DataExtensionDefinition::WriteAddRequest(xmlBldr& builder, int16_t requestId) const {
  builder.OpenAggregate("DataExtDefAddRq", "requestID", std::to_string(requestId));
  builder.OpenAggregateOnly("DataExtDefAdd");
  builder.CreateElement("OwnerID", ownerID_);
  builder.CreateElement("DataExtName", name_);
  builder.CreateElement("DataExtType",
                        EnumCodeToXmlText(qoeDataExtDataTypes, static_cast<int16_t>(dataType_)));
  for (qoEnumListObjectType type : assignedTos_)
    builder.CreateElement("AssignToObject", ObjectTypeTag(type));
  builder.EndAggregate("DataExtDefAdd");
  builder.EndAggregate("DataExtDefAddRq");
}

void DataExtensionDefinition::WriteModifyRequest(xmlBldr& builder, int16_t requestId) const {
  auto contains = [](const std::vector<qoEnumListObjectType>& types, qoEnumListObjectType type) {
    return std::find(types.begin(), types.end(), type) != types.end();
  };
  builder.OpenAggregate("DataExtDefModRq", "requestID", std::to_string(requestId));
  builder.OpenAggregateOnly("DataExtDefMod");
  builder.CreateElement("OwnerID", ownerID_);
  builder.CreateElement("DataExtName", readName_);
  if (name_ != readName_) builder.CreateElement("DataExtNewName", name_);
  for (qoEnumListObjectType type : assignedTos_)
    if (!contains(readAssignedTos_, type))
      builder.CreateElement("AssignToObject", ObjectTypeTag(type));
  for (qoEnumListObjectType type : readAssignedTos_)
    if (!contains(assignedTos_, type))
      builder.CreateElement("RemoveFromObject", ObjectTypeTag(type));
  builder.EndAggregate("DataExtDefMod");
  builder.EndAggregate("DataExtDefModRq");
}

std::shared_ptr<DataExtensionDefinition> DataExtensionDefinitions::Find(
    const std::string& key) const noexcept {
  for (const auto& member : members_)
    if (member->Name() == key) return member;
  return nullptr;
}

std::shared_ptr<DataExtensionDefinition> DataExtensionDefinitions::Item(int32_t index) const {
  if (index < 1 || index > Count()) RaiseCollectionPositionOutOfRange("DataExtensionDefinitions");
  return members_[static_cast<size_t>(index - 1)];
}

std::shared_ptr<DataExtensionDefinition> DataExtensionDefinitions::Item(
    const std::string& key) const {
  std::shared_ptr<DataExtensionDefinition> found = Find(key);
  if (!found) RaiseUnknownCollectionKey("DataExtensionDefinitions");
  return found;
}

void DataExtensionDefinitions::Remove(const std::string& key) {
  std::erase_if(members_, [&](const auto& member) { return member->Name() == key; });
}

void DataExtensionDefinitions::RequireApplicationFields() const {
  if (Session().qbxmlVersionNumber >= Currency(3)) return;
  if (ownerID_ == "0") RaiseError(errAppFieldsOnly, "DataExtDef");
  if (Session().dataExtOwnerID.empty()) RaiseError(errNoAppFieldsGuid, "DataExtDef");
}

std::shared_ptr<DataExtensionDefinition> DataExtensionDefinitions::Add(
    const std::string& Name, qbEnumDataExtDataType DataType) {
  RequireApplicationFields();
  if (Name.empty()) RaiseError(errNameNull, "Name");
  if (!master_) RaiseError(errMasterOnly, "DataExtDef");
  auto definition = std::make_shared<DataExtensionDefinition>(Name, ownerID_, DataType);
  members_.push_back(definition);
  return definition;
}

void DataExtensionDefinitions::Rename(DataExtensionDefinition& Definition,
                                      const std::string& NewName) {
  if (NewName.empty()) RaiseError(errNameNull, "Name");
  // Members are kept in order; renaming keeps the position and changes the key.
  Definition.SetName(NewName);
}

void DataExtensionDefinitions::Delete(const std::string& Name, bool bRemove) {
  RequireApplicationFields();
  xmlBldr builder;
  builder.NewClear();
  builder.OpenAggregate("DataExtDefDelRq", "requestID", "1");
  builder.CreateElement("OwnerID", ownerID_);
  builder.CreateElement("DataExtName", Name);
  builder.EndAggregate("DataExtDefDelRq");
  builder.NewSendRequest();
  if (builder.ErrNumber() != 0)
    throw AutomationError(ErrorNumber(errDeleteFailed), "DataExtDef", builder.ErrMsg());
  if (bRemove) Remove(Name);
}

void DataExtensionDefinitions::ReadDefinition(const XmlNode& ret) {
  auto definition = std::make_shared<DataExtensionDefinition>(std::string(), ownerID_);
  for (const XmlNode& child : ret.childNodes()) {
    std::string name = child.baseName();
    if (name == "OwnerID") {
      if (ownerID_.empty()) ownerID_ = child.text();
      *definition =
          DataExtensionDefinition(definition->Name(), child.text(), definition->DataType());
    } else if (name == "DataExtName") {
      definition->SetName(child.text());
    } else if (name == "DataExtType") {
      definition->SetDataType(
          static_cast<qbEnumDataExtDataType>(CodeOfTag(child.text(), qoeDataExtDataTypes)));
    } else if (name == "AssignToObject") {
      definition->AddAssignedTo(
          static_cast<qoEnumListObjectType>(CodeOfTag(child.text(), qoeObjectType)));
    }
  }
  definition->MarkClean();
  members_.push_back(std::move(definition));
}

int32_t DataExtensionDefinitions::Query(const std::string& ownerID,
                                        qoEnumListObjectType assignedTo) {
  errors_.Clear();
  xmlBldr builder;
  builder.NewClear();
  builder.OpenAggregateOnly("DataExtDefQueryRq");
  if (!ownerID.empty()) {
    builder.CreateElement("OwnerID", ownerID);
  } else if (assignedTo != 0) {
    builder.CreateElement("AssignToObject", ObjectTypeTag(assignedTo));
  }
  builder.EndAggregate("DataExtDefQueryRq");
  std::shared_ptr<XmlDocument> response = builder.NewSendRequest();
  members_.clear();
  XmlNode queryRs = response->documentElement().childNodes().item(0).childNodes().item(0);
  if (builder.ErrNumber() != 0 && builder.ErrNumber() != 1) {
    // 1 is QuickBooks' "no match" status: an empty result, not a failure.
    errors_.Add(builder.ErrNumber(), "DataExtDef", builder.ErrMsg());
    return Count();
  }
  for (const XmlNode& ret : queryRs.childNodes())
    if (ret.baseName() == "DataExtDefRet") ReadDefinition(ret);
  return Count();
}

int32_t DataExtensionDefinitions::GetByOwner(const std::string& OwnerId) {
  ownerID_ = OwnerId;
  return Query(OwnerId, static_cast<qoEnumListObjectType>(0));
}

int32_t DataExtensionDefinitions::GetByAssignedToObject(qoEnumListObjectType AssignedToObject) {
  return Query({}, AssignedToObject);
}

int32_t DataExtensionDefinitions::GetAll() {
  return Query({}, static_cast<qoEnumListObjectType>(0));
}

bool DataExtensionDefinitions::Validate() {
  bool valid = true;
  for (const auto& member : members_) valid &= member->Validate();
  return valid;
}

int32_t DataExtensionDefinitions::Commit(const std::shared_ptr<DataExtensionDefinition>& Member) {
  RequireApplicationFields();
  if (!master_) RaiseError(errMasterOnly, "DataExtDef");
  errors_.Clear();
  std::vector<DataExtensionDefinition*> sent;
  xmlBldr builder;
  builder.NewClear();
  auto add = [&](DataExtensionDefinition& definition) {
    if (definition.ObjectState() == qoObjectStateClean) return;
    if (sent.size() >= static_cast<size_t>(std::numeric_limits<int16_t>::max())) return;
    sent.push_back(&definition);
    auto id = static_cast<int16_t>(sent.size());
    if (definition.ObjectState() == qoObjectStateNew) {
      definition.WriteAddRequest(builder, id);
    } else {
      definition.WriteModifyRequest(builder, id);
    }
  };
  if (!Member) {
    for (const auto& member : members_) add(*member);
  } else if (!Member->Validate()) {
    AddTableError(errors_, errValidateFailed, Member->Name());
  } else if (std::find(members_.begin(), members_.end(), Member) == members_.end()) {
    AddTableError(errors_, errNotMember, "DataExtDef");
  } else {
    add(*Member);
  }
  if (!sent.empty()) {
    std::shared_ptr<XmlDocument> response = builder.NewSendRequest();
    XmlNode messageSet = response->documentElement().childNodes().item(0);
    size_t position = 0;
    for (XmlNode element : messageSet.childNodes()) {
      if (element.nodeType() != NODE_ELEMENT || position >= sent.size()) continue;
      DataExtensionDefinition& definition = *sent[position++];
      int32_t code = StatusCode(element);
      if (code == 0) {
        definition.MarkClean();
      } else {
        AddCommitStatusErrors(errors_, definition.Errors(), definition.Name(), code,
                              element.attributes().getNamedItem("statusMessage").text());
      }
    }
  }
  if (Session().errorMode) {
    if (builder.ErrNumber() != 0 && errors_.Count() == 0)
      throw AutomationError(builder.ErrNumber(), "DataExtDef", builder.ErrMsg());
    if (errors_.Count() != 0) RaiseError(errCommitErrors, "DataExtDef");
  }
  return errors_.Count();
}

bool DataExtensionDefinitions::AnyApplicationFieldDefinition(
    const std::function<bool(AssignedTypes assignedTos)>& matches) const {
  for (const auto& member : members_)
    if (matches(AssignedTypes(member->AssignedTos()))) return true;
  return false;
}

}  // namespace brennock
