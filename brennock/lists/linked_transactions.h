#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "brennock/model/binding.h"
#include "brennock/model/one_based_list.h"
#include "brennock/model/qc_list_object_ref.h"
#include "brennock/values/currency.h"
#include "brennock/values/date.h"

namespace brennock {

// A transaction another record points at: for a vendor, a bill still to pay or a credit still to
// apply (BillToPay, CreditToApply). Read only: filled from the response.
class txnLinkedTransaction {
 public:
  const std::string& TxnId() const noexcept { return txnID_; }
  // Code of the transaction type in the linked-transaction-type table (9 Bill, 21 VendorCredit).
  int16_t TxnType() const noexcept { return txnType_; }
  Date TxnDate() const noexcept { return txnDate_; }
  const std::string& RefNumber() const noexcept { return refNumber_; }
  // AmountDue of a bill, CreditRemaining of a credit, or Amount.
  Currency Amount() const noexcept { return amount_; }
  const std::string& TxnLineId() const noexcept { return txnLineID_; }
  bool IsQuantityLink() const noexcept { return false; }

  // Fills the link from the children of a BillToPay, CreditToApply or LinkedTxn element.
  void FromDom(const FieldElement& element);

  static const BindingTable<txnLinkedTransaction>& Bindings();

 private:
  std::string txnID_;
  std::string refNumber_;
  std::string txnLineID_;
  qcListObjectRef apAccount_;  // kept, not shown
  Date txnDate_;
  Date dueDate_;  // kept, not shown
  Currency amount_;
  int16_t txnType_ = 0;
};

// Links in the order QuickBooks sent them, 1-based.
inline constexpr char kLinkedTransactionsName[] = "txnLinkedTransactions";
using txnLinkedTransactions = OneBasedList<txnLinkedTransaction, kLinkedTransactionsName>;

}  // namespace brennock
