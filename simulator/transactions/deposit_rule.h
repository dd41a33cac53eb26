#pragma once

#include "simulator/transactions/txn_rule.h"

namespace brennock::simulator {

// A bank deposit. A line with PaymentTxnID takes a payment or sales receipt out of Undeposited
// Funds, all of what it has there, and reads its customer, number, payment method and memo from
// it (the Override... elements say otherwise); any other line credits its account by its amount.
// Cash back (CashBackInfoAdd) keeps part of the money out, debited to its account. The deposit
// account, a bank or other current asset, is debited for DepositTotal: the lines less the cash
// back.
class DepositRule final : public TxnRule {
 public:
  Status Complete(TxnStore& store, TxnRecord& txn, std::vector<LineInput>& inputs) const override;
  std::vector<Posting> Postings(TxnStore& store, const TxnRecord& txn) const override;
  bool WriteFromLedger(TxnStore& store, const TxnRecord& txn, std::string_view element,
                       std::string& out) const override;
};

}  // namespace brennock::simulator
