// The bill-payment module replaces this file with the real lookup.
#include "brennock/errors/raise.h"
#include "brennock/session/bill_payment_form_kind.h"

namespace brennock {

std::string BillPaymentFormKind(const std::string&) {
  RaiseError(errFeatureNotSupported, "brennock:QBConnection:DisplayQBForm");
}

}  // namespace brennock
