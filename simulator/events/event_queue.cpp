#include "simulator/events/event_queue.h"

#include "brennock/util/environment.h"

namespace brennock::simulator {

uint64_t EventQueueLimit() {
  constexpr uint64_t kDefaultLimit = 100000;
  return EnvironmentCount("BRENNOCK_SIMULATOR_EVENT_QUEUE_LIMIT", kDefaultLimit);
}

bool HasEventTables(Database& db) {
  auto& st = db.Prepare("SELECT 1 FROM sqlite_schema WHERE type='table' AND name='event_outbox'");
  return st.Step();
}

std::vector<EventRecipient> InterestedSubscribers(Database& db, std::string_view subscription_kind,
                                                  std::string_view family, std::string_view type,
                                                  std::string_view operation) {
  std::vector<EventRecipient> recipients;
  Statement* st = nullptr;
  try {
    st = &db.Prepare(
        "SELECT i.subscriber_id, s.deliver_always, coalesce(q.listener_seen, 0) "
        "FROM event_interests i "
        "JOIN subscriptions s ON s.subscriber_id = i.subscriber_id AND s.kind = ? AND s.menu = '' "
        "LEFT JOIN event_queues q ON q.subscriber_id = i.subscriber_id "
        "WHERE i.family = ? AND i.type = ? AND i.operation = ?");
  } catch (const SqliteError&) {
    // A company file made before events were kept has no subscriptions to tell.
    if (!HasEventTables(db)) return recipients;
    throw;
  }
  st->Bind(1, subscription_kind).Bind(2, family).Bind(3, type).Bind(4, operation);
  while (st->Step()) recipients.push_back({std::string(st->Text(0)), st->Int(1) != 0, st->Int(2)});
  return recipients;
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

void Enqueue(Database& db, const EventRecipient& recipient, std::string_view subscription_kind,
             std::string_view menu, std::string_view body, const SimulatorTime& now) {
  const bool running = recipient.listener_seen + kListenerLifetimeSeconds >= now.unix_seconds;
  if (!recipient.deliver_always && !running) {
    MarkLost(db, recipient.subscriber_id, now);
    return;
  }
  // One statement counts the event in, unless the queue is full.
  db.Prepare(
        "INSERT INTO event_queues(subscriber_id, queued) VALUES(?, 1) "
        "ON CONFLICT(subscriber_id) DO UPDATE SET queued = queued + 1 WHERE queued < ?")
      .Bind(1, recipient.subscriber_id)
      .Bind(2, static_cast<int64_t>(EventQueueLimit()))
      .Run();
  if (db.Changes() == 0) {
    MarkLost(db, recipient.subscriber_id, now);
    return;
  }
  db.Prepare(
        "INSERT INTO event_outbox(subscriber_id, kind, menu, event_time, body) "
        "VALUES(?, ?, ?, ?, ?)")
      .Bind(1, recipient.subscriber_id)
      .Bind(2, subscription_kind)
      .Bind(3, menu)
      .Bind(4, FormatDateTime(now))
      .Bind(5, body)
      .Run();
}

}  // namespace brennock::simulator
