#pragma once

#include <memory>
#include <string>

#include "brennock/events/event_source.h"

namespace brennock::simulator {

// The event queues of a company file, for the library's listeners and `brennock serve`: each
// feed opens the file on a connection of its own, claims its subscriber (one feed per subscriber,
// so no event goes out twice), counts as the subscriber's running listener while it asks for
// events, and deletes each event its caller acknowledges. A missing or foreign file raises the
// processor's errors.
std::unique_ptr<brennock::EventSource> OpenCompanyEventSource(const std::string& company_path);

}  // namespace brennock::simulator
