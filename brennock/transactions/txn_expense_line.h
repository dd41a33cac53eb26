#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "brennock/enums/list_enums.h"
#include "brennock/enums/txn_enums.h"
#include "brennock/internal/model/binding.h"
#include "brennock/internal/model/record_base.h"
#include "brennock/internal/util/short_text.h"
#include "brennock/model/qc_list_object_ref.h"
#include "brennock/values/currency.h"

namespace brennock {

class qcErrors;
class qcEventSink;

// One expense line of a vendor form (bill, check, card charge or credit, vendor credit, item
// receipt): an amount posted straight to an account, with the memo, customer or job, class and
// billable status it was spent for. It tells its owner about amount changes through the owner's
// event sink and writes itself into the owner's Add or Mod as ExpenseLineAdd / ExpenseLineMod.
class txnExpenseLine : public RecordBase {
 public:
  txnExpenseLine();
  ~txnExpenseLine();

  std::string TxnLineId() const { return txnLineID_.str(); }
  std::string Account() const { return account_.FullName(); }
  Currency Amount() const noexcept { return amount_; }
  // The amount formatted, or what the client typed while the amount is 0.
  std::string AmountAsString() const;
  std::string Memo() const { return memo_.str(); }
  std::string Customer() const { return customer_.FullName(); }
  std::string Class() const { return class_.FullName(); }
  qbEnumBillableStatus BillableStatus() const noexcept { return billableStatus_; }
  std::string TaxCode() const { return taxCode_.FullName(); }
  std::shared_ptr<qcErrors> Errors() { return ErrorList(); }
  qoEnumObjectState ObjectState() const noexcept { return state_; }

  // Setters raise at once when a rule fails (source "Brennock:txnExpenseLine") and make a saved
  // line Dirty. An unknown account raises 1014, a non-posting one 1807.
  void SetAccount(const std::string& value);
  // The same amount again changes nothing; another one marks the line and tells the owner.
  void SetAmount(Currency value);
  // Empty text is 0; text that is not a number raises 1028.
  void SetAmountAsString(const std::string& value);
  void SetMemo(const std::string& value);
  // A non-empty name must be a customer or job (2012); an empty one clears the reference.
  void SetCustomer(const std::string& value);
  void SetClass(const std::string& value);
  void SetBillableStatus(qbEnumBillableStatus value);
  // Other editions than the US only (1032).
  void SetTaxCode(const std::string& value);

  // Library-internal: what the owner and the collection set and call.
  void SetEventSink(std::shared_ptr<qcEventSink> sink) { sink_ = std::move(sink); }
  void SetLoading(bool value) noexcept { loading_ = value; }
  // Neither an account nor an amount: dropped from the end of the lines before a save.
  bool IsEmpty() const noexcept { return account_.IsEmpty() && amount_ == Currency(); }
  // Writes ExpenseLineAdd, ExpenseLineMod (a line without an ID gets "-1", and keeps it) or
  // ExpenseLineRet into the owner's open body.
  void WriteLine(RequestWriter& builder, bool ret, bool mod);
  // Reads one ExpenseLineRet; the line ends Clean.
  void LineFromDom(const FieldElement& element);
  // 1014 on "Account" when the line has an amount and no account.
  bool ValidateLine();

  static const BindingTable<txnExpenseLine>& Bindings();

 private:
  friend struct ExpenseLineRows;
  void Guard();

  ShortText txnLineID_;
  qcListObjectRef account_{qoListAccounts, {}};
  qcListObjectRef customer_{qoListCustomers, {}};
  qcListObjectRef class_{qoListClasses, {}};
  qcListObjectRef taxCode_{qoListTaxCodes, {}};
  ShortText memo_;  // mostly short enough to need no allocation
  std::string amountText_;
  std::shared_ptr<qcEventSink> sink_;
  Currency amount_;
  qbEnumBillableStatus billableStatus_ = static_cast<qbEnumBillableStatus>(0);
  bool loading_ = false;
};

}  // namespace brennock
