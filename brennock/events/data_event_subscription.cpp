#include "brennock/events/data_event_subscription.h"

#include "brennock/internal/qbxml/request_writer.h"

namespace brennock {

DataEventSubcription::DataEventSubcription()
    : descriptors_(std::make_shared<dataEventDescriptors>()) {}

void DataEventSubcription::SetSubscriberId(const std::string& value) {
  Changing();
  subscriberId_ = value;
}

void DataEventSubcription::SetDeliveryAlways(bool value) {
  Changing();
  deliveryAlways_ = value;
}

void DataEventSubcription::SetTrackLostEvents(bool value) {
  Changing();
  trackLostEvents_ = value;
}

const BindingTable<SubscriptionRecord>& DataEventSubcription::Bindings() {
  using R = SubscriptionRecord;
  using D = DataEventSubcription;
  constexpr uint16_t kWritten = kInAdd | kInRet;
  BRENNOCK_BINDINGS(
      R, HeadRows(),
      std::array{
          Binding<R>{"DeliveryPolicy", kWritten, nullptr,
                     [](const R& r, RequestWriter& b, std::string_view name, uint16_t, BodyForm) {
                       b.CreateElement(
                           name, DeliveryPolicyText(static_cast<const D&>(r).deliveryAlways_));
                     }},
          // QuickBooks' default is "None": only a subscription that asks writes it.
          Binding<R>{"TrackLostEvents", kWritten, nullptr,
                     [](const R& r, RequestWriter& b, std::string_view name, uint16_t, BodyForm) {
                       if (static_cast<const D&>(r).trackLostEvents_) b.CreateElement(name, "All");
                     }},
          // The descriptors' List- and TxnEventSubscription aggregates, in the descriptors' order.
          Binding<R>{"ListEventSubscription", kWritten, nullptr,
                     [](const R& r, RequestWriter& b, std::string_view, uint16_t, BodyForm) {
                       for (const auto& descriptor : *static_cast<const D&>(r).descriptors_)
                         descriptor->ToXML(b);
                     }},
      });
}

}  // namespace brennock
