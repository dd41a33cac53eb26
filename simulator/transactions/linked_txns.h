#pragma once

#include <string>

#include "simulator/transactions/txn_record.h"

namespace brennock::simulator {

class TxnStore;

// Writes a transaction's LinkedTxn elements when the answer asks for them (IncludeLinkedTxns in a
// query; always after an Add or Mod): the transactions that applied to what it has open
// (payments, credits, the bill of a receipt), with the amount they took off it, negative; the
// transactions its lines were received or billed against, and those received or billed against
// its lines, with the amount of the linked lines. Each transaction once, in that order.
void WriteLinkedTxns(TxnStore& store, const TxnRecord& txn, std::string& out);

}  // namespace brennock::simulator
