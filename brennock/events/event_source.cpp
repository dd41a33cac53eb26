#include "brennock/events/event_source.h"

#include <mutex>

#include "brennock/internal/errors/raise.h"

namespace brennock {
namespace {

struct Registry {
  std::mutex mutex;
  EventSourceFactory factory;
};

Registry& TheRegistry() {
  static Registry registry;  // filled while the program starts
  return registry;
}

}  // namespace

void RegisterEventSource(EventSourceFactory factory) {
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  registry.factory = std::move(factory);
}

std::unique_ptr<EventSource> OpenEventSource(const std::string& companyPath) {
  EventSourceFactory factory;
  {
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    factory = registry.factory;
  }
  if (!factory) RaiseError(errFeatureNotSupported, "EventSource");
  return factory(companyPath);
}

}  // namespace brennock
