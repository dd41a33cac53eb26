#include "simulator/events/event_queue.h"

#include <algorithm>

#include "brennock/internal/util/environment.h"

namespace brennock::simulator {
namespace {

// The next number of a queue and how many wait, from the newest queued event (null: none) and
// the last delivered one (acknowledgements come in order).
void Count(EventRecipient& recipient, int64_t acked, bool any_queued, int64_t newest) {
  recipient.last_queued = any_queued ? std::max(acked, newest) : acked;
  recipient.waiting = recipient.last_queued - acked;
}

}  // namespace

uint64_t EventQueueLimit() {
  constexpr uint64_t kDefaultLimit = 100000;
  return EnvironmentCount("BRENNOCK_SIMULATOR_EVENT_QUEUE_LIMIT", kDefaultLimit);
}

bool HasEventTables(Database& db) {
  auto& st = db.Prepare("SELECT 1 FROM sqlite_schema WHERE type='table' AND name='event_outbox'");
  const bool found = st.Step();
  st.Reset();
  return found;
}

std::vector<EventRecipient> InterestedSubscribers(Database& db, std::string_view subscription_kind,
                                                  std::string_view family, std::string_view type,
                                                  std::string_view operation) {
  std::vector<EventRecipient> recipients;
  Statement* st = nullptr;
  try {
    st = &db.Prepare(
        "SELECT i.subscriber_id, s.deliver_always, q.queue, q.listener_seen, q.acked_seq, "
        "(SELECT max(o.seq) FROM event_outbox o WHERE o.queue = q.queue) "
        "FROM event_interests i "
        "JOIN subscriptions s ON s.subscriber_id = i.subscriber_id AND s.kind = ? AND s.menu = '' "
        "JOIN event_queues q ON q.subscriber_id = i.subscriber_id "
        "WHERE i.family = ? AND i.type = ? AND i.operation = ?");
  } catch (const SqliteError&) {
    // A company file made before events were kept has no subscriptions to tell.
    if (!HasEventTables(db)) return recipients;
    throw;
  }
  st->Bind(1, subscription_kind).Bind(2, family).Bind(3, type).Bind(4, operation);
  while (st->Step()) {
    EventRecipient recipient{std::string(st->Text(0)), st->Int(1) != 0, st->Int(2), st->Int(3)};
    Count(recipient, st->Int(4), !st->IsNull(5), st->Int(5));
    recipients.push_back(std::move(recipient));
  }
  return recipients;
}

EventRecipient QueueOf(Database& db, std::string_view subscriber_id, bool deliver_always) {
  db.Prepare("INSERT OR IGNORE INTO event_queues(subscriber_id) VALUES(?)")
      .Bind(1, subscriber_id)
      .Run();
  auto& st = db.Prepare(
      "SELECT queue, listener_seen, acked_seq, "
      "(SELECT max(o.seq) FROM event_outbox o WHERE o.queue = q.queue) "
      "FROM event_queues q WHERE subscriber_id = ?");
  st.Bind(1, subscriber_id);
  EventRecipient recipient{std::string(subscriber_id), deliver_always};
  if (st.Step()) {
    recipient.queue = st.Int(0);
    recipient.listener_seen = st.Int(1);
    Count(recipient, st.Int(2), !st.IsNull(3), st.Int(3));
  }
  st.Reset();
  return recipient;
}

void MarkLost(Database& db, std::string_view subscriber_id, const SimulatorTime& now) {
  db.Prepare(
        "INSERT INTO event_queues(subscriber_id, lost_since) VALUES(?, ?) "
        "ON CONFLICT(subscriber_id) DO UPDATE SET lost_since = coalesce(lost_since, "
        "excluded.lost_since)")
      .Bind(1, subscriber_id)
      .Bind(2, FormatDateTime(now))
      .Run();
}

void Enqueue(Database& db, EventRecipient& recipient, std::string_view subscription_kind,
             std::string_view menu, std::string_view body, const SimulatorTime& now) {
  const bool running = recipient.listener_seen + kListenerLifetimeSeconds >= now.unix_seconds;
  if ((!recipient.deliver_always && !running) ||
      recipient.waiting >= static_cast<int64_t>(EventQueueLimit())) {
    MarkLost(db, recipient.subscriber_id, now);
    return;
  }
  db.Prepare(
        "INSERT INTO event_outbox(queue, seq, kind, menu, event_time, utc_offset, body) "
        "VALUES(?, ?, ?, ?, ?, ?, ?)")
      .Bind(1, recipient.queue)
      .Bind(2, ++recipient.last_queued)
      .Bind(3, subscription_kind)
      .Bind(4, menu)
      .Bind(5, now.unix_seconds)
      .Bind(6, static_cast<int64_t>(now.utc_offset_minutes))
      .Bind(7, body)
      .Run();
  ++recipient.waiting;
}

}  // namespace brennock::simulator
