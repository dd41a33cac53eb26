#include "simulator/transactions/txn_links.h"

#include <functional>

#include "simulator/ledger/stock_figures.h"
#include "simulator/lists/field_values.h"
#include "simulator/records/txn_link_tables.h"
#include "simulator/transactions/txn_rule.h"
#include "simulator/transactions/txn_store.h"
#include "simulator/xml_writer.h"

namespace brennock::simulator {
namespace {

// Every line that carries an item, a group's members in place of the group.
void ForEachLine(const TxnRecord& txn,
                 const std::function<void(const TxnLine&, const qbxml::Aggregate&)>& visit) {
  for (const auto& line : txn.lines) {
    const qbxml::Aggregate& shape = line.Shape(*txn.kind);
    if (line.members.empty()) {
      visit(line, shape);
      continue;
    }
    for (const auto& m : line.members)
      if (shape.elements[m.element].type == qbxml::ValueType::kAggregate)
        visit(m, *qbxml::Nested(shape.elements[m.element]));
  }
}

// A line without a quantity counts one, as its amount does.
int64_t LineQuantity(const TxnLine& line, const qbxml::Aggregate& shape) {
  std::string_view q = LineField(line, shape, "Quantity");
  return ParseQuantity(q.empty() ? "1" : q).value_or(0);
}

}  // namespace

bool IsOrderKind(const TxnKind& kind) {
  for (const auto& field : kind.shape)
    if (kind.is_line(field) && !IsGroupLine(field.name) &&
        LineIndex(*qbxml::Nested(field), "Invoiced") >= 0)
      return true;
  return false;
}

bool TxnLinks::TablesExist() {
  if (!tables_) tables_ = TxnLinkTablesExist(store_.company());
  return *tables_;
}

void TxnLinks::EnsureTables() {
  if (TablesExist()) return;
  CreateTxnLinkTables(store_.company().db());
  store_.company().facts().Clear();
  tables_ = true;
}

void TxnLinks::Saved(const TxnRecord& txn) {
  EnsureTables();
  Database& db = store_.company().db();
  billed_.first.clear();
  db.Prepare("DELETE FROM txn_links WHERE txn_id=?").Bind(1, txn.txn_id).Run();
  const TxnRule* rule = FindTxnRule(txn.kind->stem);
  std::vector<OrderLine> purchase_order;  // the buying side's orders say which lines are open
  if (rule && !txn.voided) purchase_order = rule->OpenOrderLines(txn);
  const bool order =
      IsOrderKind(*txn.kind) || !purchase_order.empty() || txn.kind->stem == "PurchaseOrder";
  if (order) db.Prepare("DELETE FROM order_lines WHERE txn_id=?").Bind(1, txn.txn_id).Run();
  if (txn.voided) return;
  auto& link = db.Prepare(
      "INSERT INTO txn_links(txn_id,line_id,linked_id,linked_line_id,quantity,amount) "
      "VALUES(?,?,?,?,?,?)");
  auto linked_to = [&](const TxnLine& line, std::string_view id, std::string_view line_id,
                       int64_t quantity, const qbxml::Aggregate& shape) {
    link.Reset();
    link.Bind(1, txn.txn_id).Bind(2, line.line_id).Bind(3, id).Bind(4, line_id);
    link.Bind(5, quantity);
    link.Bind(6, ParseCents(LineField(line, shape, "Amount")).value_or(0));
    link.Run();
  };
  ForEachLine(txn, [&](const TxnLine& line, const qbxml::Aggregate& shape) {
    // A sales line billed from an estimate's or order's line; a line received or billed against
    // a purchase order's or item receipt's (without a quantity, it received none).
    if (std::string_view linked = LineLink(line); !linked.empty())
      linked_to(line, RefId(linked), RefName(linked), LineQuantity(line, shape), shape);
    if (!line.link_txn.empty()) {
      std::string_view q = LineField(line, shape, "Quantity");
      linked_to(line, line.link_txn, line.link_line, q.empty() ? 0 : ParseQuantity(q).value_or(0),
                shape);
    }
  });
  auto& ordered = db.Prepare(
      "INSERT INTO order_lines(txn_id,line_id,txn_type,item_id,quantity) VALUES(?,?,?,?,?)");
  for (const OrderLine& o : purchase_order) {
    ordered.Reset();
    ordered.Bind(1, txn.txn_id).Bind(2, o.line_id).Bind(3, txn.kind->stem).Bind(4, o.item_id);
    ordered.Bind(5, o.quantity).Run();
  }
  if (!IsOrderKind(*txn.kind) || txn.Field("IsManuallyClosed") == "true") return;
  auto& open = db.Prepare(
      "INSERT INTO order_lines(txn_id,line_id,txn_type,item_id,quantity) VALUES(?,?,?,?,?)");
  ForEachLine(txn, [&](const TxnLine& line, const qbxml::Aggregate& shape) {
    std::string_view item = RefId(LineField(line, shape, "ItemRef"));
    if (item.empty() || LineField(line, shape, "IsManuallyClosed") == "true") return;
    open.Reset();
    open.Bind(1, txn.txn_id).Bind(2, line.line_id).Bind(3, txn.kind->stem).Bind(4, item);
    open.Bind(5, LineQuantity(line, shape));
    open.Run();
  });
}

void TxnLinks::Deleted(const TxnRecord& txn) {
  if (!TablesExist()) return;
  Database& db = store_.company().db();
  billed_.first.clear();
  db.Prepare("DELETE FROM txn_links WHERE txn_id=?").Bind(1, txn.txn_id).Run();
  db.Prepare("DELETE FROM order_lines WHERE txn_id=?").Bind(1, txn.txn_id).Run();
}

std::string TxnLinks::Dependents(const TxnRecord& txn) {
  std::string sql =
      "SELECT r.txn_type,r.txn_id FROM txn_records r WHERE r.txn_id IN (SELECT source_id FROM "
      "postings WHERE open_id=?1 AND source_id<>?1";
  if (TablesExist()) sql += " UNION SELECT txn_id FROM txn_links WHERE linked_id=?1";
  sql += ") ORDER BY r.txn_date,r.id";
  auto& st = store_.company().db().Prepare(sql);
  st.Bind(1, txn.txn_id);
  std::string names;
  while (st.Step()) {
    if (!names.empty()) names += ", ";
    names.append(st.Text(0)).append(" ").append(st.Text(1));
  }
  if (names.empty()) return {};
  return "Other transactions are linked to it (" + names + "); remove them first.";
}

const std::unordered_map<std::string, int64_t>& TxnLinks::Billed(const std::string& txn_id) {
  if (billed_.first == txn_id) return billed_.second;
  billed_ = {txn_id, {}};
  if (!TablesExist()) return billed_.second;
  auto& st = store_.company().db().Prepare(
      "SELECT linked_line_id,sum(quantity) FROM txn_links WHERE linked_id=? GROUP BY "
      "linked_line_id");
  st.Bind(1, txn_id);
  while (st.Step()) billed_.second.emplace(std::string(st.Text(0)), st.Int(1));
  return billed_.second;
}

void TxnLinks::WriteLinkedTxns(std::string& out, const TxnRecord& txn) {
  std::string sql =
      "SELECT r.txn_id,r.txn_type,r.txn_date,r.ref_number,x.amount,x.kind FROM (SELECT "
      "source_id AS id,sum(amount) AS amount,1 AS kind FROM postings WHERE open_id=?1 AND "
      "source_id<>?1 GROUP BY source_id";
  if (TablesExist())
    sql +=
        " UNION ALL SELECT linked_id,sum(amount),0 FROM txn_links WHERE txn_id=?1 GROUP BY "
        "linked_id UNION ALL SELECT txn_id,sum(amount),0 FROM txn_links WHERE linked_id=?1 "
        "GROUP BY txn_id";
  sql += ") x JOIN txn_records r ON r.txn_id=x.id ORDER BY x.kind,r.txn_date,r.id";
  auto& st = store_.company().db().Prepare(sql);
  st.Bind(1, txn.txn_id);
  XmlWriter w(out);
  while (st.Step()) {
    w.Open("LinkedTxn");
    w.Element("TxnID", st.Text(0));
    w.Element("TxnType", st.Text(1));
    w.Element("TxnDate", st.Text(2));
    if (!st.Text(3).empty()) w.Element("RefNumber", st.Text(3));
    w.Element("LinkType", st.Int(5) ? "AMTTYPE" : "QUANTYPE");
    w.Element("Amount", FormatCents(st.Int(4)));
    w.Close("LinkedTxn");
  }
}

}  // namespace brennock::simulator
