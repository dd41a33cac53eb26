// The subscription collections of a connection. The events module replaces this file: each
// accessor then creates its collection on first use and keeps it in the connection.
#include "brennock/errors/raise.h"
#include "brennock/session/qb_connection.h"

namespace brennock {
namespace {

constexpr std::string_view kSource = "QBConnection";

}  // namespace

std::shared_ptr<brennock::UIExtensionSubscriptions> QBConnection::UIExtensionSubscriptions() {
  RaiseFromClass(kSource, errFeatureNotSupported);
}

std::shared_ptr<brennock::UISubscriptions> QBConnection::UISubscriptions() {
  RaiseFromClass(kSource, errFeatureNotSupported);
}

std::shared_ptr<brennock::DataEventSubscriptions> QBConnection::DataEventSubscriptions() {
  RaiseFromClass(kSource, errFeatureNotSupported);
}

}  // namespace brennock
