// DataEventRecoveryInfoQuery and DataEventRecoveryInfoDel: since when a subscriber's data events
// were lost (it was not running, or its queue was full), so that it can read what changed since,
// and the acknowledgement that it did.
#include "simulator/events/event_queue.h"
#include "simulator/handlers/handler_table.h"
#include "simulator/lists/field_values.h"
#include "simulator/xml_writer.h"

namespace brennock::simulator {
namespace {

bool HasDataSubscription(Database& db, std::string_view subscriber) {
  if (!HasEventTables(db)) return false;
  auto& st = db.Prepare("SELECT 1 FROM subscriptions WHERE subscriber_id = ? AND kind = 'Data'");
  st.Bind(1, subscriber);
  const bool found = st.Step();
  st.Reset();
  return found;
}

Status RecoveryInfoQuery(RequestContext& ctx) {
  const std::string subscriber(Trim(ctx.request.child("SubscriberID").text().get()));
  Database& db = ctx.company.db();
  if (!HasDataSubscription(db, subscriber))
    return ctx.Respond(MakeStatus(kObjectNotFound, {subscriber}));
  auto& st =
      db.Prepare("SELECT coalesce(lost_since, '') FROM event_queues WHERE subscriber_id = ?");
  st.Bind(1, subscriber);
  const std::string lost_since = st.Step() ? std::string(st.Text(0)) : std::string();
  st.Reset();
  ctx.OpenResponse({});
  XmlWriter w(ctx.out);
  w.Open("DataEventRecoveryInfoRet");
  w.Element("SubscriberID", subscriber);
  if (!lost_since.empty()) w.Element("DataEventRecoveryTime", lost_since);
  w.Close("DataEventRecoveryInfoRet");
  ctx.CloseResponse();
  return {};
}

Status RecoveryInfoDel(RequestContext& ctx) {
  const std::string subscriber(Trim(ctx.request.child("SubscriberID").text().get()));
  Database& db = ctx.company.db();
  if (!HasDataSubscription(db, subscriber))
    return ctx.Respond(MakeStatus(kObjectNotFound, {subscriber}));
  db.Prepare("UPDATE event_queues SET lost_since = NULL WHERE subscriber_id = ?")
      .Bind(1, subscriber)
      .Run();
  return ctx.Respond({});
}

}  // namespace

void RegisterEventHandlers(HandlerTable& table) {
  table.Add("DataEventRecoveryInfoQueryRq", RecoveryInfoQuery, false);
  table.Add("DataEventRecoveryInfoDelRq", RecoveryInfoDel, true);
}

}  // namespace brennock::simulator
