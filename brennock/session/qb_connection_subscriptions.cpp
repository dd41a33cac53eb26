// The subscription collections of a connection, created on first use through the events layer's
// factory and kept with the connection.
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/session/subscription_factory.h"
#include "brennock/session/qb_connection.h"

namespace brennock {
namespace {

const SubscriptionFactory* registeredFactory = nullptr;

const SubscriptionFactory& Factory() {
  // The library's link interface keeps the events layer's registration, so every program built
  // against it has the factory.
  if (registeredFactory == nullptr) RaiseError(errFeatureNotSupported, "QBConnection");
  return *registeredFactory;
}

}  // namespace

void RegisterSubscriptionFactory(const SubscriptionFactory* factory) noexcept {
  registeredFactory = factory;
}

const SubscriptionFactory* RegisteredSubscriptionFactory() noexcept { return registeredFactory; }

std::shared_ptr<brennock::UIExtensionSubscriptions> QBConnection::UIExtensionSubscriptions() {
  if (!uiExtensionSubscriptions_)
    uiExtensionSubscriptions_ = Factory().NewUIExtensionSubscriptions();
  return uiExtensionSubscriptions_;
}

std::shared_ptr<brennock::UISubscriptions> QBConnection::UISubscriptions() {
  if (!uiSubscriptions_) uiSubscriptions_ = Factory().NewUISubscriptions();
  return uiSubscriptions_;
}

std::shared_ptr<brennock::DataEventSubscriptions> QBConnection::DataEventSubscriptions() {
  if (!dataEventSubscriptions_)
    dataEventSubscriptions_ = Factory().NewMasterDataEventSubscriptions();
  return dataEventSubscriptions_;
}

}  // namespace brennock
