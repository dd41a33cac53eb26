#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "brennock/enums/object_enums.h"
#include "brennock/transactions/txn_expense_line.h"
#include "brennock/values/currency.h"

namespace brennock {

class qcErrors;
class qcEventSink;

// The expense lines of one vendor form, in insertion order, numbered from 1. Total is the sum of
// their amounts.
class txnExpenseLines {
 public:
  using const_iterator = std::vector<std::shared_ptr<txnExpenseLine>>::const_iterator;

  txnExpenseLines();
  ~txnExpenseLines();
  txnExpenseLines(const txnExpenseLines&) = delete;
  txnExpenseLines& operator=(const txnExpenseLines&) = delete;

  // Dirty once a line was added, removed or changed since the owner was read; else Clean.
  qoEnumObjectState ObjectState() const;
  std::shared_ptr<qcErrors> Errors();
  Currency Total() const noexcept;

  // A new line taking each argument given (non-empty, non-zero) through its setter, in the order
  // Account, Amount, Memo, Class, Customer; inserted before the 1-based Before when given.
  std::shared_ptr<txnExpenseLine> Add(const std::string& Account = {}, Currency Amount = {},
                                      const std::string& Memo = {}, const std::string& Class = {},
                                      const std::string& Customer = {}, int32_t Before = 0);
  bool ItemExists(int32_t index) const noexcept { return index >= 1 && index <= Count(); }
  // 9 "Subscript out of range" outside 1..Count.
  std::shared_ptr<txnExpenseLine> Item(int32_t index) const;
  int32_t Count() const noexcept { return static_cast<int32_t>(lines_.size()); }
  void Clear();
  void Remove(int32_t index);
  const_iterator begin() const noexcept { return lines_.begin(); }
  const_iterator end() const noexcept { return lines_.end(); }

  // Library-internal.
  void SetEventSink(std::shared_ptr<qcEventSink> sink);
  // A line read from a response.
  txnExpenseLine& AppendLoaded();
  // Empties the lines before the owner is read again (nothing pending afterwards).
  void Reset() noexcept;
  // Drops the lines after the last one that has an account or an amount.
  void TrimTrailingEmpty();
  // Each line's element into the owner's open body.
  void Write(RequestWriter& builder, bool ret, bool mod);
  bool HasChanges() const;

 private:
  void AmountChanged();

  std::vector<std::shared_ptr<txnExpenseLine>> lines_;
  std::shared_ptr<qcErrors> errors_;
  std::shared_ptr<qcEventSink> sink_;
  bool removed_ = false;  // a line was removed since the owner was read
};

}  // namespace brennock
