#pragma once

#include "simulator/transactions/txn_rule.h"

namespace brennock::simulator {

// A credit memo: completed like every sales form, it books a sale backwards. Accounts receivable
// is credited for its total against the customer and stays open as the credit remaining until
// payments apply it to invoices; income and sales tax are debited, and stock comes back into the
// asset account at average cost out of cost of goods sold.
class CreditMemoRule final : public TxnRule {
 public:
  Status Complete(TxnStore& store, TxnRecord& txn, std::vector<LineInput>& inputs) const override;
  std::vector<Posting> Postings(TxnStore& store, const TxnRecord& txn) const override;
  bool WriteFromLedger(TxnStore& store, const TxnRecord& txn, std::string_view element,
                       std::string& out) const override;
};

}  // namespace brennock::simulator
