// The events layer's subscription collections, registered for the connections below it when the
// program starts.
#include "brennock/events/subscription_collections.h"
#include "brennock/internal/session/subscription_factory.h"

namespace brennock {
namespace {

class EventsSubscriptionFactory final : public SubscriptionFactory {
 public:
  std::shared_ptr<UIExtensionSubscriptions> NewUIExtensionSubscriptions() const override {
    return std::make_shared<UIExtensionSubscriptions>();
  }
  std::shared_ptr<UISubscriptions> NewUISubscriptions() const override {
    return std::make_shared<UISubscriptions>();
  }
  std::shared_ptr<DataEventSubcriptions> NewMasterDataEventSubscriptions() const override {
    auto collection = std::make_shared<DataEventSubcriptions>();
    collection->SetMaster(true);
    return collection;
  }
};

bool Register() {
  static const EventsSubscriptionFactory factory;
  RegisterSubscriptionFactory(&factory);
  return true;
}

}  // namespace
}  // namespace brennock

// Named as undefined by the library's link interface, so a static link keeps this file.
extern const bool brennock_events_registered;
const bool brennock_events_registered = brennock::Register();
