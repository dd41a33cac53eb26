#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "brennock/internal/model/binding.h"
#include "brennock/internal/model/record_base.h"
#include "brennock/model/qc_list_object_ref.h"
#include "brennock/values/currency.h"
#include "brennock/values/date.h"

namespace brennock {

// A transaction another record points at: a transaction linked to this one (LinkedTxn), or for
// a vendor a bill still to pay or a credit still to apply (BillToPay, CreditToApply). Filled from
// the response; a client adds links of its own (TxnId and line) to a transaction it makes.
class txnLinkedTransaction : public RecordBase {
 public:
  const std::string& TxnId() const noexcept { return txnID_; }
  // Code of the transaction type in the linked-transaction-type table (9 Bill, 21 VendorCredit).
  int16_t TxnType() const noexcept { return txnType_; }
  Date TxnDate() const noexcept { return txnDate_; }
  const std::string& RefNumber() const noexcept { return refNumber_; }
  // Amount of a link, AmountDue of a bill, CreditRemaining of a credit.
  Currency Amount() const noexcept { return amount_; }
  const std::string& TxnLineId() const noexcept { return txnLineID_; }
  // True unless QuickBooks linked by amount (LinkType "AMTTYPE").
  bool IsQuantityLink() const noexcept { return !linkType_.empty() && linkType_ != "AMTTYPE"; }
  qoEnumObjectState ObjectState() const noexcept { return state_; }
  std::shared_ptr<qcErrors> Errors() { return ErrorList(); }

  // Fills the link from the children of a BillToPay, CreditToApply or LinkedTxn element.
  void FromDom(const FieldElement& element);
  // The query-result form: LinkedTxn with TxnID, TxnType, TxnDate, RefNumber, Amount.
  void WriteRet(RequestWriter& builder) const;

  static const BindingTable<txnLinkedTransaction>& Bindings();

 private:
  friend class txnLinkedTransactions;
  std::string txnID_;
  std::string refNumber_;
  std::string txnLineID_;
  std::string linkType_;
  qcListObjectRef apAccount_;  // kept, not shown
  Date txnDate_;
  Date dueDate_;  // kept, not shown
  Currency amount_;
  int16_t txnType_ = 0;
};

// Links in the order QuickBooks sent them (or the client added them), numbered from 1.
class txnLinkedTransactions {
 public:
  using const_iterator = std::vector<std::shared_ptr<txnLinkedTransaction>>::const_iterator;

  // A link the client makes to another transaction (and one of its lines).
  std::shared_ptr<txnLinkedTransaction> Add(const std::string& TxnId,
                                            const std::string& TxnLineId = {});
  bool ItemExists(int32_t index) const noexcept { return index >= 1 && index <= Count(); }
  // 9 "Subscript out of range" outside 1..Count.
  std::shared_ptr<txnLinkedTransaction> Item(int32_t index) const;
  int32_t Count() const noexcept { return static_cast<int32_t>(items_.size()); }
  void Remove(int32_t index);
  void Clear() noexcept { items_.clear(); }
  // Dirty once the client added or removed a link.
  qoEnumObjectState ObjectState() const noexcept {
    return changed_ ? qoObjectStateDirty : qoObjectStateClean;
  }
  std::shared_ptr<qcErrors> Errors();
  const_iterator begin() const noexcept { return items_.begin(); }
  const_iterator end() const noexcept { return items_.end(); }

  // Library-internal: a link read from a response; emptied before a record is read again.
  void Append(std::shared_ptr<txnLinkedTransaction> item) { items_.push_back(std::move(item)); }
  void Reset() noexcept {
    items_.clear();
    changed_ = false;
  }

 private:
  std::vector<std::shared_ptr<txnLinkedTransaction>> items_;
  std::shared_ptr<qcErrors> errors_;
  bool changed_ = false;
};

}  // namespace brennock
