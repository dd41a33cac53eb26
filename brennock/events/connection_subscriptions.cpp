// The subscription collections of a connection, created on first use and kept with it. The
// connection's data event collection is the master one.
#include "brennock/events/subscription_collections.h"
#include "brennock/session/qb_connection.h"

namespace brennock {

std::shared_ptr<brennock::UIExtensionSubscriptions> QBConnection::UIExtensionSubscriptions() {
  if (!uiExtensionSubscriptions_)
    uiExtensionSubscriptions_ = std::make_shared<brennock::UIExtensionSubscriptions>();
  return uiExtensionSubscriptions_;
}

std::shared_ptr<brennock::UISubscriptions> QBConnection::UISubscriptions() {
  if (!uiSubscriptions_) uiSubscriptions_ = std::make_shared<brennock::UISubscriptions>();
  return uiSubscriptions_;
}

std::shared_ptr<brennock::DataEventSubscriptions> QBConnection::DataEventSubscriptions() {
  if (!dataEventSubscriptions_) {
    dataEventSubscriptions_ = std::make_shared<DataEventSubcriptions>();
    dataEventSubscriptions_->SetMaster(true);
  }
  return dataEventSubscriptions_;
}

}  // namespace brennock
