#include "brennock/events/subscription_collections.h"

#include <limits>

#include "brennock/internal/errors/collected_errors.h"
#include "brennock/internal/errors/collection_support.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/errors/value_errors.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/values/convert_dtypes.h"
#include "brennock/xml/xml_attributes.h"
#include "brennock/xml/xml_document.h"

namespace brennock {
namespace {

std::string AttributeText(const XmlNode& element, std::string_view name) {
  XmlAttribute attribute = element.attributes().getNamedItem(name);
  return attribute ? attribute.text() : std::string();
}

// The first element child of node; Nothing when it has none.
XmlNode FirstElement(const XmlNode& node) {
  for (XmlNode child : node.childNodes())
    if (child.nodeType() == NODE_ELEMENT) return child;
  return {};
}

}  // namespace

SubscriptionCollectionCore::SubscriptionCollectionCore(qoEnumListObjectType kind,
                                                       std::string_view subscriptionType,
                                                       std::string_view queryName)
    : kind_(kind),
      subscriptionType_(subscriptionType),
      queryName_(queryName),
      requiresMaster_(kind == qoObjectTypeDataEventSubscription),
      errors_(std::make_shared<qcErrors>()) {}

SubscriptionCollectionCore::~SubscriptionCollectionCore() = default;

std::string_view SubscriptionCollectionCore::Stem() const noexcept {
  switch (kind_) {
    case qoObjectTypeUIExtensionSubscription:
      return "UIExtensionSubscription";
    case qoObjectTypeUISubscription:
      return "UIEventSubscription";
    default:
      return "DataEventSubscription";
  }
}

xmlBldr& SubscriptionCollectionCore::Builder() {
  if (!builder_) builder_ = std::make_unique<xmlBldr>();
  return *builder_;
}

size_t SubscriptionCollectionCore::PositionOf(const SubscriptionRecord& record) const noexcept {
  for (size_t i = 0; i < members_.size(); ++i)
    if (members_[i].get() == &record) return i;
  return members_.size();
}

std::shared_ptr<SubscriptionRecord> SubscriptionCollectionCore::MemberAt(int32_t index) const {
  if (index < 1 || index > Count()) RaiseCollectionPositionOutOfRange(std::string(Stem()));
  return members_[static_cast<size_t>(index - 1)];
}

std::shared_ptr<SubscriptionRecord> SubscriptionCollectionCore::MemberByKey(
    const std::string& key) const {
  for (const auto& member : members_)
    if (CollectionKeysEqual(member->CollectionKey(), key)) return member;
  RaiseUnknownCollectionKey(std::string(Stem()));
}

bool SubscriptionCollectionCore::ItemExists(const std::string& vntIndexKey) const noexcept {
  for (const auto& member : members_)
    if (CollectionKeysEqual(member->CollectionKey(), vntIndexKey)) return true;
  return false;
}

bool SubscriptionCollectionCore::ItemExists(int32_t vntIndexKey) const noexcept {
  return vntIndexKey >= 1 && vntIndexKey <= Count();
}

void SubscriptionCollectionCore::Remove(int32_t vntIndexKey) {
  MemberAt(vntIndexKey);
  members_.erase(members_.begin() + (vntIndexKey - 1));
}

void SubscriptionCollectionCore::Remove(const std::string& vntIndexKey) {
  const SubscriptionRecord& member = *MemberByKey(vntIndexKey);
  members_.erase(members_.begin() + static_cast<std::ptrdiff_t>(PositionOf(member)));
}

void SubscriptionCollectionCore::RequireMaster() const {
  if (requiresMaster_ && !master_) RaiseError(errMasterOnly, Stem());
}

void SubscriptionCollectionCore::Append(const std::shared_ptr<SubscriptionRecord>& record,
                                        const std::string& appName, const std::string& progId) {
  errors_->Clear();
  record->SetAppName(appName);
  record->SetProgId(progId);
  members_.push_back(record);
}

bool SubscriptionCollectionCore::Validate() {
  errors_->Clear();
  for (const auto& member : members_)
    if (!member->Validate()) AddTableError(*errors_, errValidateFailed, member->CollectionKey());
  return errors_->Count() == 0;
}

int32_t SubscriptionCollectionCore::Commit(const std::shared_ptr<SubscriptionRecord>& Member) {
  RequireMaster();
  errors_->Clear();
  std::vector<size_t> valid;
  if (!Member) {
    for (size_t i = 0; i < members_.size(); ++i) {
      if (members_[i]->Validate())
        valid.push_back(i);
      else
        AddTableError(*errors_, errValidateFailed, members_[i]->CollectionKey());
    }
  } else if (size_t at = PositionOf(*Member); at == members_.size()) {
    AddTableError(*errors_, errNotMember, Stem());
  } else if (!Member->Validate()) {
    AddTableError(*errors_, errValidateFailed, Member->CollectionKey());
  } else {
    valid.push_back(at);
  }
  xmlBldr& builder = Builder();
  builder.NewClearSubscriptions();
  bool any = false;
  for (size_t i : valid) {
    SubscriptionRecord& member = *members_[i];
    if (i >= static_cast<size_t>(std::numeric_limits<int16_t>::max())) RaiseOverflow();
    auto requestId = static_cast<int16_t>(i + 1);
    switch (member.ObjectState()) {
      case qoObjectStateNew:
        builder.InsertAddRq(member, requestId);
        any = true;
        break;
      case qoObjectStateClean:
        break;
      case qoObjectStateDirty:
        builder.InsertModRq(member, requestId);  // refuses: subscriptions are never modified
        any = true;
        break;
      default:
        RaiseGeneral(Stem(), "Unknown Object State");
    }
  }
  if (any) FileCommitResponses(*builder.NewSendSubscriptionRequest());
  if (Session().errorMode) {
    if (errors_->Count() != 0) RaiseError(errCommitErrors, Stem());
    if (any && builder.ErrNumber() != 0)
      throw AutomationError(builder.ErrNumber(), std::string(Stem()), builder.ErrMsg());
  }
  return errors_->Count();
}

void SubscriptionCollectionCore::FileCommitResponses(const XmlDocument& response) {
  XmlNode messageSet = FirstElement(response.documentElement());
  if (!messageSet) return;
  for (XmlNode element : messageSet.childNodes()) {
    if (element.nodeType() != NODE_ELEMENT) continue;
    int32_t requestId = ModConvertDtypes::TextToInt32(AttributeText(element, "requestID"));
    if (requestId < 1 || requestId > Count()) continue;  // not one of ours
    SubscriptionRecord& member = *members_[static_cast<size_t>(requestId - 1)];
    int32_t code = ModConvertDtypes::TextToInt32(AttributeText(element, "statusCode"));
    if (code == 0) {
      if (XmlNode ret = FirstElement(element)) member.FromDom(ret);
      member.SetObjectState(qoObjectStateClean);
      continue;
    }
    AddCommitStatusErrors(*errors_, *member.Errors(), member.CollectionKey(), code,
                          AttributeText(element, "statusMessage"));
  }
}

bool SubscriptionCollectionCore::FileRefusal() {
  int32_t number = Builder().ErrNumber();
  if (number == 0) return false;
  errors_->Add(number, "", Builder().ErrMsg());
  return true;
}

int32_t SubscriptionCollectionCore::GetAll() {
  BeforeQuery();
  errors_->Clear();
  members_.clear();
  xmlBldr& builder = Builder();
  builder.NewClearSubscriptions();
  builder.OpenAggregate(queryName_, "requestID", "1");
  WriteQueryBody(builder);
  builder.EndAggregate(queryName_);
  std::shared_ptr<XmlDocument> response = builder.NewSendSubscriptionRequest();
  if (FileRefusal()) return 0;
  XmlNode answer = FirstElement(FirstElement(response->documentElement()));
  if (!answer) return 0;
  for (XmlNode element : answer.childNodes()) {
    if (element.nodeType() != NODE_ELEMENT) continue;
    std::shared_ptr<SubscriptionRecord> record = NewMember();
    record->FromDom(element);
    record->SetObjectState(qoObjectStateClean);
    members_.push_back(std::move(record));
  }
  return Count();
}

int32_t SubscriptionCollectionCore::Delete() {
  errors_->Clear();
  xmlBldr& builder = Builder();
  builder.NewClearSubscriptions();
  builder.OpenAggregate("SubscriptionDelRq", "requestID", "1");
  builder.CreateElement("SubscriberID", Session().eventSubscriberID);
  builder.CreateElement("SubscriptionType", subscriptionType_);
  builder.EndAggregate("SubscriptionDelRq");
  builder.NewSendSubscriptionRequest();
  FileRefusal();
  return builder.ErrNumber();
}

UISubscriptions::UISubscriptions()
    : SubscriptionCollection(qoObjectTypeUISubscription, "UI", "UISubscriptionQueryRq") {}

std::shared_ptr<UISubscription> UISubscriptions::Add(const std::string& AppName,
                                                     const std::string& ProgId) {
  auto record = std::make_shared<UISubscription>();
  record->SetSubscriberId(Session().eventSubscriberID);
  Append(record, AppName, ProgId);
  return record;
}

UIExtensionSubscriptions::UIExtensionSubscriptions()
    : SubscriptionCollection(qoObjectTypeUIExtensionSubscription, "UIExtension",
                             "UIExtensionSubscriptionQueryRq") {}

std::shared_ptr<UIExtensionSubscription> UIExtensionSubscriptions::Add(const std::string& AppName,
                                                                       qbMnuNames Menu,
                                                                       const std::string& ProgId) {
  auto record = std::make_shared<UIExtensionSubscription>();
  record->SetCollectionKey(Session().eventSubscriberID);
  record->SetAddToMenu(Menu);
  Append(record, AppName, ProgId);
  return record;
}

int32_t UIExtensionSubscriptions::Delete(int16_t) { return SubscriptionCollectionCore::Delete(); }

void UIExtensionSubscriptions::BeforeQuery() const {
  if (Session().eventSubscriberID.empty())
    RaiseError(errEventGuidNotRegistered, "UIExtensionSubscription");
}

void UIExtensionSubscriptions::WriteQueryBody(xmlBldr& builder) const {
  builder.CreateElement("SubscriberID", Session().eventSubscriberID);
}

DataEventSubcriptions::DataEventSubcriptions()
    : SubscriptionCollection(qoObjectTypeDataEventSubscription, "Data",
                             "DataEventSubscriptionQueryRq") {}

std::shared_ptr<DataEventSubcription> DataEventSubcriptions::Add(const std::string& AppName,
                                                                 const std::string& ProgId) {
  RequireMaster();
  auto record = std::make_shared<DataEventSubcription>();
  record->SetSubscriberId(Session().eventSubscriberID);
  Append(record, AppName, ProgId);
  return record;
}

}  // namespace brennock
