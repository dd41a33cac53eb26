#pragma once

#include <cstdint>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "simulator/transactions/txn_rule.h"

namespace brennock::simulator {

// One bill a bill payment pays: the amount paid, the discount taken and the vendor credits used
// on it. Kept in the payment's AppliedToTxnRet field.
struct BillApplication {
  std::string bill_id;
  int64_t amount = 0;
  int64_t discount = 0;
  std::string discount_account;                          // stored reference value
  std::vector<std::pair<std::string, int64_t>> credits;  // (vendor credit's TxnID, amount)

  int64_t Settles() const;  // what it takes off the bill
  std::string Encode() const;
  static std::optional<BillApplication> Decode(std::string_view stored);
};

std::vector<BillApplication> StoredBillApplications(const TxnRecord& payment);

// Takes the payment's applications from its request (AppliedToTxnAdd; AppliedToTxnMod, when a Mod
// names any), checked against the books as they stand, what this payment applied before counting
// as open again: each a bill of the payee on the payment's A/P account, paying no more than it has
// open; each credit a vendor credit of the payee with that much left. Sets Amount, the sum paid.
Status ApplyToBills(TxnStore& store, TxnRecord& payment);

// The A/P side of a bill payment: each bill debited under its TxnID with what it is paid,
// discounted and credited; each discount credited to its account; each credit used debits its
// vendor credit's open amount away. Returns what the payment pays out.
int64_t PostBillApplications(TxnStore& store, const TxnRecord& payment, std::vector<Posting>& out);

// The payment's AppliedToTxnRet elements, each bill with its balance as the books stand.
void WriteBillApplications(TxnStore& store, const TxnRecord& payment, std::string& out);

// The BillToPayRet elements of a vendor: its open bills (due on or before due_by when given) and
// the vendor credits it has left to apply, on one A/P account when given, in date order. Returns
// how many.
size_t WriteBillsToPay(TxnStore& store, std::string_view vendor_id, std::string_view ap_account_id,
                       std::string_view due_by, std::string& out);

// What a bill still owes (AmountDue) or a vendor credit has left: its open balance in the ledger,
// positive.
int64_t OpenToSettle(TxnStore& store, const TxnRecord& txn);

}  // namespace brennock::simulator
