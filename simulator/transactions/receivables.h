#pragma once

#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "simulator/status_codes.h"
#include "simulator/transactions/txn_record.h"

namespace brennock::simulator {

class TxnStore;

// What the forms that move accounts receivable share.

// Fills in the company's accounts receivable when the request names none, and refuses (3140) an
// ARAccountRef that is not of that type.
Status SettleReceivableAccount(TxnStore& store, TxnRecord& txn);

// A customer and every job below it: the names whose receivables one payment may settle.
std::vector<std::string> CustomerFamily(TxnStore& store, std::string_view customer_id);

// The customer's (and its jobs') transactions of the given kinds with an open balance in
// accounts receivable above zero (owing, when positive is true) or below it (credits), oldest
// first, as QuickBooks lists them for a payment: each TxnID with what it has open.
std::vector<std::pair<std::string, int64_t>> OpenReceivables(
    TxnStore& store, std::string_view customer_id, std::span<const std::string_view> kinds,
    bool positive);

}  // namespace brennock::simulator
