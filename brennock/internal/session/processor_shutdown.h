#pragma once

#include <memory>
#include <string>

#include "brennock/session/request_processor.h"

namespace brennock {

// Ends a processor's session (when it has a ticket) and closes its connection. Both steps are
// attempted even when the first fails, so that a broken processor is never left half open; the
// first failure is passed on afterwards. A null processor does nothing.
void ShutDownProcessor(const std::shared_ptr<RequestProcessor>& processor,
                       const std::string& ticket);

}  // namespace brennock
