#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "brennock/enums/object_enums.h"
#include "brennock/internal/model/binding.h"
#include "brennock/internal/model/record_base.h"
#include "brennock/internal/transactions/line_list.h"
#include "brennock/model/qc_list_object_ref.h"
#include "brennock/values/currency.h"

namespace brennock {

class qcErrors;

// One line of a bank deposit: either a payment or sales receipt waiting in Undeposited Funds
// (its TxnId, and the line of it when it has several), deposited whole; or money from an
// account, with the name, memo, check number, payment method and class it came with.
class DepositLine : public RecordBase {
 public:
  // The deposited transaction's kind, as QuickBooks answered it.
  qoEnumListObjectType TxnType() const noexcept { return txnType_; }
  const std::string& TxnId() const noexcept { return txnID_; }
  void SetTxnId(const std::string& value) { Change(txnID_, value); }
  const std::string& TxnLineId() const noexcept { return paymentTxnLineID_; }
  void SetTxnLineId(const std::string& value) { Change(paymentTxnLineID_, value); }
  std::string Entity() const { return entity_.FullName(); }
  // An unknown name raises 2010.
  void SetEntity(const std::string& value);
  std::string Account() const { return account_.FullName(); }
  // An unknown account raises 1014; a non-posting one 1807.
  void SetAccount(const std::string& value);
  const std::string& Memo() const noexcept { return memo_; }
  void SetMemo(const std::string& value) { Change(memo_, value); }
  const std::string& CheckNumber() const noexcept { return checkNumber_; }
  void SetCheckNumber(const std::string& value) { Change(checkNumber_, value); }
  std::string PaymentMethod() const { return paymentMethod_.FullName(); }
  // An unknown payment method raises 2028.
  void SetPaymentMethod(const std::string& value);
  std::string Class() const { return class_.FullName(); }
  // An unknown class raises 2013.
  void SetClass(const std::string& value);
  Currency Amount() const noexcept { return amount_; }
  void SetAmount(Currency value);
  // The amount as text: the formatted amount, or what the client typed while the amount is 0.
  // Text that is not a number raises 1028.
  std::string AmountAsString() const;
  void SetAmountAsString(const std::string& value);
  qoEnumObjectState ObjectState() const noexcept { return state_; }
  std::shared_ptr<qcErrors> Errors() { return ErrorList(); }
  // 2890 when the line names neither a payment nor an account.
  bool Validate();

  // Library-internal.
  // The deposit line's own ID (TxnLineID), sent back in a Mod.
  const std::string& LineId() const noexcept { return lineID_; }
  void FromDom(const FieldElement& element);
  // DepositLineAdd, DepositLineMod (a new line gets the ID "-1"), or DepositLineRet.
  void WriteLine(RequestWriter& builder, BodyForm form);
  static const BindingTable<DepositLine>& Bindings();

 private:
  template <class T, class V>
  void Change(T& member, V&& value) {
    member = std::forward<V>(value);
    Touch();
  }
  void Touch() noexcept {
    if (state_ == qoObjectStateClean) state_ = qoObjectStateDirty;
  }

  std::string txnID_;
  std::string paymentTxnLineID_;
  std::string lineID_;
  std::string memo_;
  std::string checkNumber_;
  std::string amountText_;
  qcListObjectRef entity_{qoListEntities, {}};
  qcListObjectRef account_{qoListAccounts, {}};
  qcListObjectRef paymentMethod_{qoListPaymentMethods, {}};
  qcListObjectRef class_{qoListClasses, {}};
  Currency amount_;
  qoEnumListObjectType txnType_ = static_cast<qoEnumListObjectType>(0);
};

// A deposit's lines in order, numbered from 1.
inline constexpr char kDepositLinesName[] = "DepositLines";
class DepositLines : public LineList<DepositLine, kDepositLinesName> {
 public:
  // A line depositing the payment or sales receipt TxnId (and its line TxnLineId), or, without
  // one, Amount from Account.
  std::shared_ptr<DepositLine> Add(const std::string& TxnId = {}, const std::string& TxnLineId = {},
                                   const std::string& Account = {}, Currency Amount = {},
                                   const std::string& Entity = {}, const std::string& Memo = {});
  // The lines' amounts (a payment's line carries its amount once QuickBooks answered).
  Currency Total() const noexcept;
};

}  // namespace brennock
