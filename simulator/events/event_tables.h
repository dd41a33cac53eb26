#pragma once

#include "simulator/store/sqlite.h"

namespace brennock::simulator {

// The tables a company file keeps subscriptions and undelivered events in:
//   subscriptions    one row per subscriber and kind ("Data", "UI", "UIExtension"; a UI extension
//                    per menu), with its callback, delivery policy and the rest of its answer;
//   event_interests  which list or transaction type and operation (or company file operation)
//                    each subscriber asked for: the lookup every change makes;
//   event_queues     one per subscriber: a small number for its queue, the number of the last
//                    event delivered (or given up), since when events were lost, and which listener
//                    takes its events and when it was last seen; written by listeners, not by
//                    changes;
//   event_outbox     events not yet delivered, one row per queue, numbered per queue in the order
//                    of the changes and written in the same transaction as the change.
// An event costs its change one outbox row and nothing else, so rows are kept small: keyed by the
// queue's number (not the subscriber's GUID), no separate index, no AUTOINCREMENT table, times as
// numbers, and the event's own part in a compact form (see EventBody) that becomes qbXML only when
// it is delivered.
// New company files have them; older ones get them with their first subscription.
void CreateEventTables(Database& db);

}  // namespace brennock::simulator
