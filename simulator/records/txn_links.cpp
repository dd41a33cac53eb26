#include "simulator/records/txn_links.h"

namespace brennock::simulator {

void TxnLinks::Forget(std::string_view txn_id) {
  company_.db().Prepare("DELETE FROM txn_links WHERE txn_id=?").Bind(1, txn_id).Run();
  company_.db().Prepare("DELETE FROM order_lines WHERE txn_id=?").Bind(1, txn_id).Run();
}

void TxnLinks::Store(std::string_view txn_id, std::string_view txn_type,
                     const std::vector<LineLink>& links, const std::vector<OrderLine>& open_lines) {
  Forget(txn_id);
  auto& link = company_.db().Prepare(
      "INSERT INTO txn_links(txn_id,line_id,to_txn_id,to_line_id,quantity,amount) "
      "VALUES(?,?,?,?,?,?)");
  for (const auto& l : links) {
    link.Reset();
    link.Bind(1, txn_id).Bind(2, l.line_id).Bind(3, l.to_txn).Bind(4, l.to_line);
    link.Bind(5, l.quantity).Bind(6, l.amount).Run();
  }
  auto& order = company_.db().Prepare(
      "INSERT OR REPLACE INTO order_lines(txn_id,txn_type,line_id,item_id,quantity) "
      "VALUES(?,?,?,?,?)");
  for (const auto& o : open_lines) {
    order.Reset();
    order.Bind(1, txn_id).Bind(2, txn_type).Bind(3, o.line_id).Bind(4, o.item_id);
    order.Bind(5, o.quantity).Run();
  }
}

std::vector<LinkedLine> TxnLinks::Read(std::string_view sql, std::string_view txn_id) {
  auto& st = company_.db().Prepare(sql);
  st.Bind(1, txn_id);
  std::vector<LinkedLine> out;
  while (st.Step())
    out.push_back({std::string(st.Text(0)), std::string(st.Text(1)), std::string(st.Text(2)),
                   st.Int(3), st.Int(4)});
  return out;
}

std::vector<LinkedLine> TxnLinks::LinkedTo(std::string_view txn_id) {
  return Read(
      "SELECT txn_id,to_line_id,line_id,quantity,amount FROM txn_links WHERE to_txn_id=? "
      "ORDER BY rowid",
      txn_id);
}

std::vector<LinkedLine> TxnLinks::LinksFrom(std::string_view txn_id) {
  return Read(
      "SELECT to_txn_id,line_id,to_line_id,quantity,amount FROM txn_links WHERE txn_id=? "
      "ORDER BY rowid",
      txn_id);
}

int64_t TxnLinks::Received(std::string_view txn_id, std::string_view line_id) {
  auto& st = company_.db().Prepare(
      "SELECT coalesce(sum(quantity),0) FROM txn_links WHERE to_txn_id=? AND to_line_id=?");
  st.Bind(1, txn_id).Bind(2, line_id);
  int64_t sum = st.Step() ? st.Int(0) : 0;
  st.Reset();
  return sum;
}

int64_t TxnLinks::Outstanding(std::string_view item_id, std::string_view order_type) {
  auto& st = company_.db().Prepare(
      "SELECT coalesce(sum(max(o.quantity-coalesce((SELECT sum(l.quantity) FROM txn_links l "
      "WHERE l.to_txn_id=o.txn_id AND l.to_line_id=o.line_id),0),0)),0) FROM order_lines o "
      "WHERE o.item_id=? AND o.txn_type=?");
  st.Bind(1, item_id).Bind(2, order_type);
  int64_t sum = st.Step() ? st.Int(0) : 0;
  st.Reset();
  return sum;
}

}  // namespace brennock::simulator
