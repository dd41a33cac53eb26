#include "bridges/serve/event_delivery.h"

#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "brennock/errors/automation_error.h"
#include "brennock/events/event_source.h"
#include "brennock/internal/util/text.h"
#include "bridges/serve/request_log.h"

namespace brennock::serve {
namespace {

// Events taken from the company file at once for one subscriber.
constexpr size_t kBatch = 64;
// How long a worker waits for new events before it looks at Stop again.
constexpr std::chrono::milliseconds kIdleWait{200};

struct Target {
  std::string origin;  // scheme, host and port
  std::string path;    // "/" when the URL has none
};

Target Split(std::string_view url) {
  const size_t hostStart = url.find("://");
  const size_t pathStart = url.find('/', hostStart == std::string_view::npos ? 0 : hostStart + 3);
  if (pathStart == std::string_view::npos) return {std::string(url), "/"};
  return {std::string(url.substr(0, pathStart)), std::string(url.substr(pathStart))};
}

}  // namespace

bool IsEventUrl(std::string_view callback) {
  std::string lowered = AsciiLowered(callback.substr(0, 8));
  return lowered.starts_with("http://") || lowered.starts_with("https://");
}

struct EventDelivery::State {
  EventDeliveryOptions options;
  std::unique_ptr<EventSource> source;
  std::mutex mutex;  // guards workers, stopping and the log
  std::condition_variable wake;
  bool stopping = false;
  std::thread scanner;
  std::map<std::string, std::thread> workers;  // by subscriber ID
  std::atomic<uint64_t> delivered{0}, failures{0}, dropped{0};

  void Log(const std::string& fields) {
    std::lock_guard lock(mutex);
    WriteLogEvent(options.log, fields);
  }

  // Waits up to delay unless stopping; true when stopping.
  bool Pause(std::chrono::milliseconds delay) {
    std::unique_lock lock(mutex);
    return wake.wait_for(lock, delay, [&] { return stopping; });
  }

  bool Stopping() {
    std::lock_guard lock(mutex);
    return stopping;
  }

  void Scan() {
    while (!Stopping()) {
      try {
        for (const EventSubscriber& subscriber : source->Subscribers()) {
          if (!IsEventUrl(subscriber.callback)) continue;
          std::lock_guard lock(mutex);
          if (stopping || workers.count(subscriber.subscriberID) != 0) continue;
          workers.emplace(subscriber.subscriberID,
                          std::thread([this, id = subscriber.subscriberID] { Serve(id); }));
        }
      } catch (const std::exception& error) {
        Log("event=events-unreadable reason=" + LogValue(error.what()));
      }
      if (Pause(options.rescan)) return;
    }
  }

  // One subscriber's events, in order, until Stop.
  void Serve(const std::string& subscriberID) {
    std::unique_ptr<EventFeed> feed;
    while (!feed) {
      try {
        feed = source->OpenFeed(subscriberID);
      } catch (const std::exception& error) {
        // Another listener has the subscriber for now.
        Log("event=subscriber-busy subscriber=" + LogValue(subscriberID) +
            " reason=" + LogValue(error.what()));
        if (Pause(options.rescan * 5)) return;
      }
    }
    Log("event=subscriber-served subscriber=" + LogValue(subscriberID));
    std::map<std::string, std::unique_ptr<httplib::Client>> clients;  // by origin
    while (!Stopping()) {
      std::vector<QueuedEvent> events;
      try {
        events = feed->Next(kBatch, kIdleWait);
      } catch (const std::exception& error) {
        Log("event=events-unreadable reason=" + LogValue(error.what()));
        if (Pause(options.rescan)) return;
        continue;
      }
      for (const QueuedEvent& event : events) {
        if (!Deliver(*feed, event, clients)) return;  // stopping
      }
    }
  }

  // Tries one event until it is taken or given up; false when stopping first.
  bool Deliver(EventFeed& feed, const QueuedEvent& event,
               std::map<std::string, std::unique_ptr<httplib::Client>>& clients) {
    std::chrono::milliseconds delay = options.firstRetry;
    for (int attempt = 1;; ++attempt) {
      std::string outcome;
      if (Post(event, clients, outcome)) {
        feed.Acknowledge(event.sequence);
        ++delivered;
        return true;
      }
      ++failures;
      if (!event.deliverAlways && attempt >= options.attemptsWhileRunning) {
        feed.Drop(event.sequence);
        ++dropped;
        Log("event=event-dropped subscriber=" + LogValue(event.subscriberID) +
            " sequence=" + std::to_string(event.sequence) + " reason=" + LogValue(outcome));
        return true;
      }
      if (Pause(delay)) return false;
      delay = std::min(delay * 2, options.longestRetry);
    }
  }

  bool Post(const QueuedEvent& event,
            std::map<std::string, std::unique_ptr<httplib::Client>>& clients,
            std::string& outcome) {
    if (!IsEventUrl(event.callback)) {
      outcome = "not a URL";
      return false;
    }
    const Target target = Split(event.callback);
    std::unique_ptr<httplib::Client>& client = clients[target.origin];
    if (!client) {
      client = std::make_unique<httplib::Client>(target.origin);
      client->set_keep_alive(true);
      client->set_connection_timeout(options.connectTimeout);
      client->set_read_timeout(options.answerTimeout);
      client->set_write_timeout(options.answerTimeout);
      if (!options.caFile.empty()) client->set_ca_cert_path(options.caFile.c_str());
    }
    if (!client->is_valid()) {
      outcome = "invalid URL";
      return false;
    }
    httplib::Headers headers = {{"Brennock-Subscriber", event.subscriberID},
                                {"Brennock-Event-Sequence", std::to_string(event.sequence)}};
    httplib::Result result =
        client->Post(target.path.c_str(), headers, event.eventXML, "application/xml");
    if (!result) {
      outcome = httplib::to_string(result.error());
      client.reset();  // a fresh connection next time
      return false;
    }
    if (result->status >= 200 && result->status < 300) return true;
    outcome = "HTTP " + std::to_string(result->status);
    return false;
  }
};

EventDelivery::EventDelivery(EventDeliveryOptions options) : state_(std::make_unique<State>()) {
  state_->options = std::move(options);
}

EventDelivery::~EventDelivery() { Stop(); }

void EventDelivery::Start() {
  state_->source = OpenEventSource(state_->options.companyPath);
  state_->scanner = std::thread([state = state_.get()] { state->Scan(); });
}

void EventDelivery::Stop() {
  {
    std::lock_guard lock(state_->mutex);
    state_->stopping = true;
  }
  state_->wake.notify_all();
  if (state_->scanner.joinable()) state_->scanner.join();
  // No worker starts once stopping is set.
  for (auto& [id, worker] : state_->workers)
    if (worker.joinable()) worker.join();
}

uint64_t EventDelivery::Delivered() const { return state_->delivered; }
uint64_t EventDelivery::Failures() const { return state_->failures; }
uint64_t EventDelivery::Dropped() const { return state_->dropped; }

}  // namespace brennock::serve
