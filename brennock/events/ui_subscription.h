#pragma once

#include <string>

#include "brennock/internal/events/subscription_record.h"

namespace brennock {

// A subscription to the opening and closing of company files.
class UISubscription : public SubscriptionRecord {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeUISubscription;

  const std::string& SubscriberId() const noexcept { return subscriberId_; }
  void SetSubscriberId(const std::string& value);
  // DeliverAlways (QuickBooks starts the application for each event) rather than only while the
  // application runs.
  bool DeliveryAlways() const noexcept { return deliveryAlways_; }
  void SetDeliveryAlways(bool value);
  bool CompanyFileOpenEvent() const noexcept { return companyFileOpenEvent_; }
  void SetCompanyFileOpenEvent(bool value);
  bool CompanyFileCloseEvent() const noexcept { return companyFileCloseEvent_; }
  void SetCompanyFileCloseEvent(bool value);

  qoEnumListObjectType ObjectType() const override { return kObjectType; }

  // SubscriberID, COMCallbackInfo, DeliveryPolicy and CompanyFileEventSubscription ("Close"
  // before "Open").
  static const BindingTable<SubscriptionRecord>& Bindings();

 protected:
  const BindingTable<SubscriptionRecord>& Rows() const override { return Bindings(); }

 private:
  bool deliveryAlways_ = false;
  bool companyFileOpenEvent_ = false;
  bool companyFileCloseEvent_ = false;
};

}  // namespace brennock
