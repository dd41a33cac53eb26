#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "brennock/internal/model/data_extension_carrier.h"
#include "brennock/internal/transactions/sales_txn_core.h"
#include "brennock/internal/transactions/txn_collection_core.h"

namespace brennock {

// A quote to a customer: an invoice's header and lines (with markup on each line) that posts
// nothing until an invoice bills it. A new estimate is active.
class Estimate final : public SalesTxnCore, public DataExtensionCarrier<Estimate> {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeEstimate;
  Estimate();

  using SalesTxnCore::BillTo;
  using SalesTxnCore::CDNCustomerTaxCode;
  using SalesTxnCore::Class;
  using SalesTxnCore::Customer;
  using SalesTxnCore::CustomerMessage;
  using SalesTxnCore::DueDate;
  using SalesTxnCore::ExchangeRate;
  using SalesTxnCore::FOB;
  using SalesTxnCore::IsToBeEmailed;
  using SalesTxnCore::IsToBePrinted;
  using SalesTxnCore::LinkedTxns;
  using SalesTxnCore::Memo;
  using SalesTxnCore::Other;
  using SalesTxnCore::PONumber;
  using SalesTxnCore::SalesRep;
  using SalesTxnCore::SalesTaxCode;
  using SalesTxnCore::SalesTaxItem;
  using SalesTxnCore::SalesTaxPercentage;
  using SalesTxnCore::SalesTaxTotal;
  using SalesTxnCore::ShipTo;
  using SalesTxnCore::Subtotal;
  using SalesTxnCore::Tax1TotalTotal;
  using SalesTxnCore::Tax2TotalTotal;
  using SalesTxnCore::Template;
  using SalesTxnCore::Terms;

  using SalesTxnCore::SetCDNCustomerTaxCode;
  using SalesTxnCore::SetClass;
  using SalesTxnCore::SetCustomer;
  using SalesTxnCore::SetCustomerMessage;
  using SalesTxnCore::SetDueDate;
  using SalesTxnCore::SetFOB;
  using SalesTxnCore::SetIsToBeEmailed;
  using SalesTxnCore::SetIsToBePrinted;
  using SalesTxnCore::SetMemo;
  using SalesTxnCore::SetOther;
  using SalesTxnCore::SetPONumber;
  using SalesTxnCore::SetSalesRep;
  using SalesTxnCore::SetSalesTaxCode;
  using SalesTxnCore::SetSalesTaxItem;
  using SalesTxnCore::SetTax1TotalTotal;
  using SalesTxnCore::SetTax2TotalTotal;
  using SalesTxnCore::SetTemplate;
  using SalesTxnCore::SetTerms;

  bool IsActive() const noexcept { return isActive_; }
  void SetIsActive(bool value) { Change(isActive_, value, "IsActive"); }
  // Amounts include tax (UK and Australian editions).
  bool IsTaxIncluded() const noexcept { return amountIncludesVAT_; }
  void SetIsTaxIncluded(bool value) { SetAmountIncludesVAT(value); }
  // The currency of a multicurrency company file, as QuickBooks answered it.
  std::string CurrencyRef() const { return currency_.FullName(); }
  // Subtotal and sales tax, kept up to date as the lines change; QuickBooks' TotalAmount once read.
  Currency Total() const noexcept { return total_; }
  Currency TotalAmountInHomeCurrency() const noexcept { return totalInHomeCurrency_; }

  int32_t CommitCustomFields() { return SavePendingExtensions(); }

  static const RecordBindings& Bindings();

 protected:
  void CheckRules(qcErrors& errors) override;
  void AfterTotals() override { total_ = TaxedTotal(); }

 private:
  qcListObjectRef currency_{qoListCurrencies, {}};
  Currency total_;
  Currency totalInHomeCurrency_;
  bool isActive_ = true;
};

// The company's estimates, and any set of them a client queries.
class Estimates final : public TypedTxnCollection<Estimate> {
 public:
  Estimates() = default;

  // A new estimate taking each header value given through its setter. Master collection only.
  std::shared_ptr<Estimate> Add(
      const std::string& Customer = {}, const std::string& RefNumber = {}, Date TxnDate = {},
      const std::string& BillAddressLine1 = {}, const std::string& BillAddressLine2 = {},
      const std::string& BillAddressLine3 = {}, const std::string& BillAddressCity = {},
      const std::string& BillAddressState = {}, const std::string& BillAddressPostalCode = {},
      const std::string& BillAddressCountry = {}, const std::string& Class = {},
      const std::string& CustomerMessage = {}, Date DueDate = {}, const std::string& FOB = {},
      std::optional<bool> IsToBePrinted = std::nullopt, const std::string& Memo = {},
      const std::string& PONumber = {}, const std::string& SalesRep = {});

  using TxnCollectionCore::Delete;
  using TxnCollectionCore::GetAll;
  using TxnCollectionCore::GetByAccount;
  using TxnCollectionCore::GetByDateMacro;
  using TxnCollectionCore::GetByDateSpan;
  using TxnCollectionCore::GetByEntity;
  using TxnCollectionCore::GetByRefNumber;
  using TxnCollectionCore::GetByRefNumberMatch;
  using TxnCollectionCore::GetBySingleAccount;
  using TxnCollectionCore::GetBySingleEntity;
};

}  // namespace brennock
