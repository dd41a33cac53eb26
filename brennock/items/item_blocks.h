#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "brennock/internal/model/binding.h"
#include "brennock/internal/model/record_base.h"
#include "brennock/internal/util/short_text.h"
#include "brennock/model/qc_list_object_ref.h"

namespace brennock {

class RequestWriter;
class qcErrors;

// Writes a reference inside a price block: by ListID when known, else by FullName, else nothing.
void WriteBlockRef(const qcListObjectRef& ref, RequestWriter& builder, std::string_view element);
// True when the reference names a record its master collection holds or QuickBooks knows.
bool RefResolves(const qcListObjectRef& ref);

// The sales-or-purchase block of a service, non-inventory or other-charge item: one account, one
// description and one price (or percentage) for both sides.
class itemSalesOrPurchase : public RecordBase {
 public:
  qoEnumObjectState ObjectState() const noexcept { return state_; }
  std::shared_ptr<qcErrors> Errors() { return ErrorList(); }
  std::string Account() const { return account_.FullName(); }
  std::string Description() const { return description_.str(); }
  float Amount() const noexcept { return amount_; }
  bool AmountIsPercent() const noexcept { return amountIsPercent_; }
  // The account is taken on Add only: 1002 on a saved block.
  void SetAccount(const std::string& value);
  void SetDescription(const std::string& value);
  void SetAmount(float value);
  void SetAmountIsPercent(bool value);

  // The account as an object: true when it is an expense or other-expense account.
  bool PostsToExpense() const;

  // Library-internal.
  void FromDom(const FieldElement& element);
  // The add form (also the query-result form) or the modify form, inside element.
  void Write(RequestWriter& builder, std::string_view element, BodyForm form) const;
  bool CheckRules();
  void SetObjectState(qoEnumObjectState state) noexcept { state_ = state; }
  const qcListObjectRef& AccountRef() const noexcept { return account_; }

  static const BindingTable<itemSalesOrPurchase>& Bindings();

 private:
  ShortText description_;  // most descriptions fit without an allocation
  qcListObjectRef account_{qoListAccounts, {}};
  float amount_ = 0;
  bool amountIsPercent_ = false;
};

// The sales-and-purchase block: separate sales and purchase sides, each with its account, and the
// preferred vendor.
class itemSalesAndPurchase : public RecordBase {
 public:
  qoEnumObjectState ObjectState() const noexcept { return state_; }
  std::shared_ptr<qcErrors> Errors() { return ErrorList(); }
  std::string IncomeAccount() const { return incomeAccount_.FullName(); }
  std::string ExpenseAccount() const { return expenseAccount_.FullName(); }
  std::string Vendor() const { return vendor_.FullName(); }
  const std::string& SalesDescription() const noexcept { return salesDesc_; }
  float SalesPrice() const noexcept { return salesPrice_; }
  const std::string& PurchaseDescription() const noexcept { return purchaseDesc_; }
  float PurchaseCost() const noexcept { return purchaseCost_; }
  // The accounts are taken on Add only: 1002 on a saved block.
  void SetIncomeAccount(const std::string& value);
  void SetExpenseAccount(const std::string& value);
  void SetVendor(const std::string& value);
  void SetSalesDescription(const std::string& value);
  void SetSalesPrice(float value);
  void SetPurchaseDescription(const std::string& value);
  void SetPurchaseCost(float value);
  // Clears Errors; a Clean block is valid. Else 1014 for an account and 1016 for a vendor that
  // cannot be found.
  bool Validate();

  // Library-internal.
  void FromDom(const FieldElement& element);
  void Write(RequestWriter& builder, std::string_view element, BodyForm form) const;
  void SetObjectState(qoEnumObjectState state) noexcept { state_ = state; }

  static const BindingTable<itemSalesAndPurchase>& Bindings();

 private:
  std::string salesDesc_, purchaseDesc_;
  qcListObjectRef incomeAccount_{qoListAccounts, {}};
  qcListObjectRef expenseAccount_{qoListAccounts, {}};
  qcListObjectRef vendor_{qoListVendors, {}};
  float salesPrice_ = 0;
  float purchaseCost_ = 0;
};

}  // namespace brennock
