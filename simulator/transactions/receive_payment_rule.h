#pragma once

#include "simulator/transactions/txn_rule.h"

namespace brennock::simulator {

// A customer payment. Its total goes to its deposit account (Undeposited Funds unless the request
// names another); applied to receivables (AppliedToTxnAdd, or IsAutoApply as QuickBooks applies
// payments) it lowers their open balances by the payment, the discount (booked to its account)
// and the credits applied with it (SetCredit); what is not applied stays open in accounts
// receivable as the payment's UnusedPayment, a credit for later. Without TotalAmount the total is
// what the request applies. A payment that was deposited keeps its total and deposit account.
class ReceivePaymentRule final : public TxnRule {
 public:
  Status Complete(TxnStore& store, TxnRecord& txn, std::vector<LineInput>& inputs) const override;
  std::vector<Posting> Postings(TxnStore& store, const TxnRecord& txn) const override;
  bool WriteFromLedger(TxnStore& store, const TxnRecord& txn, std::string_view element,
                       std::string& out) const override;
};

}  // namespace brennock::simulator
