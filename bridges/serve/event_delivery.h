#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

namespace brennock::serve {

struct EventDeliveryOptions {
  // The company file whose subscribers are served.
  std::string companyPath;
  // Each attempt: time to connect, and to send the event and read the answer.
  std::chrono::milliseconds connectTimeout{5000};
  std::chrono::milliseconds answerTimeout{10000};
  // Waits between attempts at one event: the first, doubling up to the longest.
  std::chrono::milliseconds firstRetry{500};
  std::chrono::milliseconds longestRetry{60000};
  // A subscription delivered only while its application runs gives up an event after this many
  // failed attempts (the subscriber is not running); DeliverAlways retries until it is taken.
  int attemptsWhileRunning = 3;
  // How often the company file is looked at for new subscribers.
  std::chrono::milliseconds rescan{1000};
  // Authorities for subscribers' HTTPS certificates (empty: the system's).
  std::string caFile;
  std::ostream* log = nullptr;  // one line per event given up, and per subscriber started
};

// Whether a subscription's callback is a URL `brennock serve` posts events to ("http://..." or
// "https://...", in place of a ProgID).
bool IsEventUrl(std::string_view callback);

// Delivers the events of a company file's URL subscribers as HTTP POSTs: the event document as
// the body (application/xml), with the headers Brennock-Subscriber and Brennock-Event-Sequence
// (the same for every attempt at one event, so a subscriber can tell a repeat). A 2xx answer
// delivers the event; anything else (a refusal, a timeout, no HTTP at all) is tried again later,
// the event staying first in its subscriber's order. Each subscriber has a thread of its own, so a
// slow or failing one holds back only its own events; the company file's requests never wait for
// a subscriber: its events wait in the file, up to the simulator's queue limit per subscriber.
class EventDelivery {
 public:
  explicit EventDelivery(EventDeliveryOptions options);
  ~EventDelivery();
  EventDelivery(const EventDelivery&) = delete;
  EventDelivery& operator=(const EventDelivery&) = delete;

  // Starts looking for subscribers; throws AutomationError when the company file has no event
  // queues that can be opened.
  void Start();
  // Finishes the attempt in progress for each subscriber and stops. Safe to call more than once.
  void Stop();

  uint64_t Delivered() const;  // events taken by their subscribers
  uint64_t Failures() const;   // attempts that failed
  uint64_t Dropped() const;    // events given up

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace brennock::serve
