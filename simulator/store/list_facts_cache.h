#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "simulator/store/sqlite.h"

namespace brennock::simulator {

// What requests read from list records again and again (full names, parents and account types,
// item facts, special accounts ...) and which tables an older company file has, kept for a
// session across its requests. Whatever changes a list record empties it (Clear); so does a
// commit by another connection to the file, seen by SQLite's data version when the next request
// begins. A change of this connection marks the cache stale until then too: facts read after it
// may come from a change that is rolled back.
class ListFactsCache {
 public:
  // Called as each request begins.
  void Validate(Database& db);
  void Clear() {
    slots_.clear();
    version_ = -1;
  }

  // The session's one instance of T (a map of facts), made anew on first use after a change.
  template <typename T>
  T& Get() {
    const void* tag = Tag<T>();
    for (auto& [key, slot] : slots_)
      if (key == tag) return *static_cast<T*>(slot.get());
    auto slot = std::make_shared<T>();
    T& ref = *slot;
    slots_.emplace_back(tag, std::move(slot));
    return ref;
  }

 private:
  template <typename T>
  static const void* Tag() {
    static const char tag = 0;
    return &tag;
  }

  std::vector<std::pair<const void*, std::shared_ptr<void>>> slots_;
  int64_t version_ = -1;  // the file's data version when filled; -1: stale
};

}  // namespace brennock::simulator
