#include "simulator/ledger/stock_figures.h"
#include "simulator/records/txn_link_index.h"
#include "simulator/transactions/purchase_rules.h"
#include "simulator/transactions/txn_store.h"
#include "simulator/xml_writer.h"

namespace brennock::simulator {
namespace {

constexpr PurchaseBook kPurchaseOrder{
    .party = "VendorRef", .total = "TotalAmount", .posts = false, .numbered = true};

// Calls f(line, shape) for each line that orders an item, group members included.
template <typename F>
void EachOrderedLine(const TxnRecord& txn, F f) {
  for (const auto& line : txn.lines) {
    const qbxml::Aggregate& shape = line.Shape(*txn.kind);
    if (line.members.empty() && !LineField(line, shape, "ItemRef").empty()) f(line, shape);
    for (const auto& m : line.members) {
      const qbxml::Aggregate& member_shape = *qbxml::Nested(shape.elements[m.element]);
      if (!LineField(m, member_shape, "ItemRef").empty()) f(m, member_shape);
    }
  }
}

int64_t Ordered(const TxnLine& line, const qbxml::Aggregate& shape) {
  std::string_view q = LineField(line, shape, "Quantity");
  return ParseQuantity(q.empty() ? "1" : q).value_or(0);
}

}  // namespace

PurchaseOrderRule::PurchaseOrderRule() : PurchaseFormRule(kPurchaseOrder) {}

bool PurchaseOrderRule::WriteFromLedger(TxnStore& store, const TxnRecord& txn,
                                        std::string_view element, std::string& out) const {
  if (element != "IsFullyReceived")
    return PurchaseFormRule::WriteFromLedger(store, txn, element, out);
  // Received in full: no line that is not closed still waits for units.
  TxnLinkIndex links(store.company());
  bool waiting = false;
  EachOrderedLine(txn, [&](const TxnLine& line, const qbxml::Aggregate& shape) {
    if (!waiting && LineField(line, shape, "IsManuallyClosed") != "true")
      waiting = links.Received(txn.txn_id, line.line_id) < Ordered(line, shape);
  });
  XmlWriter(out).Element(element, waiting ? "false" : "true");
  return true;
}

bool PurchaseOrderRule::WriteLineFromLedger(TxnStore& store, const TxnRecord& txn,
                                            const TxnLine& line, const qbxml::Aggregate& shape,
                                            std::string_view element, std::string& out) const {
  if (element == "ReceivedQuantity") {
    int64_t received = TxnLinkIndex(store.company()).Received(txn.txn_id, line.line_id);
    XmlWriter(out).Element(element, FormatQuantity(received));
    return true;
  }
  if (element == "IsManuallyClosed") {
    std::string_view closed = LineField(line, shape, element);
    XmlWriter(out).Element(element, closed.empty() ? "false" : closed);
    return true;
  }
  return false;
}

std::vector<OrderLine> PurchaseOrderRule::OpenOrderLines(const TxnRecord& txn) const {
  std::vector<OrderLine> out;
  if (txn.Field("IsManuallyClosed") == "true") return out;
  EachOrderedLine(txn, [&](const TxnLine& line, const qbxml::Aggregate& shape) {
    if (LineField(line, shape, "IsManuallyClosed") == "true") return;
    out.push_back({line.line_id, std::string(RefId(LineField(line, shape, "ItemRef"))),
                   Ordered(line, shape)});
  });
  return out;
}

}  // namespace brennock::simulator
