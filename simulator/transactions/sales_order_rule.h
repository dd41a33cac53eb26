#pragma once

#include "simulator/transactions/txn_rule.h"

namespace brennock::simulator {

// A sales order: a sales form that posts nothing until invoices bill it. Each line reads what
// invoices have billed of it (Invoiced) and is closed (IsManuallyClosed) once billed in full or
// closed by hand; the order is fully invoiced when every line with an item is billed in full, and
// reads closed when every such line is. Its open lines count towards their items'
// QuantityOnSalesOrder.
class SalesOrderRule final : public TxnRule {
 public:
  Status Complete(TxnStore& store, TxnRecord& txn, std::vector<LineInput>& inputs) const override;
  std::vector<Posting> Postings(TxnStore& store, const TxnRecord& txn) const override;
  bool WriteFromLedger(TxnStore& store, const TxnRecord& txn, std::string_view element,
                       std::string& out) const override;
  bool WriteLineFromLedger(TxnStore& store, const TxnRecord& txn, const TxnLine& line,
                           const qbxml::Aggregate& shape, std::string_view element,
                           std::string& out) const override;
};

}  // namespace brennock::simulator
