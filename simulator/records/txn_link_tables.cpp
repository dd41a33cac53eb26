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

bool TxnLinkTablesExist(CompanyDb& company) { return company.HasTable("order_lines"); }

}  // namespace brennock::simulator
