#include "bridges/serve/login_throttle.h"

#include <algorithm>

#include "bridges/serve/request_log.h"

namespace brennock::serve {
namespace {

// User names are remembered by a prefix: a flood of long invented names costs little memory.
constexpr size_t kUserKeyBytes = 128;

std::string UserKey(std::string_view user) {
  return "user " + std::string(user.substr(0, kUserKeyBytes));
}

}  // namespace

LoginThrottle::Entry& LoginThrottle::Find(const std::string& key, Clock::time_point now) {
  auto found = entries_.find(key);
  if (found != entries_.end()) return found->second;
  if (entries_.size() >= settings_.maxEntries) Forget(now);
  return entries_[key];
}

// Keeps what still matters when the table is full: locks, checks under way and recent failures,
// and failing that only locks and checks under way.
void LoginThrottle::Forget(Clock::time_point now) {
  auto idle = [&](const Entry& e, bool recentMatters) {
    return e.inFlight == 0 && e.lockedUntil <= now &&
           (!recentMatters || now - e.lastFailure > settings_.forgetAfter);
  };
  std::erase_if(entries_, [&](const auto& item) { return idle(item.second, true); });
  if (entries_.size() >= settings_.maxEntries)
    std::erase_if(entries_, [&](const auto& item) { return idle(item.second, false); });
  std::erase_if(known_, [&](const auto& item) { return item.second <= now; });
  if (known_.size() >= settings_.maxEntries) known_.clear();
}

bool LoginThrottle::Known(const std::string& userKey, const std::string& peer,
                          Clock::time_point now) const {
  auto found = known_.find({userKey, peer});
  return found != known_.end() && found->second > now;
}

void LoginThrottle::Fail(const std::string& key, Entry& entry, Clock::time_point now) {
  if (now - entry.lastFailure > settings_.forgetAfter) entry.failures = 0;
  entry.lastFailure = now;
  if (++entry.failures >= settings_.lockFailures) {
    entry.lockedUntil = now + settings_.lockTime;
    // After the lock a single failure delays again.
    entry.failures = settings_.freeFailures;
    if (onLock) {
      bool isPeer = key.starts_with("peer ");
      onLock(std::string("event=login-locked ") + (isPeer ? "peer=" : "user=") +
             LogValue(key.substr(5)) + " seconds=" +
             std::to_string(
                 std::chrono::duration_cast<std::chrono::seconds>(settings_.lockTime).count()));
    }
    return;
  }
  int over = entry.failures - settings_.freeFailures;
  if (over <= 0) return;
  auto delay = settings_.firstDelay * (int64_t{1} << std::min(over - 1, 30));
  entry.nextCheck = now + std::min<std::chrono::milliseconds>(delay, settings_.maxDelay);
}

LoginThrottle::Verdict LoginThrottle::Begin(std::string_view user, const std::string& peer,
                                            Clock::time_point now) {
  std::lock_guard lock(mutex_);
  const std::string peerKey = "peer " + peer;
  const std::string userKey = UserKey(user);
  Entry& fromPeer = Find(peerKey, now);
  if (fromPeer.lockedUntil > now) return Verdict::kLocked;
  // A peer that does not wait its turn, or asks again at once, fails for that alone.
  if (fromPeer.inFlight > 0 || fromPeer.nextCheck > now) {
    Fail(peerKey, fromPeer, now);
    return Verdict::kDelayed;
  }
  bool known = Known(userKey, peer, now);
  Entry& forUser = Find(userKey, now);
  if (!known) {
    if (forUser.lockedUntil > now) return Verdict::kLocked;
    // The user's own wait; not held against this peer, which may be innocent.
    if (forUser.nextCheck > now || forUser.inFlight > 0) return Verdict::kDelayed;
    if (checksWaiting_ >= settings_.maxChecksWaiting) return Verdict::kBusy;
  }
  ++entries_[peerKey].inFlight;
  ++forUser.inFlight;
  ++checksWaiting_;
  return Verdict::kCheck;
}

void LoginThrottle::Finish(std::string_view user, const std::string& peer, bool success,
                           Clock::time_point now) {
  std::lock_guard lock(mutex_);
  const std::string peerKey = "peer " + peer;
  const std::string userKey = UserKey(user);
  --checksWaiting_;
  Entry& fromPeer = entries_[peerKey];
  Entry& forUser = entries_[userKey];
  fromPeer.inFlight = std::max(0, fromPeer.inFlight - 1);
  forUser.inFlight = std::max(0, forUser.inFlight - 1);
  if (success) {
    entries_.erase(peerKey);
    entries_.erase(userKey);
    known_[{userKey, peer}] = now + settings_.knownPeerTime;
    return;
  }
  Fail(peerKey, fromPeer, now);
  Fail(userKey, forUser, now);
}

}  // namespace brennock::serve
