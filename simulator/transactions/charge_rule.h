#pragma once

#include "simulator/transactions/txn_rule.h"

namespace brennock::simulator {

// A statement charge: one item charged to a customer's account without an invoice. Its amount is
// quantity x rate (the item's price unless the request gives one) or the amount given; it debits
// accounts receivable against the item's income account, stays open until paid, and is due on
// its date unless told otherwise. Only services, non-inventory parts and other charges can be
// charged so (QuickBooks keeps stock, discounts, subtotals, payments and tax off statements).
class ChargeRule final : public TxnRule {
 public:
  Status Complete(TxnStore& store, TxnRecord& txn, std::vector<LineInput>& inputs) const override;
  std::vector<Posting> Postings(TxnStore& store, const TxnRecord& txn) const override;
  bool WriteFromLedger(TxnStore& store, const TxnRecord& txn, std::string_view element,
                       std::string& out) const override;
};

}  // namespace brennock::simulator
