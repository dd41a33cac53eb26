#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "brennock/enums/txn_enums.h"
#include "brennock/internal/model/binding.h"
#include "brennock/internal/model/record_base.h"
#include "brennock/internal/transactions/line_list.h"
#include "brennock/model/qc_list_object_ref.h"
#include "brennock/values/currency.h"

namespace brennock {

class qcErrors;

// One debit or credit of a journal entry: an amount against an account, and the name, class and
// memo it is tagged with.
class JournalEntryLine : public RecordBase {
 public:
  // QuickBooks' ID of the line; empty for a line added since the entry was read.
  const std::string& TxnLineId() const noexcept { return txnLineID_; }
  bool IsDebit() const noexcept { return isDebit_; }
  void SetIsDebit(bool value) { Change(isDebit_, value); }
  Currency Amount() const noexcept { return amount_; }
  void SetAmount(Currency value);
  // The amount as text: the formatted amount, or what the client typed while the amount is 0.
  // Text that is not a number raises 1028.
  std::string AmountAsString() const;
  void SetAmountAsString(const std::string& value);
  std::string Account() const { return account_.FullName(); }
  // An unknown account raises 1014.
  void SetAccount(const std::string& value);
  std::string Class() const { return class_.FullName(); }
  // An unknown class raises 2013.
  void SetClass(const std::string& value);
  // A customer, vendor, employee or other name; an unknown one raises 2010.
  std::string Entity() const { return entity_.FullName(); }
  void SetEntity(const std::string& value);
  const std::string& Memo() const noexcept { return memo_; }
  void SetMemo(const std::string& value) { Change(memo_, value); }
  qbEnumBillableStatus BillableStatus() const noexcept { return billableStatus_; }
  void SetBillableStatus(qbEnumBillableStatus value) { Change(billableStatus_, value); }
  qoEnumObjectState ObjectState() const noexcept { return state_; }
  std::shared_ptr<qcErrors> Errors() { return ErrorList(); }
  // The line's own rules (1803, 2010, 2013, 1804, 1014, 1805, 1806, 1807); a Clean line is valid.
  bool Validate();

  // Library-internal.
  // Whether the line holds anything: an account, a name, a class, a memo or an amount.
  bool IsUsed() const noexcept;
  void FromDom(const FieldElement& element, bool debit);
  // JournalDebitLine or JournalCreditLine (Add and the record form), or JournalLineMod.
  void WriteLine(RequestWriter& builder, BodyForm form) const;
  static const BindingTable<JournalEntryLine>& Bindings();

 private:
  template <class T, class V>
  void Change(T& member, V&& value) {
    member = std::forward<V>(value);
    Touch();
  }
  void Touch() noexcept {
    if (state_ == qoObjectStateClean) state_ = qoObjectStateDirty;
  }

  std::string txnLineID_;
  std::string memo_;
  std::string amountText_;
  qcListObjectRef account_{qoListAccounts, {}};
  qcListObjectRef class_{qoListClasses, {}};
  qcListObjectRef entity_{qoListEntities, {}};
  Currency amount_;
  qbEnumBillableStatus billableStatus_ = static_cast<qbEnumBillableStatus>(0);
  bool isDebit_ = true;
};

// A journal entry's lines in order, numbered from 1.
inline constexpr char kJournalEntryLinesName[] = "JournalEntryLines";
class JournalEntryLines : public LineList<JournalEntryLine, kJournalEntryLinesName> {
 public:
  // A new line through its setters, appended, or put before the line at position Before.
  std::shared_ptr<JournalEntryLine> Add(const std::string& Account = {}, Currency Amount = {},
                                        bool IsDebit = true, const std::string& Class = {},
                                        const std::string& Entity = {},
                                        const std::string& Memo = {},
                                        std::optional<int32_t> Before = std::nullopt);

  // Library-internal: drops the lines from position count + 1 on.
  void Truncate(int32_t count);
};

}  // namespace brennock
