#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "simulator/clock.h"
#include "simulator/store/sqlite.h"

namespace brennock::simulator {

// How many events wait for one subscriber at most (BRENNOCK_SIMULATOR_EVENT_QUEUE_LIMIT, default
// 100000). A subscriber that takes no events cannot make the company file grow without end: what
// comes beyond the limit is lost, and reported to a subscription that tracks lost events.
uint64_t EventQueueLimit();

// A listener counts as running while it has asked for events within this time.
inline constexpr int64_t kListenerLifetimeSeconds = 60;

// A subscriber whose subscription asked for an event, and how it takes events.
struct EventRecipient {
  std::string subscriber_id;
  bool deliver_always = false;
  int64_t queue = 0;          // its row in event_queues
  int64_t listener_seen = 0;  // simulator clock, Unix seconds; 0: no listener
  int64_t last_queued = 0;    // number of the newest event waiting, or of the last delivered
  int64_t waiting = 0;        // events queued and not yet delivered
};

// The subscribers of one kind of subscription ("Data" or "UI") interested in an event (family
// "List", "Txn" or "CompanyFile", the type, the operation). Empty as well when the company file has
// no event tables yet.
std::vector<EventRecipient> InterestedSubscribers(Database& db, std::string_view subscription_kind,
                                                  std::string_view family, std::string_view type,
                                                  std::string_view operation);
// The queue of a subscriber, made when it has none.
EventRecipient QueueOf(Database& db, std::string_view subscriber_id, bool deliver_always);

// Puts one event into the recipient's queue, in the caller's transaction, and counts it in the
// recipient. body is the event's own part in compact form (EventBody). A recipient that takes
// events only while it runs and has no listener, or whose queue is full, loses the event instead:
// the time of the first loss is kept for its recovery information.
void Enqueue(Database& db, EventRecipient& recipient, std::string_view subscription_kind,
             std::string_view menu, std::string_view body, const SimulatorTime& now);

// Records that an event of the subscriber was lost at that time (the earliest loss is kept).
void MarkLost(Database& db, std::string_view subscriber_id, const SimulatorTime& now);

// Whether the company file has the event tables.
bool HasEventTables(Database& db);

}  // namespace brennock::simulator
