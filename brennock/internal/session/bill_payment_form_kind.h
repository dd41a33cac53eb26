#pragma once

#include <string>

namespace brennock {

// The display form of the bill payment with this TxnID: "BillPaymentCheck" or
// "BillPaymentCreditCard" by the kind of payment; empty when no bill payment has that TxnID.
// Asks the lookup the bill-payment module registers when the program starts; without one it
// raises vbObjectError + 2910 "This version of brennock does not support this feature."
std::string BillPaymentFormKind(const std::string& txnId);

using BillPaymentFormKindLookup = std::string (*)(const std::string& txnId);
void RegisterBillPaymentFormKind(BillPaymentFormKindLookup lookup) noexcept;

}  // namespace brennock
