#include "brennock/transactions/undeposited_fund.h"

#include "brennock/enums/enumerations.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/model/codecs.h"
#include "brennock/internal/xml/element_tree.h"

namespace brennock {
namespace {

using U = UndepositedFund;

}  // namespace

UndepositedFund::UndepositedFund() : TxnRecordCore(RegisteredKind<kObjectType>()) {}

// The rows of ReceivePaymentToDepositRet, in the schema's order.
const RecordBindings& UndepositedFund::Bindings() {
  using T = codecs::Text;
  BRENNOCK_BINDINGS(
      qcBase, std::array<Binding<qcBase>, 9>{{
                  Bind<&U::txnID_, T>("TxnID", kInRet),
                  Bind<&U::txnLineID_, T>("TxnLineID", kInRet | kSkipEmpty),
                  {"TxnType", kInRet, &ReadTxnType, nullptr, nullptr, qbxml::ValueType::kEnum},
                  Bind<&U::customer_, codecs::Ref>("CustomerRef", kInRet),
                  TxnDateRow(),
                  RefNumberRow(),
                  Bind<&U::amount_, codecs::Amount>("Amount", kInRet),
                  // Answered by older releases beside the customer.
                  Bind<&U::paymentMethod_, codecs::Ref>("PaymentMethodRef", kInRet | kNotInSchema),
                  UserDataRow()[0],
              }});
}

// Only payments and cash sales wait in Undeposited Funds; any other kind means the answer is
// not what this library understands.
void UndepositedFund::ReadTxnType(qcBase& record, const FieldElement& element) {
  std::string scratch;
  const std::string_view tag = element.TextView(scratch);
  if (tag == "ReceivePayment") {
    RecordAs<U>(record).txnType_ = qoObjectTypeReceivePayment;
  } else if (tag == "SalesReceipt") {
    RecordAs<U>(record).txnType_ = qoObjectTypeSalesReceipt;
  } else {
    RaiseTableError(errUnknownTxnType);
  }
}

int32_t UndepositedFunds::GetAll(bool /*IncludeTxns*/, const std::string& sMDBPath) {
  return TxnCollectionCore::GetAll(false, 0, qbPaidStatusAll, sMDBPath);
}

}  // namespace brennock
