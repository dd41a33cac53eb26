#include "simulator/records/txn_link_index.h"

#include "simulator/records/txn_link_tables.h"

namespace brennock::simulator {

bool TxnLinkIndex::TablesExist() {
  if (!tables_) tables_ = TxnLinkTablesExist(company_);
  return *tables_;
}

std::vector<LinkedLine> TxnLinkIndex::Read(std::string_view sql, std::string_view txn_id) {
  std::vector<LinkedLine> out;
  if (!TablesExist()) return out;
  auto& st = company_.db().Prepare(sql);
  st.Bind(1, txn_id);
  while (st.Step())
    out.push_back({std::string(st.Text(0)), std::string(st.Text(1)), std::string(st.Text(2)),
                   st.Int(3), st.Int(4)});
  return out;
}

std::vector<LinkedLine> TxnLinkIndex::LinkedTo(std::string_view txn_id) {
  return Read(
      "SELECT txn_id,linked_line_id,line_id,quantity,amount FROM txn_links WHERE linked_id=? "
      "ORDER BY rowid",
      txn_id);
}

std::vector<LinkedLine> TxnLinkIndex::LinksFrom(std::string_view txn_id) {
  return Read(
      "SELECT linked_id,line_id,linked_line_id,quantity,amount FROM txn_links WHERE txn_id=? "
      "ORDER BY rowid",
      txn_id);
}

int64_t TxnLinkIndex::Received(std::string_view txn_id, std::string_view line_id) {
  if (!TablesExist()) return 0;
  auto& st = company_.db().Prepare(
      "SELECT coalesce(sum(quantity),0) FROM txn_links WHERE linked_id=? AND linked_line_id=?");
  st.Bind(1, txn_id).Bind(2, line_id);
  int64_t sum = st.Step() ? st.Int(0) : 0;
  st.Reset();
  return sum;
}

int64_t TxnLinkIndex::Outstanding(std::string_view item_id, std::string_view order_type) {
  if (!TablesExist()) return 0;
  auto& st = company_.db().Prepare(
      "SELECT coalesce(sum(max(o.quantity-coalesce((SELECT sum(l.quantity) FROM txn_links l "
      "WHERE l.linked_id=o.txn_id AND l.linked_line_id=o.line_id),0),0)),0) FROM order_lines o "
      "WHERE o.item_id=? AND o.txn_type=?");
  st.Bind(1, item_id).Bind(2, order_type);
  int64_t sum = st.Step() ? st.Int(0) : 0;
  st.Reset();
  return sum;
}

std::vector<std::string> TxnLinkIndex::OrdersAwaiting(std::string_view item_id,
                                                      std::string_view order_type) {
  std::vector<std::string> orders;
  if (!TablesExist()) return orders;
  auto& st = company_.db().Prepare(
      "SELECT DISTINCT o.txn_id FROM order_lines o WHERE o.item_id=? AND o.txn_type=? AND "
      "o.quantity>coalesce((SELECT sum(l.quantity) FROM txn_links l WHERE l.linked_id=o.txn_id "
      "AND l.linked_line_id=o.line_id),0)");
  st.Bind(1, item_id).Bind(2, order_type);
  while (st.Step()) orders.emplace_back(st.Text(0));
  st.Reset();
  return orders;
}

}  // namespace brennock::simulator
