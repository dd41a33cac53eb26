#pragma once

#include "simulator/transactions/txn_rule.h"

namespace brennock::simulator {

// A sales tax payment check: a check to a tax agency (a vendor) that pays what Sales Tax Payable
// owes, one line per sales tax item. Each line debits Sales Tax Payable against the item's
// agency (the payee for an item without one); the bank account is credited for the sum of the
// lines, the check's Amount. The payee's address is the check's unless the request gives one.
class SalesTaxPaymentRule final : public TxnRule {
 public:
  Status Complete(TxnStore& store, TxnRecord& txn, std::vector<LineInput>& inputs) const override;
  std::vector<Posting> Postings(TxnStore& store, const TxnRecord& txn) const override;
  bool WriteFromLedger(TxnStore& store, const TxnRecord& txn, std::string_view element,
                       std::string& out) const override;
};

}  // namespace brennock::simulator
