#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "brennock/session/session_enums.h"
#include "simulator/lists/list_store.h"
#include "simulator/store/company_db.h"

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

// One session begun with BeginSession: its own connection to the company file.
struct Session {
  std::string ticket;
  std::unique_ptr<CompanyDb> company;
  qbEnumFileOpenMode open_mode = qbOpenModeDontCare;
  bool read_only = false;
  std::unordered_map<std::string, QueryIterator> iterators;
  uint64_t next_iterator = 1;
};

}  // namespace brennock::simulator
