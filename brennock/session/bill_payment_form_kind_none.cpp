// Until the bill-payment module registers its lookup, a bill payment's form cannot be told.
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/session/bill_payment_form_kind.h"

namespace brennock {
namespace {

BillPaymentFormKindLookup registeredLookup = nullptr;

}  // namespace

void RegisterBillPaymentFormKind(BillPaymentFormKindLookup lookup) noexcept {
  registeredLookup = lookup;
}

std::string BillPaymentFormKind(const std::string& txnId) {
  if (registeredLookup == nullptr)
    RaiseError(errFeatureNotSupported, "brennock:QBConnection:DisplayQBForm");
  return registeredLookup(txnId);
}

}  // namespace brennock
