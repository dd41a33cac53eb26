#include "brennock/events/event_listener.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <unordered_map>

#include "brennock/events/event_source.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/internal/util/text.h"

namespace brennock {
namespace {

// Events taken from the company file in one read.
constexpr size_t kBatch = 256;

struct Callbacks {
  std::mutex mutex;
  std::unordered_map<std::string, EventCallback> byProgID;  // folded ProgID
};

Callbacks& TheCallbacks() {
  static Callbacks callbacks;
  return callbacks;
}

EventCallback CallbackOf(const std::string& progID) {
  Callbacks& callbacks = TheCallbacks();
  std::lock_guard lock(callbacks.mutex);
  auto found = callbacks.byProgID.find(AsciiLowered(progID));
  return found == callbacks.byProgID.end() ? EventCallback() : found->second;
}

std::string CompanyFileToListenTo(const std::string& given) {
  if (!given.empty()) return given;
  if (!Session().companyPath.empty()) return Session().companyPath;
  const char* open = std::getenv("BRENNOCK_COMPANY");
  if (open != nullptr && *open != '\0') return open;
  RaiseLibraryError(errNotConnected);
}

}  // namespace

void RegisterEventCallback(const std::string& ProgID, EventCallback callback) {
  Callbacks& callbacks = TheCallbacks();
  std::lock_guard lock(callbacks.mutex);
  callbacks.byProgID[AsciiLowered(ProgID)] = std::move(callback);
}

void UnregisterEventCallback(const std::string& ProgID) {
  Callbacks& callbacks = TheCallbacks();
  std::lock_guard lock(callbacks.mutex);
  callbacks.byProgID.erase(AsciiLowered(ProgID));
}

EventListener::EventListener() = default;
EventListener::~EventListener() = default;

void EventListener::Open(const std::string& SubscriberID, const std::string& CompanyPath) {
  std::unique_ptr<EventSource> source = OpenEventSource(CompanyFileToListenTo(CompanyPath));
  feed_ = source->OpenFeed(SubscriberID);
}

void EventListener::Close() { feed_.reset(); }

int32_t EventListener::Deliver(int32_t WaitMilliseconds) {
  if (!feed_) RaiseLibraryError(errNotConnected);
  int32_t delivered = 0;
  for (const QueuedEvent& event :
       feed_->Next(kBatch, std::chrono::milliseconds(std::max(WaitMilliseconds, 0)))) {
    EventCallback callback = CallbackOf(event.callback);
    if (!callback) callback = OnEventReceived;
    // The event stays queued; saying so beats handing the same event back at every call.
    if (!callback)
      RaiseGeneral("EventListener",
                   "No callback takes the events of ProgID \"" + event.callback + "\".");
    callback(event.eventXML);
    feed_->Acknowledge(event.sequence);
    ++delivered;
  }
  return delivered;
}

}  // namespace brennock
