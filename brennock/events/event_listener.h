#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace brennock {

class EventFeed;

// What QuickBooks calls with an event: the event's qbXML text (read it with qbEvent::ParseXML).
using EventCallback = std::function<void(const std::string& EventXML)>;

// The callback of a ProgID. On Windows QuickBooks creates the object a subscription's ProgID names
// and hands it each event; here the application registers a function under that ProgID, and
// listeners hand each event to the callback of its subscription's ProgID. Process-wide; ProgIDs
// compare without regard to letter case; registering again replaces.
void RegisterEventCallback(const std::string& ProgID, EventCallback callback);
void UnregisterEventCallback(const std::string& ProgID);

// Receives a subscriber's events from a company file and delivers them, oldest first, each once:
// an event leaves the company file's queue only after its callback returned. While the listener is
// open (and asks for events at least once a minute) its subscriber counts as running, so events of
// subscriptions that are delivered only while the application runs reach it; events of
// DeliverAlways subscriptions wait in the company file for the next listener. One listener per
// subscriber and company file at a time (a second Open raises). Used from the thread that opened
// it.
class EventListener {
 public:
  EventListener();
  ~EventListener();
  EventListener(const EventListener&) = delete;
  EventListener& operator=(const EventListener&) = delete;

  // Events whose ProgID has no registered callback come here.
  EventCallback OnEventReceived;

  // Starts receiving SubscriberID's events of the company file (empty: the company file of this
  // thread's session, else $BRENNOCK_COMPANY; none: 1000). 2910 when the request processor keeps no
  // events; the processor's errors for a file it cannot open.
  void Open(const std::string& SubscriberID, const std::string& CompanyPath = {});
  // Hands the waiting events to their callbacks, waiting up to WaitMilliseconds for the first.
  // Returns how many were delivered. An event whose ProgID has no callback, without
  // OnEventReceived, stays queued and raises 1003 naming the ProgID; a callback that throws
  // leaves its event queued (it comes again) and the exception passes on.
  int32_t Deliver(int32_t WaitMilliseconds = 0);
  void Close();
  bool IsOpen() const noexcept { return feed_ != nullptr; }

 private:
  std::unique_ptr<EventFeed> feed_;
};

}  // namespace brennock
