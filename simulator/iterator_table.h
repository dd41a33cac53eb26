#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "simulator/lists/list_store.h"
#include "simulator/status_codes.h"

namespace brennock::simulator {

struct RequestContext;
// Writes the record a query selected (by row) into the answer.
using RowWriter = void (*)(RequestContext& ctx, int64_t row, const RetOptions& options);

// A query left open by iterator="Start": the records it matched when it began, and how far the
// application has read. Records are fetched by row when each page is written.
struct QueryIterator {
  std::string request_name;  // an iterator only continues the query that started it
  std::vector<int64_t> rows;
  size_t position = 0;
  size_t page_size = 0;
  RetOptions options;
  RowWriter write = nullptr;
  int64_t expires_at = 0;  // simulator clock, Unix seconds
};

// The open iterators of one session. Each holds the rows its query matched, so their number is
// capped per session (BRENNOCK_SIMULATOR_MAX_ITERATORS, default 100) and per company file across
// the sessions of the process (BRENNOCK_SIMULATOR_MAX_COMPANY_ITERATORS, default 500); expired
// ones are swept before each request document.
class IteratorTable {
 public:
  using Map = std::unordered_map<std::string, QueryIterator>;
  using iterator = Map::iterator;

  IteratorTable() = default;
  ~IteratorTable();
  IteratorTable(const IteratorTable&) = delete;
  IteratorTable& operator=(const IteratorTable&) = delete;

  // The company file whose count the iterators join (set once, when the session begins).
  void BindCompany(std::string company_path);
  // The status that refuses a new iterator now, or nothing when one may start.
  std::optional<Status> Refusal() const;
  // Drops the iterators whose time ran out by `now` (simulator clock).
  void Sweep(int64_t now);

  iterator find(const std::string& id) { return map_.find(id); }
  iterator end() { return map_.end(); }
  std::pair<iterator, bool> emplace(std::string id, QueryIterator query);
  void erase(iterator it);
  size_t size() const { return map_.size(); }

 private:
  Map map_;
  std::string company_;
};

}  // namespace brennock::simulator
