#include "simulator/store/txn_counters.h"

#include <algorithm>

namespace brennock::simulator {
namespace {

constexpr const char* kTable =
    "CREATE TABLE IF NOT EXISTS txn_counters(key TEXT PRIMARY KEY, value INTEGER NOT NULL) "
    "WITHOUT ROWID";

}  // namespace

void TxnCounters::Create(Database& db) {
  db.Exec(kTable);
  db.Exec("INSERT INTO txn_counters(key,value) VALUES('next_txn_seq',1),('next_txn_number',1)");
}

TxnCounters TxnCounters::Read(CompanyDb& company, std::string_view ref_key) {
  // The table is one page of a few dozen rows: read whole, it needs no temporary index for the
  // keys asked for.
  const bool own_table = company.HasTable("txn_counters");
  auto& st = company.db().Prepare(own_table ? "SELECT key,value FROM txn_counters"
                                            : "SELECT key,CAST(value AS INTEGER) FROM settings "
                                              "WHERE key IN ('next_txn_seq','next_txn_number',?)");
  if (!own_table) st.Bind(1, ref_key);
  TxnCounters counters;
  while (st.Step()) {
    std::string_view key = st.Text(0);
    if (key == "next_txn_seq")
      counters.next_seq = std::max<int64_t>(st.Int(1), 1);
    else if (key == "next_txn_number")
      counters.next_number = std::max<int64_t>(st.Int(1), 1);
    else if (key == ref_key)
      counters.last_ref = st.Int(1);
  }
  st.Reset();
  return counters;
}

void TxnCounters::Store(CompanyDb& company, std::string_view ref_key) const {
  Database& db = company.db();
  if (!company.HasTable("txn_counters")) {
    db.Exec(kTable);
    db.Exec(
        "INSERT INTO txn_counters(key,value) SELECT key,CAST(value AS INTEGER) FROM settings "
        "WHERE key IN ('next_txn_seq','next_txn_number') OR key LIKE 'last\\_ref.%' ESCAPE '\\'");
    db.Exec(
        "DELETE FROM settings WHERE key IN ('next_txn_seq','next_txn_number') OR "
        "key LIKE 'last\\_ref.%' ESCAPE '\\'");
    company.facts().Clear();  // the request may still be rolled back
  }
  db.Prepare(
        "INSERT INTO txn_counters(key,value) VALUES('next_txn_seq',?1),('next_txn_number',?2),"
        "(?3,?4) ON CONFLICT(key) DO UPDATE SET value=excluded.value")
      .Bind(1, next_seq)
      .Bind(2, next_number)
      .Bind(3, ref_key)
      .Bind(4, last_ref)
      .Run();
}

}  // namespace brennock::simulator
