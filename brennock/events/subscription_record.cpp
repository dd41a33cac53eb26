#include "brennock/internal/events/subscription_record.h"

#include "brennock/internal/errors/raise.h"
#include "brennock/internal/model/codecs.h"
#include "brennock/internal/qbxml/request_writer.h"
#include "brennock/session/xml_bldr.h"

namespace brennock {

SubscriptionRecord::~SubscriptionRecord() = default;

std::string_view DeliveryPolicyText(bool deliveryAlways) noexcept {
  return deliveryAlways ? "DeliverAlways" : "DeliverOnlyIfRunning";
}

std::string_view SubscriptionRecord::Stem() const {
  switch (ObjectType()) {
    case qoObjectTypeUIExtensionSubscription:
      return "UIExtensionSubscription";
    case qoObjectTypeUISubscription:
      return "UIEventSubscription";
    default:
      return "DataEventSubscription";
  }
}

void SubscriptionRecord::SetAppName(const std::string& value) {
  Changing();
  appName_ = value;
}

void SubscriptionRecord::SetCLSID(const std::string& value) {
  Changing();
  clsid_ = value;
}

void SubscriptionRecord::SetProgId(const std::string& value) {
  Changing();
  progId_ = value;
}

void SubscriptionRecord::WriteSubscriberID(const SubscriptionRecord& record,
                                           RequestWriter& builder) {
  builder.CreateElement("SubscriberID", record.WrittenSubscriberID());
}

void SubscriptionRecord::WriteCallback(const SubscriptionRecord& record, RequestWriter& builder) {
  builder.OpenAggregateOnly("COMCallbackInfo");
  builder.CreateElement("AppName", record.appName_);
  if (!record.progId_.empty())
    builder.CreateElement("ProgID", record.progId_);
  else
    builder.CreateElement("CLSID", record.clsid_);
  builder.EndAggregate("COMCallbackInfo");
}

int32_t SubscriptionRecord::XMLInsert(xmlBldr& cxmlbldr) {
  Rows().Write(*this, cxmlbldr, BodyForm::kAdd);
  return 0;
}

int32_t SubscriptionRecord::XMLModify(xmlBldr&) { RaiseGeneral(Stem(), "XMLModify not supported"); }

int32_t SubscriptionRecord::XMLQueryRs(xmlBldr& cxmlbldr) {
  Rows().Write(*this, cxmlbldr, BodyForm::kRet);
  return 0;
}

Variant SubscriptionRecord::FromDom(const XmlNode& obj) {
  static constexpr auto kRows = std::array{
      Bind<&SubscriptionRecord::subscriberId_, codecs::Text, SubscriptionRecord>("SubscriberID",
                                                                                 kInRet),
  };
  BRENNOCK_BINDING_TABLE(SubscriptionRecord);
  ReadFields<SubscriptionRecord>(*this, obj, kTable.Readers());
  return {};
}

}  // namespace brennock
