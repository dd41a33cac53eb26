#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace brennock {

// One event waiting in a company file for its subscriber.
struct QueuedEvent {
  int64_t sequence = 0;  // grows with every event of the subscriber
  std::string subscriberID;
  std::string subscriptionType;  // "Data", "UI" or "UIExtension"
  std::string callback;          // the subscription's ProgID, or its CLSID
  bool deliverAlways = true;     // false: the event is dropped when its subscriber cannot take it
  std::string eventXML;          // the qbXML event document
};

// A subscription with its callback, as the company file keeps it.
struct EventSubscriber {
  std::string subscriberID;
  std::string subscriptionType;
  std::string appName;
  std::string callback;
  bool deliverAlways = false;
};

// The events waiting for one subscriber, oldest first. While a feed is open its subscriber counts
// as running, so events of subscriptions that are delivered only while the application runs are
// kept for it; no second feed takes the same subscriber's events meanwhile.
class EventFeed {
 public:
  virtual ~EventFeed() = default;
  // Up to max waiting events, waiting up to wait for the first; empty when none came.
  virtual std::vector<QueuedEvent> Next(size_t max, std::chrono::milliseconds wait) = 0;
  // The event reached its subscriber: it is gone from the queue.
  virtual void Acknowledge(int64_t sequence) = 0;
  // The event cannot be delivered and will not be retried; a subscription that tracks lost events
  // is told of the gap.
  virtual void Drop(int64_t sequence) = 0;
};

// The event queues of one company file, kept by the request processor that stores subscriptions
// (the simulator registers itself).
class EventSource {
 public:
  virtual ~EventSource() = default;
  virtual std::vector<EventSubscriber> Subscribers() = 0;
  // Raises when another feed takes that subscriber's events.
  virtual std::unique_ptr<EventFeed> OpenFeed(const std::string& subscriberID) = 0;
};

using EventSourceFactory =
    std::function<std::unique_ptr<EventSource>(const std::string& companyPath)>;

// Replaces the factory the company files' event queues are opened with.
void RegisterEventSource(EventSourceFactory factory);
// The event queues of a company file; 2910 when no processor keeps events.
std::unique_ptr<EventSource> OpenEventSource(const std::string& companyPath);

}  // namespace brennock
