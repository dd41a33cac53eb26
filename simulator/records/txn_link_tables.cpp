#include "simulator/records/txn_link_tables.h"

namespace brennock::simulator {

void CreateTxnLinkTables(Database& db) {
  db.Exec(R"sql(
CREATE TABLE IF NOT EXISTS txn_links(
  txn_id TEXT NOT NULL,
  line_id TEXT NOT NULL,
  linked_id TEXT NOT NULL,
  linked_line_id TEXT NOT NULL,
  quantity INTEGER NOT NULL,
  amount INTEGER NOT NULL);
CREATE INDEX IF NOT EXISTS txn_links_from ON txn_links(txn_id);
CREATE INDEX IF NOT EXISTS txn_links_to ON txn_links(linked_id, linked_line_id);
CREATE TABLE IF NOT EXISTS order_lines(
  txn_id TEXT NOT NULL,
  line_id TEXT NOT NULL,
  txn_type TEXT NOT NULL,
  item_id TEXT NOT NULL,
  quantity INTEGER NOT NULL);
CREATE INDEX IF NOT EXISTS order_lines_by_item ON order_lines(item_id);
CREATE INDEX IF NOT EXISTS order_lines_by_txn ON order_lines(txn_id);
)sql");
}

bool TxnLinkTablesExist(CompanyDb& company) {
  // Only a yes is kept: the tables are made by the first write that needs them, which also marks
  // the session's facts stale (that write may be rolled back).
  struct Known {
    bool found = false;
  };
  if (company.facts().Get<Known>().found) return true;
  auto& st =
      company.db().Prepare("SELECT 1 FROM sqlite_master WHERE type='table' AND name='order_lines'");
  bool found = st.Step();
  st.Reset();
  company.facts().Get<Known>().found = found;
  return found;
}

}  // namespace brennock::simulator
