#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>

namespace brennock::serve {

struct ThrottleSettings {
  int freeFailures = 3;   // failed logins a peer or user may have before it must wait
  int lockFailures = 10;  // failures that lock it for lockTime
  std::chrono::milliseconds firstDelay{std::chrono::seconds(1)};  // doubles with each failure
  std::chrono::milliseconds maxDelay{std::chrono::minutes(1)};
  std::chrono::milliseconds lockTime{std::chrono::minutes(15)};
  std::chrono::milliseconds forgetAfter{std::chrono::minutes(15)};  // quiet this long: forgiven
  // A peer that logged in as a user keeps getting its password checked for that user this long,
  // even while the user is locked by failures from elsewhere.
  std::chrono::milliseconds knownPeerTime{std::chrono::hours(24)};
  size_t maxChecksWaiting = 8;  // password checks running or waiting, from unknown peers
  size_t maxEntries = 10000;    // peers and users remembered
};

// Decides which Web Connector logins get their password checked. Failures are counted per peer
// address and per user name: past a few, each must wait a growing delay before its next check,
// and past more it is locked for a while. A peer gets one check at a time. Attempts that are not
// checked are answered at once, as a wrong password is, and cost no password hash.
class LoginThrottle {
 public:
  using Clock = std::chrono::steady_clock;
  enum class Verdict { kCheck, kDelayed, kLocked, kBusy };

  explicit LoginThrottle(ThrottleSettings settings = {}) : settings_(settings) {}

  // Told "event=login-locked ..." when a peer or user is locked.
  std::function<void(std::string_view fields)> onLock;

  // kCheck: verify the password, then call Finish with the result.
  Verdict Begin(std::string_view user, const std::string& peer, Clock::time_point now);
  void Finish(std::string_view user, const std::string& peer, bool success, Clock::time_point now);

 private:
  struct Entry {
    int failures = 0;
    Clock::time_point lastFailure{};
    Clock::time_point nextCheck{};
    Clock::time_point lockedUntil{};
    int inFlight = 0;
  };

  Entry& Find(const std::string& key, Clock::time_point now);
  void Fail(const std::string& key, Entry& entry, Clock::time_point now);
  bool Known(const std::string& userKey, const std::string& peer, Clock::time_point now) const;
  void Forget(Clock::time_point now);

  ThrottleSettings settings_;
  std::mutex mutex_;
  std::map<std::string, Entry> entries_;  // "peer 10.0.0.5", "user qbwc"
  std::map<std::pair<std::string, std::string>, Clock::time_point> known_;  // (user key, peer)
  size_t checksWaiting_ = 0;
};

}  // namespace brennock::serve
