#include "simulator/transactions/txn_links.h"

#include <algorithm>
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
  // Three index lookups, each usually finding nothing; only what they find is read and ordered.
  struct Link {
    std::string id;
    int64_t amount = 0;
    int source = 0;  // 0 applied to its balance (AMTTYPE), 1 billed from, 2 billed by
    std::string type, date, ref;
    int64_t row = 0;
  };
  std::vector<Link> links;
  auto add = [&](std::string_view id, int64_t amount, int source) {
    for (auto& l : links)
      if (l.source == source && l.id == id) {
        l.amount += amount;
        return;
      }
    links.push_back({std::string(id), amount, source, {}, {}, {}, 0});
  };
  Database& db = store_.company().db();
  auto collect = [&](const char* sql, int source) {
    auto& st = db.Prepare(sql);
    st.Bind(1, txn.txn_id);
    while (st.Step()) add(st.Text(0), st.Int(1), source);
    st.Reset();
  };
  // Payments, credits and deposits applied to its open balance.
  collect("SELECT source_id,amount FROM postings WHERE open_id=?1 AND source_id<>?1", 0);
  if (TablesExist()) {
    // What it bills from, and what bills from it.
    collect("SELECT linked_id,amount FROM txn_links WHERE txn_id=?1", 1);
    collect("SELECT txn_id,amount FROM txn_links WHERE linked_id=?1", 2);
  }
  if (links.empty()) return;
  auto& record =
      db.Prepare("SELECT txn_type,txn_date,ref_number,id FROM txn_records WHERE txn_id=?");
  std::erase_if(links, [&](Link& l) {
    record.Reset();
    record.Bind(1, l.id);
    if (!record.Step()) return true;  // an opening balance: no transaction to name
    l.type = record.Text(0);
    l.date = record.Text(1);
    l.ref = record.Text(2);
    l.row = record.Int(3);
    return false;
  });
  record.Reset();
  // Billed lines first, then what was applied to it; each by date and entry.
  std::stable_sort(links.begin(), links.end(), [](const Link& a, const Link& b) {
    if ((a.source == 0) != (b.source == 0)) return a.source != 0;
    if (a.date != b.date) return a.date < b.date;
    return a.row < b.row;
  });
  XmlWriter w(out);
  for (const Link& l : links) {
    w.Open("LinkedTxn");
    w.Element("TxnID", l.id);
    w.Element("TxnType", l.type);
    w.Element("TxnDate", l.date);
    if (!l.ref.empty()) w.Element("RefNumber", l.ref);
    w.Element("LinkType", l.source == 0 ? "AMTTYPE" : "QUANTYPE");
    w.Element("Amount", FormatCents(l.amount));
    w.Close("LinkedTxn");
  }
}

}  // namespace brennock::simulator
