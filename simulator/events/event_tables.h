#pragma once

#include "simulator/store/sqlite.h"

namespace brennock::simulator {

// The tables a company file keeps subscriptions and undelivered events in:
//   subscriptions    one row per subscriber and kind ("Data", "UI", "UIExtension"; a UI extension
//                    per menu), with its callback, delivery policy and the rest of its answer;
//   event_interests  which list or transaction type and operation (or company file operation)
//                    each subscriber asked for: the lookup every change makes;
//   event_outbox     events not yet delivered, one row per subscriber, in the order of the changes
//                    (written in the same transaction as the change);
//   event_queues     per subscriber: how many events wait, since when events were lost, and which
//                    listener takes its events and when it was last seen.
// New company files have them; older ones get them with their first subscription.
void CreateEventTables(Database& db);

}  // namespace brennock::simulator
