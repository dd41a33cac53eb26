#pragma once

#include "simulator/transactions/txn_rule.h"

namespace brennock::simulator {

// A sales receipt, a sale paid on the spot: completed like every sales form (a customer is
// optional), its total goes to its deposit account (Undeposited Funds unless the request names
// another) against income, sales tax and, for stock, cost of goods sold at average cost.
class SalesReceiptRule final : public TxnRule {
 public:
  Status Complete(TxnStore& store, TxnRecord& txn, std::vector<LineInput>& inputs) const override;
  std::vector<Posting> Postings(TxnStore& store, const TxnRecord& txn) const override;
  bool WriteFromLedger(TxnStore& store, const TxnRecord& txn, std::string_view element,
                       std::string& out) const override;
};

}  // namespace brennock::simulator
