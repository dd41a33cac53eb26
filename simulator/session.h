#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "brennock/session/session_enums.h"
#include "simulator/iterator_table.h"
#include "simulator/lists/list_store.h"
#include "simulator/store/company_db.h"

namespace brennock::simulator {

// One session begun with BeginSession: its own connection to the company file.
struct Session {
  std::string ticket;
  std::unique_ptr<CompanyDb> company;
  qbEnumFileOpenMode open_mode = qbOpenModeDontCare;
  bool read_only = false;
  IteratorTable iterators;
  uint64_t next_iterator = 1;
};

}  // namespace brennock::simulator
