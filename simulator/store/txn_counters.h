#pragma once

#include <cstdint>
#include <string_view>

#include "simulator/store/company_db.h"

namespace brennock::simulator {

// What new transactions are numbered by: the sequence of TxnIDs and TxnLineIDs, the TxnNumber,
// and each kind's last RefNumber. They live in a table of their own, one page that every new
// transaction writes; files made before it keep them in settings until their first new
// transaction moves them over.
struct TxnCounters {
  int64_t next_seq = 1, next_number = 1, last_ref = 0;

  // ref_key names the kind's RefNumber counter ("last_ref.Invoice").
  static TxnCounters Read(CompanyDb& company, std::string_view ref_key);
  void Store(CompanyDb& company, std::string_view ref_key) const;
  // The table of a new file, counting from 1.
  static void Create(Database& db);
};

}  // namespace brennock::simulator
