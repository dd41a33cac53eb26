#pragma once

#include <memory>
#include <string>

#include "brennock/internal/events/data_event_descriptors.h"
#include "brennock/internal/events/subscription_record.h"

namespace brennock {

// A subscription to additions, changes, deletions and merges of list records and transactions.
// (The class name keeps the spelling applications know it by.)
class DataEventSubcription : public SubscriptionRecord {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeDataEventSubscription;

  DataEventSubcription();

  const std::string& SubscriberId() const noexcept { return subscriberId_; }
  void SetSubscriberId(const std::string& value);
  // DeliverAlways: events wait for an application that is not running, rather than being lost.
  bool DeliveryAlways() const noexcept { return deliveryAlways_; }
  void SetDeliveryAlways(bool value);
  // QuickBooks reports when events were lost (DataEventRecoveryTime), so the application can read
  // what changed since.
  bool TrackLostEvents() const noexcept { return trackLostEvents_; }
  void SetTrackLostEvents(bool value);
  std::shared_ptr<dataEventDescriptors> EventDescriptors() const noexcept { return descriptors_; }

  qoEnumListObjectType ObjectType() const override { return kObjectType; }
  // Passes while Errors is empty.
  bool Validate() override { return ErrorListEmpty(); }

  // SubscriberID, COMCallbackInfo, DeliveryPolicy, TrackLostEvents ("All", only when set) and
  // the descriptors' event subscriptions in order.
  static const BindingTable<SubscriptionRecord>& Bindings();

 protected:
  const BindingTable<SubscriptionRecord>& Rows() const override { return Bindings(); }

 private:
  bool deliveryAlways_ = false;
  bool trackLostEvents_ = false;
  std::shared_ptr<dataEventDescriptors> descriptors_;
};

}  // namespace brennock
