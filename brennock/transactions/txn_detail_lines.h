#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "brennock/internal/model/binding.h"
#include "brennock/internal/model/record_base.h"
#include "brennock/values/currency.h"

namespace brennock {

class qcEventSink;
class qcErrors;

// A credit (a credit memo, an earlier payment's unused part) applied with a payment to one of
// the transactions it pays: written as SetCredit.
class txnDetailLine : public RecordBase {
 public:
  const std::string& CreditTxnID() const noexcept { return creditTxnID_; }
  void SetCreditTxnID(const std::string& value) { creditTxnID_ = value; }
  // What the credit gives, written as AppliedAmount.
  Currency Amount() const noexcept { return amount_; }
  void SetAmount(Currency value);
  bool AsCredit() const noexcept { return asCredit_; }
  void SetAsCredit(bool value) noexcept { asCredit_ = value; }
  std::shared_ptr<qcErrors> Errors() { return ErrorList(); }

  // Library-internal.
  void FromDom(const FieldElement& element);
  // SetCredit with CreditTxnID and AppliedAmount.
  void WriteLine(RequestWriter& builder) const;
  void SetEventSink(std::shared_ptr<qcEventSink> sink) { sink_ = std::move(sink); }
  static const BindingTable<txnDetailLine>& Bindings();

 private:
  friend class txnDetailLines;
  std::string creditTxnID_;
  std::shared_ptr<qcEventSink> sink_;
  Currency amount_;
  bool asCredit_ = true;
};

// The credits applied to one transaction a payment pays, in order, numbered from 1.
class txnDetailLines {
 public:
  using const_iterator = std::vector<std::shared_ptr<txnDetailLine>>::const_iterator;

  // Applies AppliedAmount of the credit CreditTxnID; the payment recomputes what is left.
  std::shared_ptr<txnDetailLine> AddCredit(const std::string& CreditTxnID = {},
                                           Currency AppliedAmount = {});
  bool ItemExists(int32_t index) const noexcept { return index >= 1 && index <= Count(); }
  // 9 "Subscript out of range" outside 1..Count.
  std::shared_ptr<txnDetailLine> Item(int32_t index) const;
  int32_t Count() const noexcept { return static_cast<int32_t>(items_.size()); }
  void Remove(int32_t index);
  void Clear();
  std::shared_ptr<qcErrors> Errors();
  // The credits' applied amounts.
  Currency Total() const noexcept;
  const_iterator begin() const noexcept { return items_.begin(); }
  const_iterator end() const noexcept { return items_.end(); }

  // Library-internal.
  void SetEventSink(std::shared_ptr<qcEventSink> sink) { sink_ = std::move(sink); }
  void Append(std::shared_ptr<txnDetailLine> line) { items_.push_back(std::move(line)); }

 private:
  void Changed();

  std::vector<std::shared_ptr<txnDetailLine>> items_;
  std::shared_ptr<qcErrors> errors_;
  std::shared_ptr<qcEventSink> sink_;
};

}  // namespace brennock
