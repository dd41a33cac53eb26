#pragma once

#include <string>

namespace brennock {

// The display form of the bill payment with this TxnID: "BillPaymentCheck" or
// "BillPaymentCreditCard" by the kind of payment; empty when no bill payment has that TxnID.
// Provided by the bill-payment module; until it is part of the library the lookup raises
// vbObjectError + 2910 "This version of brennock does not support this feature."
std::string BillPaymentFormKind(const std::string& txnId);

}  // namespace brennock
