#include "brennock/company/data_extension_definitions.h"

#include <algorithm>

#include "brennock/enums/enumeration_type.h"
#include "brennock/enums/enumerations.h"
#include "brennock/errors/automation_error.h"
#include "brennock/internal/errors/collected_errors.h"
#include "brennock/internal/errors/collection_support.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/model/binding.h"
#include "brennock/internal/model/codecs.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/internal/util/text.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/xml/xml_document.h"

namespace brennock {
namespace {

constexpr size_t kMaxNameLength = 31;
constexpr const char* kCollectionSource = "DataExtensionDefinitions";

std::string ObjectTypeTag(qoEnumListObjectType type) {
  return EnumCodeToXmlText(qoeObjectType, static_cast<int16_t>(type));
}

}  // namespace

DataExtensionDefinition::DataExtensionDefinition(std::string name, std::string ownerID,
                                                 qbEnumDataExtDataType dataType)
    : name_(std::move(name)),
      ownerID_(std::move(ownerID)),
      dataType_(dataType),
      assignedTos_(std::make_shared<dataExtAssignedTos>(this)) {}

DataExtensionDefinition::~DataExtensionDefinition() {
  // A client may still hold the list; it no longer answers to this definition.
  assignedTos_->Detach();
}

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

void DataExtensionDefinition::RemoveAssignedTo(qoEnumListObjectType type) {
  const std::vector<qoEnumListObjectType>& types = assignedTos_->Types();
  auto found = std::find(types.begin(), types.end(), type);
  if (found == types.end()) return;
  assignedTos_->Remove(static_cast<int32_t>(found - types.begin()) + 1);
}

void DataExtensionDefinition::TakeSavedFields(const DataExtensionDefinition& saved) {
  name_ = saved.name_;
  dataType_ = saved.dataType_;
  assignedTos_->Replace(saved.assignedTos_->Types());
}

void DataExtensionDefinition::MarkClean() {
  objectState_ = qoObjectStateClean;
  readName_ = name_;
  readAssignedTos_ = assignedTos_->Types();
}

bool DataExtensionDefinition::Validate() {
  errors_.Clear();
  if (objectState_ != qoObjectStateClean) {
    if (name_.empty()) AddTableError(errors_, errNameNull, "Name");
    if (Utf8Length(name_) > kMaxNameLength) AddTableError(errors_, errNameTooLong, "Name");
  }
  return errors_.Count() == 0;
}

const BindingTable<DataExtensionDefinition>& DataExtensionDefinition::Bindings() {
  using D = DataExtensionDefinition;
  constexpr uint16_t kRequests = kInAdd | kInMod;
  BRENNOCK_BINDINGS(
      D,
      std::array{
          Bind<&D::ownerID_, codecs::Text, D>("OwnerID", kRequests),
          Binding<D>{
              "DataExtName", kRequests, nullptr,
              [](const D& d, RequestWriter& b, std::string_view name, uint16_t, BodyForm form) {
                b.CreateElement(name, form == BodyForm::kMod ? d.readName_ : d.name_);
              }},
          Binding<D>{"DataExtNewName", kInMod, nullptr,
                     [](const D& d, RequestWriter& b, std::string_view name, uint16_t, BodyForm) {
                       if (d.name_ != d.readName_) b.CreateElement(name, d.name_);
                     }},
          Bind<&D::dataType_, codecs::EnumTag<qoeDataExtDataTypes>, D>("DataExtType", kInAdd),
          Binding<D>{
              "AssignToObject", kRequests, nullptr,
              [](const D& d, RequestWriter& b, std::string_view name, uint16_t, BodyForm form) {
                const std::vector<qoEnumListObjectType>& read = d.readAssignedTos_;
                for (qoEnumListObjectType type : *d.assignedTos_) {
                  if (form == BodyForm::kMod &&
                      std::find(read.begin(), read.end(), type) != read.end())
                    continue;
                  b.CreateElement(name, ObjectTypeTag(type));
                }
              }},
          Binding<D>{"RemoveFromObject", kInMod, nullptr,
                     [](const D& d, RequestWriter& b, std::string_view name, uint16_t, BodyForm) {
                       for (qoEnumListObjectType type : d.readAssignedTos_)
                         if (!d.assignedTos_->Contains(type))
                           b.CreateElement(name, ObjectTypeTag(type));
                     }}});
}

void DataExtensionDefinition::WriteAddRequest(xmlBldr& builder, int32_t requestId) const {
  builder.OpenAggregate("DataExtDefAddRq", "requestID", std::to_string(requestId));
  builder.OpenAggregateOnly("DataExtDefAdd");
  Bindings().Write(*this, builder, BodyForm::kAdd);
  builder.EndAggregate("DataExtDefAdd");
  builder.EndAggregate("DataExtDefAddRq");
}

void DataExtensionDefinition::WriteModifyRequest(xmlBldr& builder, int32_t requestId) const {
  builder.OpenAggregate("DataExtDefModRq", "requestID", std::to_string(requestId));
  builder.OpenAggregateOnly("DataExtDefMod");
  Bindings().Write(*this, builder, BodyForm::kMod);
  builder.EndAggregate("DataExtDefMod");
  builder.EndAggregate("DataExtDefModRq");
}

DataExtensionDefinitions::DataExtensionDefinitions() = default;
DataExtensionDefinitions::~DataExtensionDefinitions() = default;

xmlBldr& DataExtensionDefinitions::Builder() {
  if (!builder_) builder_ = std::make_unique<xmlBldr>();
  return *builder_;
}

std::shared_ptr<DataExtensionDefinition> DataExtensionDefinitions::Find(
    const std::string& key) const noexcept {
  for (const auto& member : members_)
    if (CollectionKeysEqual(member->Name(), key)) return member;
  return nullptr;
}

int32_t DataExtensionDefinitions::PositionOf(
    const DataExtensionDefinition& definition) const noexcept {
  for (size_t i = 0; i < members_.size(); ++i)
    if (members_[i].get() == &definition) return static_cast<int32_t>(i) + 1;
  return 0;
}

std::shared_ptr<DataExtensionDefinition> DataExtensionDefinitions::Item(int32_t index) const {
  if (index < 1 || index > Count()) RaiseCollectionPositionOutOfRange(kCollectionSource);
  return members_[static_cast<size_t>(index - 1)];
}

std::shared_ptr<DataExtensionDefinition> DataExtensionDefinitions::Item(
    const std::string& key) const {
  std::shared_ptr<DataExtensionDefinition> found = Find(key);
  if (!found) RaiseUnknownCollectionKey(kCollectionSource);
  return found;
}

void DataExtensionDefinitions::Remove(int32_t index) {
  if (index < 1 || index > Count()) RaiseCollectionPositionOutOfRange(kCollectionSource);
  members_.erase(members_.begin() + (index - 1));
}

void DataExtensionDefinitions::Remove(const std::string& key) {
  std::shared_ptr<DataExtensionDefinition> found = Item(key);
  members_.erase(std::find(members_.begin(), members_.end(), found));
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
  if (Find(Name)) RaiseDuplicateCollectionKey(kCollectionSource);
  auto definition = std::make_shared<DataExtensionDefinition>(Name, ownerID_, DataType);
  members_.push_back(definition);
  return definition;
}

void DataExtensionDefinitions::Rename(DataExtensionDefinition& Definition,
                                      const std::string& NewName) {
  if (NewName.empty()) RaiseError(errNameNull, "Name");
  int32_t position = PositionOf(Definition);
  if (position == 0) RaiseUnknownCollectionKey(kCollectionSource);
  std::shared_ptr<DataExtensionDefinition> holder = Find(NewName);
  // Checked before anything moves, so a taken name leaves the collection as it was.
  if (holder && holder.get() != &Definition) RaiseDuplicateCollectionKey(kCollectionSource);
  auto at = members_.begin() + (position - 1);
  std::shared_ptr<DataExtensionDefinition> member = std::move(*at);
  members_.erase(at);
  member->SetName(NewName);
  members_.push_back(std::move(member));
}

void DataExtensionDefinitions::Delete(const std::string& Name, bool bRemove) {
  RequireApplicationFields();
  xmlBldr& builder = Builder();
  builder.NewClear();
  builder.OpenAggregate("DataExtDefDelRq", "requestID", "1");
  builder.CreateElement("OwnerID", ownerID_);
  builder.CreateElement("DataExtName", Name);
  builder.EndAggregate("DataExtDefDelRq");
  builder.NewSendRequest();
  if (builder.ErrNumber() != 0)
    RaiseError(errDeleteFailed, "DataExtDef", std::string(builder.ErrMsg()));
  if (bRemove && ItemExists(Name)) Remove(Name);
}

bool DataExtensionDefinitions::Validate() {
  errors_.Clear();
  for (const auto& member : members_)
    if (!member->Validate()) AddTableError(errors_, errValidateFailed, member->CollectionKey());
  return errors_.Count() == 0;
}

int32_t DataExtensionDefinitions::Commit(const std::shared_ptr<DataExtensionDefinition>& Member) {
  RequireApplicationFields();
  if (!master_) RaiseError(errMasterOnly, "DataExtDef");
  errors_.Clear();
  xmlBldr& builder = Builder();
  builder.NewClear();
  // (requestID, member) of each request written, in position order.
  std::vector<std::pair<int32_t, DataExtensionDefinition*>> sent;
  auto write = [&](DataExtensionDefinition& definition, int32_t position) {
    if (definition.ObjectState() == qoObjectStateClean) return;
    if (definition.ObjectState() == qoObjectStateNew) {
      definition.WriteAddRequest(builder, position);
    } else {
      definition.WriteModifyRequest(builder, position);
    }
    sent.emplace_back(position, &definition);
  };
  if (!Member) {
    for (size_t i = 0; i < members_.size(); ++i) {
      DataExtensionDefinition& member = *members_[i];
      if (member.ObjectState() == qoObjectStateClean) continue;
      if (!member.Validate()) {
        AddTableError(errors_, errValidateFailed, member.CollectionKey());
        continue;
      }
      write(member, static_cast<int32_t>(i) + 1);
    }
  } else if (!Member->Validate()) {
    AddTableError(errors_, errValidateFailed, Member->CollectionKey());
  } else if (int32_t position = PositionOf(*Member); position == 0) {
    AddTableError(errors_, errNotMember, "DataExtDef");
  } else {
    write(*Member, position);
  }
  if (!sent.empty()) FileCommitResponses(*builder.NewSendRequest(), sent);
  if (Session().errorMode) {
    if (errors_.Count() != 0) RaiseError(errCommitErrors, "DataExtDef");
    if (!sent.empty() && builder.ErrNumber() != 0)
      throw AutomationError(builder.ErrNumber(), "DataExtDef", builder.ErrMsg());
  }
  return errors_.Count();
}

bool DataExtensionDefinitions::AnyApplicationFieldDefinition(
    const std::function<bool(AssignedTypes assignedTos)>& matches) const {
  for (const auto& member : members_)
    if (matches(AssignedTypes(member->AssignedTos()->Types()))) return true;
  return false;
}

}  // namespace brennock
