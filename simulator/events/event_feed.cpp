#include "simulator/events/event_feed.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "brennock/errors/automation_error.h"
#include "simulator/clock.h"
#include "simulator/events/event_document.h"
#include "simulator/events/event_queue.h"
#include "simulator/events/event_tables.h"
#include "simulator/processor_errors.h"
#include "simulator/store/company_db.h"

namespace brennock::simulator {
namespace {

// How often a waiting feed looks for new events, and refreshes its sign of life.
constexpr auto kPollInterval = std::chrono::milliseconds(10);
constexpr int64_t kHeartbeatSeconds = 5;

std::unique_ptr<CompanyDb> OpenCompany(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) Raise(kCouldNotOpenFile);
  try {
    return std::make_unique<CompanyDb>(std::filesystem::absolute(path).string());
  } catch (const SqliteError&) {
    Raise(kCouldNotStart);
  }
}

EventHost ReadHost(CompanyDb& company) {
  EventHost host;
  host.product_name = company.SettingOr("host.ProductName", "");
  host.major_version = company.SettingOr("host.MajorVersion", "");
  host.minor_version = company.SettingOr("host.MinorVersion", "");
  host.country = company.SettingOr("host.Country", "");
  host.last_restore_time = company.SettingOr("activity.LastRestoreTime", "");
  host.last_condense_time = company.SettingOr("activity.LastCondenseTime", "");
  // The last (highest) version the host speaks.
  std::string versions = company.SettingOr("host.SupportedQBXMLVersion", "");
  while (!versions.empty() && versions.back() == '\n') versions.pop_back();
  host.qbxml_version = versions.substr(versions.rfind('\n') + 1);
  return host;
}

// A token that tells this feed from any other, in this process or another.
std::string ListenerToken(const void* feed) {
  char token[64];
  std::snprintf(token, sizeof token, "%ld:%p:%lld", static_cast<long>(getpid()), feed,
                static_cast<long long>(Now().unix_seconds));
  return token;
}

class CompanyEventFeed : public EventFeed {
 public:
  CompanyEventFeed(const std::string& path, std::string subscriber_id)
      : company_(OpenCompany(path)),
        subscriber_id_(std::move(subscriber_id)),
        token_(ListenerToken(this)),
        host_(ReadHost(*company_)) {
    Claim();
  }

  ~CompanyEventFeed() override {
    try {
      company_->db()
          .Prepare(
              "UPDATE event_queues SET listener = '', listener_seen = 0 "
              "WHERE subscriber_id = ? AND listener = ?")
          .Bind(1, subscriber_id_)
          .Bind(2, token_)
          .Run();
    } catch (const SqliteError&) {
      // The claim ends by itself when its sign of life grows old.
    }
  }

  std::vector<QueuedEvent> Next(size_t max, std::chrono::milliseconds wait) override {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
      Heartbeat();
      std::vector<QueuedEvent> events = Waiting(max);
      if (!events.empty() || std::chrono::steady_clock::now() >= deadline) return events;
      std::this_thread::sleep_for(kPollInterval);
    }
  }

  void Acknowledge(int64_t sequence) override {
    Database& db = company_->db();
    Transaction txn(db, true);
    Remove(sequence);
    txn.Commit();
  }

  void Drop(int64_t sequence) override {
    Database& db = company_->db();
    Transaction txn(db, true);
    if (Remove(sequence)) MarkLost(db, subscriber_id_, Now());
    txn.Commit();
  }

 private:
  // Takes the subscriber's events, unless a listener that is still alive has them.
  void Claim() {
    Database& db = company_->db();
    Transaction txn(db, true);
    CreateEventTables(db);
    const SimulatorTime now = Now();
    auto& st =
        db.Prepare("SELECT listener, listener_seen FROM event_queues WHERE subscriber_id = ?");
    st.Bind(1, subscriber_id_);
    if (st.Step() && !st.Text(0).empty() &&
        st.Int(1) + kListenerLifetimeSeconds >= now.unix_seconds) {
      throw AutomationError(
          kUnexpected.number, std::string(kProcessorSource),
          "Another listener is receiving the events of subscriber " + subscriber_id_ + ".");
    }
    st.Reset();
    queue_ = QueueOf(db, subscriber_id_, true).queue;
    db.Prepare("UPDATE event_queues SET listener = ?, listener_seen = ? WHERE queue = ?")
        .Bind(1, token_)
        .Bind(2, now.unix_seconds)
        .Bind(3, queue_)
        .Run();
    txn.Commit();
    last_heartbeat_ = now.unix_seconds;
  }

  void Heartbeat() {
    const int64_t now = Now().unix_seconds;
    if (now - last_heartbeat_ < kHeartbeatSeconds && now >= last_heartbeat_) return;
    company_->db()
        .Prepare(
            "UPDATE event_queues SET listener_seen = ? WHERE subscriber_id = ? AND listener = ?")
        .Bind(1, now)
        .Bind(2, subscriber_id_)
        .Bind(3, token_)
        .Run();
    last_heartbeat_ = now;
  }

  std::vector<QueuedEvent> Waiting(size_t max) {
    auto& st = company_->db().Prepare(
        "SELECT o.seq, o.kind, o.event_time, o.utc_offset, o.body, coalesce(s.callback, ''), "
        "coalesce(s.deliver_always, 1), coalesce(s.track_lost, 0), coalesce(q.lost_since, '') "
        "FROM event_outbox o JOIN event_queues q ON q.queue = o.queue "
        "LEFT JOIN subscriptions s ON s.subscriber_id = q.subscriber_id AND s.kind = o.kind "
        "AND s.menu = o.menu "
        "WHERE o.queue = ? ORDER BY o.seq LIMIT ?");
    st.Bind(1, queue_).Bind(2, static_cast<int64_t>(max));
    std::vector<QueuedEvent> events;
    while (st.Step()) {
      QueuedEvent event;
      event.sequence = st.Int(0);
      event.subscriberID = subscriber_id_;
      event.subscriptionType = st.Text(1);
      event.callback = st.Text(5);
      event.deliverAlways = st.Int(6) != 0;
      const bool track_lost = st.Int(7) != 0;
      const std::string time = FormatDateTime({st.Int(2), static_cast<int32_t>(st.Int(3))});
      event.eventXML =
          EventDocument(host_, {event.subscriptionType, subscriber_id_, company_->path(), time,
                                st.Text(4), track_lost ? st.Text(8) : std::string_view()});
      events.push_back(std::move(event));
    }
    return events;
  }

  bool Remove(int64_t sequence) {
    Database& db = company_->db();
    db.Prepare("DELETE FROM event_outbox WHERE queue = ? AND seq = ?")
        .Bind(1, queue_)
        .Bind(2, sequence)
        .Run();
    if (db.Changes() == 0) return false;
    // The number stays taken: the next event of the subscriber gets a higher one.
    db.Prepare("UPDATE event_queues SET acked_seq = max(acked_seq, ?) WHERE queue = ?")
        .Bind(1, sequence)
        .Bind(2, queue_)
        .Run();
    return true;
  }

  std::unique_ptr<CompanyDb> company_;
  std::string subscriber_id_;
  std::string token_;
  EventHost host_;
  int64_t queue_ = 0;
  int64_t last_heartbeat_ = 0;
};

class CompanyEventSource : public EventSource {
 public:
  explicit CompanyEventSource(std::string path) : path_(std::move(path)) {
    company_ = OpenCompany(path_);
  }

  std::vector<EventSubscriber> Subscribers() override {
    std::vector<EventSubscriber> subscribers;
    Database& db = company_->db();
    if (!HasEventTables(db)) return subscribers;
    auto& st = db.Prepare(
        "SELECT subscriber_id, kind, app_name, callback, deliver_always FROM subscriptions "
        "ORDER BY subscriber_id, kind, menu");
    while (st.Step())
      subscribers.push_back({std::string(st.Text(0)), std::string(st.Text(1)),
                             std::string(st.Text(2)), std::string(st.Text(3)), st.Int(4) != 0});
    return subscribers;
  }

  std::unique_ptr<EventFeed> OpenFeed(const std::string& subscriberID) override {
    return std::make_unique<CompanyEventFeed>(path_, subscriberID);
  }

 private:
  std::string path_;
  std::unique_ptr<CompanyDb> company_;
};

}  // namespace

std::unique_ptr<brennock::EventSource> OpenCompanyEventSource(const std::string& company_path) {
  return std::make_unique<CompanyEventSource>(company_path);
}

}  // namespace brennock::simulator
