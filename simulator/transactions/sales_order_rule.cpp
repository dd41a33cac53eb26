#include "simulator/transactions/sales_order_rule.h"

#include "simulator/ledger/stock_figures.h"
#include "simulator/transactions/sales_form.h"
#include "simulator/transactions/txn_store.h"
#include "simulator/xml_writer.h"

namespace brennock::simulator {
namespace {

const qbxml::Aggregate* MemberShape(const qbxml::Aggregate& group, const TxnLine& member) {
  const qbxml::Element& e = group.elements[member.element];
  return e.type == qbxml::ValueType::kAggregate ? qbxml::Nested(e) : nullptr;
}

// What invoices have billed of a line, and whether that is all of it (a line without a
// quantity counts one).
struct LineState {
  int64_t billed = 0;
  bool billed_in_full = false;
  bool closed = false;
};

LineState StateOf(TxnStore& store, const TxnRecord& txn, const TxnLine& line,
                  const qbxml::Aggregate& shape) {
  LineState state;
  const auto& billed = store.links().Billed(txn.txn_id);
  if (auto it = billed.find(line.line_id); it != billed.end()) state.billed = it->second;
  std::string_view q = LineField(line, shape, "Quantity");
  state.billed_in_full = state.billed > 0 && state.billed >= ParseQuantity(q.empty() ? "1" : q);
  state.closed = state.billed_in_full || LineField(line, shape, "IsManuallyClosed") == "true";
  return state;
}

// Whether every line with an item is billed in full (closed: or closed by hand).
bool EveryLine(TxnStore& store, const TxnRecord& txn, bool closed) {
  bool any = false;
  for (const auto& line : txn.lines) {
    const qbxml::Aggregate& shape = line.Shape(*txn.kind);
    auto check = [&](const TxnLine& l, const qbxml::Aggregate& s) {
      if (LineField(l, s, "ItemRef").empty()) return true;
      any = true;
      LineState state = StateOf(store, txn, l, s);
      return closed ? state.closed : state.billed_in_full;
    };
    if (line.members.empty()) {
      if (!check(line, shape)) return false;
      continue;
    }
    for (const auto& m : line.members)
      if (const qbxml::Aggregate* s = MemberShape(shape, m); s && !check(m, *s)) return false;
  }
  return any;
}

}  // namespace

Status SalesOrderRule::Complete(TxnStore& store, TxnRecord& txn,
                                std::vector<LineInput>& inputs) const {
  return CompleteSalesForm(store, txn, inputs);
}

std::vector<Posting> SalesOrderRule::Postings(TxnStore&, const TxnRecord&) const { return {}; }

bool SalesOrderRule::WriteFromLedger(TxnStore& store, const TxnRecord& txn,
                                     std::string_view element, std::string& out) const {
  bool value = false;
  if (element == "IsFullyInvoiced")
    value = !txn.voided && EveryLine(store, txn, false);
  else if (element == "IsManuallyClosed")
    value = txn.Field("IsManuallyClosed") == "true" || (!txn.voided && EveryLine(store, txn, true));
  else
    return false;
  XmlWriter(out).Element(element, value ? "true" : "false");
  return true;
}

bool SalesOrderRule::WriteLineFromLedger(TxnStore& store, const TxnRecord& txn, const TxnLine& line,
                                         const qbxml::Aggregate& shape, std::string_view element,
                                         std::string& out) const {
  if (element != "Invoiced" && element != "IsManuallyClosed") return false;
  LineState state = StateOf(store, txn, line, shape);
  XmlWriter w(out);
  if (element == "Invoiced")
    w.Element(element, FormatQuantity(state.billed));
  else
    w.Element(element, state.closed ? "true" : "false");
  return true;
}

}  // namespace brennock::simulator
