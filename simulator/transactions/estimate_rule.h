#pragma once

#include "simulator/transactions/txn_rule.h"

namespace brennock::simulator {

// An estimate: a sales form that posts nothing. It is completed like an invoice (amounts, tax,
// total), starts active, and invoices bill its lines through LinkToTxn or LinkToTxnID.
class EstimateRule final : public TxnRule {
 public:
  Status Complete(TxnStore& store, TxnRecord& txn, std::vector<LineInput>& inputs) const override;
  std::vector<Posting> Postings(TxnStore& store, const TxnRecord& txn) const override;
  bool WriteFromLedger(TxnStore& store, const TxnRecord& txn, std::string_view element,
                       std::string& out) const override;
};

}  // namespace brennock::simulator
