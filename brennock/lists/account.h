#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "brennock/enums/list_enums.h"
#include "brennock/internal/model/data_extension_carrier.h"
#include "brennock/internal/model/list_record_core.h"
#include "brennock/internal/model/typed_list_collection.h"
#include "brennock/internal/util/short_text.h"
#include "brennock/values/currency.h"
#include "brennock/values/date.h"

namespace brennock {

// An account of the chart of accounts, possibly below another of the same type. The library adds
// and deletes accounts but never modifies them: a changed account stops Commit with 1003
// "XMLModify not supported" (source "Brennock: Account"). Its application fields arrive with
// queries of a collection whose IncludeDataExtensions is set.
class Account final : public ListRecordCore, public DataExtensionCarrier<Account> {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeAccount;
  Account() : ListRecordCore(RegisteredKind<kObjectType>()) {}

  qbEnumAccountType AccountType() const noexcept { return accountType_; }
  // The account number (AccountNumber).
  const std::string& Number() const noexcept { return number_; }
  const std::string& LastCheckNumber() const noexcept { return lastCheckNumber_; }
  const std::string& BankNumber() const noexcept { return bankNumber_; }
  // Desc.
  const std::string& Description() const noexcept { return description_; }
  Currency Balance() const noexcept { return balance_; }
  Currency TotalBalance() const noexcept { return totalBalance_; }
  Currency OpeningBalance() const noexcept { return openingBalance_; }
  // "yyyy-mm-dd"; empty when no date is set.
  std::string OpeningBalanceDate() const;
  // As QuickBooks sends them ("Operating", "AccountsReceivable"); empty when it sends none.
  const std::string& CashFlowClassification() const noexcept { return cashFlowClassification_; }
  const std::string& SpecialAccountType() const noexcept { return specialAccountType_; }
  int16_t TaxLineId() const noexcept { return taxLineId_; }
  const std::string& TaxLineName() const noexcept { return taxLineName_; }
  // Full names of the account's tax code and currency.
  std::string CDNTaxCode() const { return taxCode_.str(); }
  std::string CurrencyType() const { return currency_.str(); }

  // An existing account becomes Dirty.
  void SetIsActive(bool value) { Assign(isActive_, value, false); }
  void SetAccountType(qbEnumAccountType value) { Assign(accountType_, value, false); }
  void SetNumber(const std::string& value) { Assign(number_, value, false); }
  void SetLastCheckNumber(const std::string& value) { Assign(lastCheckNumber_, value, false); }
  void SetBankNumber(const std::string& value) { Assign(bankNumber_, value, false); }
  void SetDescription(const std::string& value) { Assign(description_, value, false); }
  // Add-only: on a saved account each raises 1002 (source "Account") and keeps the old value.
  void SetOpeningBalance(Currency value) { Assign(openingBalance_, value, true); }
  // Empty text clears the date; text that is no date raises 13.
  void SetOpeningBalanceDate(const std::string& value);

  // "Number · Name" (a blank, the middle dot U+00B7, a blank); Name alone without a number.
  std::string NameWithNumber() const;
  // Each level of FullName as the NameWithNumber of the company's account of that full name (the
  // level as it stands when the company's Accounts does not hold it), joined with ":".
  std::string FullNameWithNumber() const;
  // Balance plus the rolled-up balances of the children, through the whole subtree.
  Currency RollUpBalances();

  static const RecordBindings& Bindings();

 protected:
  // In this order: 1012 and 1013 on the name; 1010 for a parent the company's accounts do not
  // know, or 1303 for one of another account type (field "Parent"); 1300 for a number of more than
  // 7 characters, 1301 for a bank number of more than 25, 1302 for a description of more than 29.
  void CheckRules(qcErrors& errors) override;

 private:
  friend class Accounts;

  std::string number_;
  std::string bankNumber_;
  std::string description_;
  std::string lastCheckNumber_;
  std::string cashFlowClassification_;
  std::string specialAccountType_;
  std::string taxLineName_;
  ShortText taxCode_;
  ShortText currency_;
  Currency balance_;
  Currency totalBalance_;
  Currency openingBalance_;
  Date openingBalanceDate_;
  qbEnumAccountType accountType_ = static_cast<qbEnumAccountType>(0);
  int16_t taxLineId_ = 0;
};

// The chart of accounts. The company's master collection adds, deletes and commits; a changed
// account is refused with its XMLModify text. A refused save is labelled "QuickBooks response: "
// in the account's Errors.
class Accounts final : public TypedListCollection<Account> {
 public:
  Accounts() : TypedListCollection(true) {}

  // Master collection only (else 1021, source "Account"). The opening balance and its date are
  // set only when given (a balance other than 0, a date text that is not empty).
  std::shared_ptr<Account> Add(qbEnumAccountType AccountType = static_cast<qbEnumAccountType>(0),
                               const std::string& Name = {}, const std::string& Parent = {},
                               const std::string& BankNumber = {},
                               const std::string& Description = {}, bool IsActive = true,
                               const std::string& Number = {}, Currency OpeningBalance = {},
                               const std::string& OpeningBalanceDate = {});
  // AccountQueryRq with MaxReturned (above 0) and the type's AccountType tag; returns Count. An
  // unknown type raises before anything is sent.
  // Like every query, it asks for the data extensions while IncludeDataExtensions is set.
  int32_t GetByAccountType(qbEnumAccountType AccountType, int32_t MaxReturned = 0,
                           const std::string& sMDBPath = {});

 protected:
  std::string_view RefusedField() const override;
};

}  // namespace brennock
