#pragma once

#include <vector>

#include "simulator/transactions/txn_rule.h"

namespace brennock::simulator {

class TxnStore;

// An invoice billing an estimate or sales order, as QuickBooks takes it: a line with LinkToTxn
// bills that line of the other transaction and takes from it what the request leaves out (item,
// description, rate, tax code, class, and the quantity it has not billed yet); LinkToTxnID bills
// every line of the other transaction not yet billed in full, appended after the request's
// lines (a group's members one by one). The linked transaction must be the same customer's
// estimate or open sales order. Runs before the form is completed.
Status LinkSalesLines(TxnStore& store, TxnRecord& txn, std::vector<LineInput>& inputs);

}  // namespace brennock::simulator
