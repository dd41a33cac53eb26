#include "brennock/events/ui_extension_subscription.h"

#include "brennock/enums/enumeration_type.h"
#include "brennock/enums/enumerations.h"
#include "brennock/internal/qbxml/request_writer.h"
#include "brennock/internal/session/session_state.h"

namespace brennock {

UIExtensionSubscription::UIExtensionSubscription()
    : displayConditions_(std::make_shared<mnuDisplayCondition>()),
      menuItems_(std::make_shared<mnuItems>()) {}

const std::string& UIExtensionSubscription::SubscriberId() const {
  return Session().eventSubscriberID;
}

void UIExtensionSubscription::SetAddToMenu(qbMnuNames value) {
  Changing();
  addToMenu_ = value;
}

const BindingTable<SubscriptionRecord>& UIExtensionSubscription::Bindings() {
  using R = SubscriptionRecord;
  BRENNOCK_BINDINGS(
      R, HeadRows(),
      std::array{
          Binding<R>{"MenuExtensionSubscription", kInAdd | kInRet, nullptr,
                     [](const R& r, RequestWriter& b, std::string_view name, uint16_t, BodyForm) {
                       const auto& ui = static_cast<const UIExtensionSubscription&>(r);
                       b.OpenAggregateOnly(name);
                       b.CreateElement(
                           "AddToMenu",
                           EnumCodeToXmlText(qoeMenuNames, static_cast<int16_t>(ui.addToMenu_)));
                       // One item goes straight into the menu; more make a submenu.
                       if (ui.menuItems_->Count() < 2) {
                         ui.menuItems_->ToXML(b);
                       } else {
                         b.OpenAggregateOnly("Submenu");
                         ui.displayConditions_->ToXML(b);
                         ui.menuItems_->ToXML(b);
                         b.EndAggregate("Submenu");
                       }
                       b.EndAggregate(name);
                     }},
      });
}

}  // namespace brennock
