#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "brennock/enums/object_enums.h"
#include "brennock/internal/model/binding.h"
#include "brennock/internal/model/record_base.h"
#include "brennock/model/qc_list_object_ref.h"
#include "brennock/transactions/txn_detail_lines.h"
#include "brennock/values/currency.h"
#include "brennock/values/date.h"

namespace brennock {

class qcEventSink;
class qcErrors;

// One transaction a payment pays (an invoice or a statement charge a customer payment pays, a
// bill a bill payment pays): how much of the payment goes to it, the discount given with it and
// the credits applied to it. What QuickBooks
// answers adds the transaction's type, date, number and what is still open on it.
class txnAppliedTo : public RecordBase {
 public:
  const std::string& TxnId() const noexcept { return txnID_; }
  void SetTxnId(const std::string& value) { txnID_ = value; }
  qoEnumListObjectType TxnType() const noexcept { return txnType_; }
  Date TxnDate() const noexcept { return txnDate_; }
  const std::string& RefNumber() const noexcept { return refNumber_; }
  Currency BalanceRemaining() const noexcept { return balanceRemaining_; }
  // The payment amount; the payment recomputes what it has left (and refuses more than its
  // total).
  Currency Amount() const noexcept { return amount_; }
  void SetAmount(Currency value);
  Currency DiscountAmount() const noexcept { return discountAmount_; }
  void SetDiscountAmount(Currency value);
  std::string DiscountAccount() const { return discountAccount_.FullName(); }
  // An unknown account raises 2019; one that is not an income or expense account 2029.
  void SetDiscountAccount(const std::string& value);
  // The credits applied with the payment (SetCredit).
  std::shared_ptr<txnDetailLines> Credits();
  std::shared_ptr<qcErrors> Errors() { return ErrorList(); }
  // True: nothing of an applied transaction is checked before QuickBooks sees it.
  bool Validate();

  // Library-internal.
  void FromDom(const FieldElement& element);
  Currency CreditsTotal() const noexcept { return credits_ ? credits_->Total() : Currency(); }
  // AppliedToTxnAdd, AppliedToTxnMod (a bill payment's change), or AppliedToTxnRet in the
  // query-result form.
  void WriteLine(RequestWriter& builder, BodyForm form) const;
  void SetEventSink(std::shared_ptr<qcEventSink> sink);
  static const BindingTable<txnAppliedTo>& Bindings();

 private:
  friend class txnAppliedTos;
  // Stores a value, lets the payment recompute, and puts the old value back when it refuses.
  void ChangeAmount(Currency& member, Currency value);

  std::string txnID_;
  std::string refNumber_;
  qcListObjectRef discountAccount_{qoListAccounts, {}};
  std::shared_ptr<txnDetailLines> credits_;  // made on first use
  std::shared_ptr<qcEventSink> sink_;
  Currency balanceRemaining_;
  Currency amount_;
  Currency discountAmount_;
  Date txnDate_;
  qoEnumListObjectType txnType_ = static_cast<qoEnumListObjectType>(0);
};

// The transactions a payment pays, in order, numbered from 1, with the sums the payment checks
// against its total.
class txnAppliedTos {
 public:
  using const_iterator = std::vector<std::shared_ptr<txnAppliedTo>>::const_iterator;

  // Applies PaymentAmount of the payment (and a discount to DiscountAccount) to TxnId. When the
  // payment refuses (2031: more than its total), nothing is added.
  std::shared_ptr<txnAppliedTo> Add(const std::string& TxnId = {}, Currency PaymentAmount = {},
                                    Currency DiscountAmount = {},
                                    const std::string& DiscountAccount = {});
  bool ItemExists(int32_t index) const noexcept { return index >= 1 && index <= Count(); }
  // 9 "Subscript out of range" outside 1..Count.
  std::shared_ptr<txnAppliedTo> Item(int32_t index) const;
  int32_t Count() const noexcept { return static_cast<int32_t>(items_.size()); }
  void Remove(int32_t index);
  void Clear();
  std::shared_ptr<qcErrors> Errors();
  // Dirty once the client added or removed an entry.
  qoEnumObjectState ObjectState() const noexcept {
    return changed_ ? qoObjectStateDirty : qoObjectStateClean;
  }
  // The payment amounts, the discounts and the credits of every entry.
  Currency Total() const noexcept;
  Currency TotalDiscounts() const noexcept;
  Currency TotalCredits() const noexcept;
  const_iterator begin() const noexcept { return items_.begin(); }
  const_iterator end() const noexcept { return items_.end(); }

  // Library-internal.
  void SetEventSink(std::shared_ptr<qcEventSink> sink) { sink_ = std::move(sink); }
  // An entry read from a response; emptied before a payment is read again.
  txnAppliedTo& AppendLoaded();
  void Reset() noexcept {
    items_.clear();
    changed_ = false;
  }

 private:
  void Changed();

  std::vector<std::shared_ptr<txnAppliedTo>> items_;
  std::shared_ptr<qcErrors> errors_;
  std::shared_ptr<qcEventSink> sink_;
  bool changed_ = false;
};

}  // namespace brennock
