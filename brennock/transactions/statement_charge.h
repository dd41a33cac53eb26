#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "brennock/internal/model/data_extension_carrier.h"
#include "brennock/internal/transactions/txn_collection_core.h"
#include "brennock/internal/transactions/txn_record_core.h"
#include "brennock/lists/linked_transactions.h"
#include "brennock/model/qc_list_object_ref.h"
#include "brennock/values/currency.h"

namespace brennock {

// A one-line charge on a customer's statement (an item, its quantity and rate, the amount),
// billed through accounts receivable without an invoice. Payments apply to it as to an invoice.
class StatementCharge final : public TxnRecordCore, public DataExtensionCarrier<StatementCharge> {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeCharge;
  StatementCharge();

  std::string Customer() const { return customer_.FullName(); }
  // An unknown customer raises 2018.
  void SetCustomer(const std::string& value);
  std::string Item() const { return item_.FullName(); }
  // An unknown item raises 2001; subtotals, discounts, payments and sales tax items (2002) are no
  // charge. The item's sales description and price fill what the charge does not have yet.
  void SetItem(const std::string& value);
  float Quantity() const noexcept { return quantity_; }
  void SetQuantity(float value);
  Currency Rate() const noexcept { return rate_; }
  void SetRate(Currency value);
  // Quantity times rate while both are given; what the client sets otherwise.
  Currency Amount() const noexcept { return amount_; }
  void SetAmount(Currency value) { Change(amount_, value, "Amount"); }
  // What payments have not yet paid of the charge, as QuickBooks last answered (a new charge:
  // what the client set, else nothing).
  Currency BalanceRemaining() const noexcept { return balanceRemaining_; }
  void SetBalanceRemaining(Currency value) { Assign(balanceRemaining_, value, false); }
  const std::string& Description() const noexcept { return description_; }
  void SetDescription(const std::string& value) { Change(description_, value, "Desc"); }
  std::string ARAccount() const { return arAccount_.FullName(); }
  // An unknown account raises 2019; one that is not Accounts Receivable 2020.
  void SetARAccount(const std::string& value);
  std::string Class() const { return class_.FullName(); }
  // An unknown class raises 2013.
  void SetClass(const std::string& value);
  Date BilledDate() const noexcept { return billedDate_; }
  void SetBilledDate(Date value) { Change(billedDate_, value, "BilledDate"); }
  Date DueDate() const noexcept { return dueDate_; }
  void SetDueDate(Date value) { Change(dueDate_, value, "DueDate"); }
  std::string OverrideItemAccount() const { return overrideItemAccount_.FullName(); }
  void SetOverrideItemAccount(const std::string& value) {
    ChangeRef(overrideItemAccount_, value, "OverrideItemAccountRef");
  }
  bool IsPaid() const noexcept { return isPaid_; }
  std::shared_ptr<txnLinkedTransactions> LinkedTxns() const { return linkedTxns_; }

  int32_t CommitCustomFields() { return SavePendingExtensions(); }

  static const RecordBindings& Bindings();

 protected:
  void CheckRules(qcErrors& errors) override;
  void BeforeRead() override;

 private:
  void Recompute();

  qcListObjectRef customer_{qoListCustomers, {}};
  qcListObjectRef item_{qoListItems, {}};
  qcListObjectRef arAccount_{qoListAccounts, {}};
  qcListObjectRef class_{qoListClasses, {}};
  qcListObjectRef overrideItemAccount_{qoListAccounts, {}};
  std::string description_;
  std::shared_ptr<txnLinkedTransactions> linkedTxns_;
  Currency rate_;
  Currency amount_;
  Currency balanceRemaining_;
  Date billedDate_;
  Date dueDate_;
  float quantity_ = 0;
  bool isPaid_ = false;
};

// The company's statement charges, and any set of them a client queries.
class StatementCharges final : public TypedTxnCollection<StatementCharge> {
 public:
  StatementCharges() = default;

  // A new charge taking each value given through its setter. Master collection only.
  std::shared_ptr<StatementCharge> Add(
      const std::string& ARAccount = {}, const std::string& Customer = {},
      const std::string& RefNumber = {}, const std::string& Item = {},
      const std::string& Description = {}, Currency Rate = {}, Currency Amount = {},
      float Quantity = 0, Date TxnDate = {}, Date BilledDate = {}, Date DueDate = {},
      Currency BalanceRemaining = {}, const std::string& Class = {});

  using TxnCollectionCore::Delete;
  using TxnCollectionCore::GetAll;
  using TxnCollectionCore::GetByAccount;
  using TxnCollectionCore::GetByDateMacro;
  using TxnCollectionCore::GetByDateSpan;
  using TxnCollectionCore::GetByEntity;
  using TxnCollectionCore::GetBySingleAccount;
  using TxnCollectionCore::GetBySingleEntity;
};

}  // namespace brennock
