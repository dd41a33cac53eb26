#pragma once

#include "simulator/transactions/txn_rule.h"

namespace brennock::simulator {

// The rules of a sales form sent to a customer on account (an invoice): the header takes the
// customer's addresses, terms, sales rep and tax settings; lines take their item's description,
// price and tax code; QuickBooks computes line amounts (quantity x rate, rate-percent lines on the
// line before, subtotals, discounts, tax lines), the subtotal and the sales tax. It posts
// accounts receivable against each line's income account, the tax to Sales Tax Payable, and
// for stock items the cost of goods sold out of the inventory asset at average cost.
class SalesOnAccountRule final : public TxnRule {
 public:
  Status Complete(TxnStore& store, TxnRecord& txn, std::vector<LineInput>& inputs) const override;
  std::vector<Posting> Postings(TxnStore& store, const TxnRecord& txn) const override;
  bool WriteFromLedger(TxnStore& store, const TxnRecord& txn, std::string_view element,
                       std::string& out) const override;
};

}  // namespace brennock::simulator
