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

bool TxnLinkTablesExist(Database& db) {
  auto& st = db.Prepare("SELECT 1 FROM sqlite_master WHERE type='table' AND name='order_lines'");
  bool found = st.Step();
  st.Reset();
  return found;
}

int64_t QuantityOnSalesOrder(Database& db, std::string_view item_id) {
  auto& st = db.Prepare(
      "SELECT coalesce(sum(max(o.quantity-coalesce((SELECT sum(l.quantity) FROM txn_links l "
      "WHERE l.linked_id=o.txn_id AND l.linked_line_id=o.line_id),0),0)),0) FROM order_lines o "
      "WHERE o.item_id=? AND o.txn_type='SalesOrder'");
  st.Bind(1, item_id);
  int64_t quantity = st.Step() ? st.Int(0) : 0;
  st.Reset();
  return quantity;
}

}  // namespace brennock::simulator
