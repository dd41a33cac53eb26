#include "brennock/events/ui_subscription.h"

#include "brennock/internal/qbxml/request_writer.h"

namespace brennock {

void UISubscription::SetSubscriberId(const std::string& value) {
  Changing();
  subscriberId_ = value;
}

void UISubscription::SetDeliveryAlways(bool value) {
  Changing();
  deliveryAlways_ = value;
}

void UISubscription::SetCompanyFileOpenEvent(bool value) {
  Changing();
  companyFileOpenEvent_ = value;
}

void UISubscription::SetCompanyFileCloseEvent(bool value) {
  Changing();
  companyFileCloseEvent_ = value;
}

const BindingTable<SubscriptionRecord>& UISubscription::Bindings() {
  using R = SubscriptionRecord;
  constexpr uint16_t kWritten = kInAdd | kInRet;
  BRENNOCK_BINDINGS(
      R, HeadRows(),
      std::array{
          Binding<R>{"DeliveryPolicy", kWritten, nullptr,
                     [](const R& r, RequestWriter& b, std::string_view name, uint16_t, BodyForm) {
                       b.CreateElement(name,
                                       DeliveryPolicyText(
                                           static_cast<const UISubscription&>(r).deliveryAlways_));
                     }},
          Binding<R>{"CompanyFileEventSubscription", kWritten, nullptr,
                     [](const R& r, RequestWriter& b, std::string_view name, uint16_t, BodyForm) {
                       const auto& ui = static_cast<const UISubscription&>(r);
                       b.OpenAggregateOnly(name);
                       if (ui.companyFileCloseEvent_)
                         b.CreateElement("CompanyFileEventOperation", "Close");
                       if (ui.companyFileOpenEvent_)
                         b.CreateElement("CompanyFileEventOperation", "Open");
                       b.EndAggregate(name);
                     }},
      });
}

}  // namespace brennock
