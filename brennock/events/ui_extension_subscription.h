#pragma once

#include <memory>
#include <string>

#include "brennock/enums/event_enums.h"
#include "brennock/events/menu_items.h"
#include "brennock/internal/events/subscription_record.h"

namespace brennock {

// Menu items an application adds to a QuickBooks menu: one item straight in the menu, or several
// in a submenu with a display condition of its own. QuickBooks sends the chosen item's EventTag.
class UIExtensionSubscription : public SubscriptionRecord {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeUIExtensionSubscription;

  UIExtensionSubscription();

  // The connection's subscriber ID (RegisterEventGUID).
  const std::string& SubscriberId() const;
  qbMnuNames AddToMenu() const noexcept { return addToMenu_; }
  void SetAddToMenu(qbMnuNames value);
  // The submenu's condition (written when there are two items or more).
  std::shared_ptr<mnuDisplayCondition> DisplayConditions() const noexcept {
    return displayConditions_;
  }
  std::shared_ptr<mnuItems> MenuItems() const noexcept { return menuItems_; }

  qoEnumListObjectType ObjectType() const override { return kObjectType; }

  // SubscriberID, COMCallbackInfo and MenuExtensionSubscription.
  static const BindingTable<SubscriptionRecord>& Bindings();

 protected:
  const std::string& WrittenSubscriberID() const override { return SubscriberId(); }
  const BindingTable<SubscriptionRecord>& Rows() const override { return Bindings(); }

 private:
  qbMnuNames addToMenu_ = static_cast<qbMnuNames>(0);
  std::shared_ptr<mnuDisplayCondition> displayConditions_;
  std::shared_ptr<mnuItems> menuItems_;
};

}  // namespace brennock
