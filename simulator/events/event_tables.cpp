#include "simulator/events/event_tables.h"

namespace brennock::simulator {
namespace {

constexpr const char* kEventSchema = R"sql(
CREATE TABLE IF NOT EXISTS subscriptions(
  subscriber_id TEXT NOT NULL,
  kind TEXT NOT NULL,
  menu TEXT NOT NULL DEFAULT '',
  app_name TEXT NOT NULL,
  callback_element TEXT NOT NULL,
  callback TEXT NOT NULL,
  deliver_always INTEGER NOT NULL,
  track_lost INTEGER NOT NULL DEFAULT 0,
  time_created TEXT NOT NULL,
  body TEXT NOT NULL,
  PRIMARY KEY(subscriber_id, kind, menu)) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS event_interests(
  family TEXT NOT NULL,
  type TEXT NOT NULL,
  operation TEXT NOT NULL,
  subscriber_id TEXT NOT NULL,
  PRIMARY KEY(family, type, operation, subscriber_id)) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS event_queues(
  queue INTEGER PRIMARY KEY,
  subscriber_id TEXT NOT NULL UNIQUE,
  acked_seq INTEGER NOT NULL DEFAULT 0,
  lost_since TEXT,
  listener TEXT NOT NULL DEFAULT '',
  listener_seen INTEGER NOT NULL DEFAULT 0);
CREATE TABLE IF NOT EXISTS event_outbox(
  queue INTEGER NOT NULL,
  seq INTEGER NOT NULL,
  kind TEXT NOT NULL,
  menu TEXT NOT NULL DEFAULT '',
  event_time INTEGER NOT NULL,
  utc_offset INTEGER NOT NULL,
  body TEXT NOT NULL,
  PRIMARY KEY(queue, seq)) WITHOUT ROWID;
)sql";

}  // namespace

void CreateEventTables(Database& db) { db.Exec(kEventSchema); }

}  // namespace brennock::simulator
