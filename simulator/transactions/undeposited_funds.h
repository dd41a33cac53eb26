#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "simulator/ledger/ledger.h"
#include "simulator/status_codes.h"
#include "simulator/transactions/txn_record.h"

namespace brennock::simulator {

class TxnStore;

// Money received (customer payments, sales receipts) goes to its DepositToAccountRef, else to
// Undeposited Funds, where QuickBooks keeps it until a deposit takes it to the bank. Each
// receipt's debit there is open under the receipt's TxnID, so what a receipt still has waiting
// is what the ledger has open for it in that account.

// Fills in Undeposited Funds when the request names no deposit account, and refuses (3140) an
// account that cannot hold money: anything but a bank or an asset account.
Status SettleDepositAccount(TxnStore& store, TxnRecord& txn);

// The debit of amount received by txn into its deposit account, against its customer.
Posting MoneyIn(TxnStore& store, const TxnRecord& txn, int64_t amount);

// What of a receipt is still in Undeposited Funds, in cents.
int64_t Undeposited(TxnStore& store, std::string_view txn_id);

// Whether a change to a stored receipt leaves a deposit's share of it alone: a receipt a deposit
// took money of keeps its total and deposit account (QuickBooks asks to change the deposit first).
bool KeepsDeposited(TxnStore& store, const TxnRecord& changed, int64_t total);

// Every receipt with money in Undeposited Funds, and how much, in the order received.
std::vector<std::pair<std::string, int64_t>> AllUndeposited(TxnStore& store);

}  // namespace brennock::simulator
