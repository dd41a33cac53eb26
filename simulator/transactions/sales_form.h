#pragma once

#include <cstdint>
#include <vector>

#include "simulator/ledger/ledger.h"
#include "simulator/transactions/txn_rule.h"

namespace brennock::simulator {

class TxnStore;

// What every sales form (invoice, sales receipt, credit memo, estimate, sales order) shares: the
// header takes the customer's addresses, terms, sales rep and tax settings; lines take their
// item's description, price and tax code; QuickBooks computes line amounts (quantity x rate,
// rate-percent lines on the line before, subtotals, discounts, tax lines), the subtotal, the sales
// tax and the total. A form whose Add aggregate does not require a customer (a sales receipt)
// may have none.
Status CompleteSalesForm(TxnStore& store, TxnRecord& txn, std::vector<LineInput>& inputs);

// Subtotal plus sales tax, in cents.
int64_t SalesFormTotal(const TxnRecord& txn);

// The income, sales tax and stock side of a sales form's double entry: each line's income account
// credited (a discount's account debited, a payment item's deposit account debited; subtotals post
// nothing; a group posts its members), the sales tax credited to Sales Tax Payable against each
// tax item's agency, and for stock items cost of goods sold debited and the asset credited at
// average cost. A credit memo (sign -1) books all of it the other way round, and its stock comes
// back at average cost.
void PostSalesForm(TxnStore& store, const TxnRecord& txn, int sign, std::vector<Posting>& out);

}  // namespace brennock::simulator
