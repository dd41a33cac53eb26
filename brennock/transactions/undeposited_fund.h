#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "brennock/internal/transactions/txn_collection_core.h"
#include "brennock/internal/transactions/txn_record_core.h"
#include "brennock/model/qc_list_object_ref.h"
#include "brennock/values/currency.h"

namespace brennock {

// A payment or cash sale whose money waits in Undeposited Funds for a deposit, as QuickBooks
// lists them (ReceivePaymentToDepositQueryRq). Read only.
class UndepositedFund final : public TxnRecordCore {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeReceivePaymentToDeposit;
  UndepositedFund();

  std::string Customer() const { return customer_.FullName(); }
  // What waits in Undeposited Funds.
  Currency Amount() const noexcept { return amount_; }
  // ReceivePayment or SalesReceipt.
  qoEnumListObjectType TxnType() const noexcept { return txnType_; }
  std::string PaymentMethod() const { return paymentMethod_.FullName(); }
  const std::string& TxnLineId() const noexcept { return txnLineID_; }

  static const RecordBindings& Bindings();

 private:
  static void ReadTxnType(qcBase& record, const FieldElement& element);

  qcListObjectRef customer_{qoListCustomers, {}};
  qcListObjectRef paymentMethod_{qoListPaymentMethods, {}};
  std::string txnLineID_;
  Currency amount_;
  qoEnumListObjectType txnType_ = static_cast<qoEnumListObjectType>(0);
};

// The money waiting in Undeposited Funds: GetAll only.
class UndepositedFunds final : public TypedTxnCollection<UndepositedFund> {
 public:
  UndepositedFunds() = default;

  // Everything waiting, in date order. IncludeTxns is taken for the older signature (the query
  // has no filter to give it); with sMDBPath the answer is exported instead of loaded.
  int32_t GetAll(bool IncludeTxns = true, const std::string& sMDBPath = {});
};

}  // namespace brennock
