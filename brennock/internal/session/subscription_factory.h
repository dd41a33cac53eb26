#pragma once

#include <memory>

namespace brennock {

class UIExtensionSubscriptions;
class UISubscriptions;
class DataEventSubcriptions;

// How a connection creates its subscription collections, which live in the events layer above
// it. The events layer registers the factory when the program starts.
class SubscriptionFactory {
 public:
  virtual ~SubscriptionFactory() = default;
  virtual std::shared_ptr<UIExtensionSubscriptions> NewUIExtensionSubscriptions() const = 0;
  virtual std::shared_ptr<UISubscriptions> NewUISubscriptions() const = 0;
  // The connection's own data event collection: the master one.
  virtual std::shared_ptr<DataEventSubcriptions> NewMasterDataEventSubscriptions() const = 0;
};

// Registration is meant for start-up, before any thread connects; null while none is registered.
void RegisterSubscriptionFactory(const SubscriptionFactory* factory) noexcept;
const SubscriptionFactory* RegisteredSubscriptionFactory() noexcept;

}  // namespace brennock
