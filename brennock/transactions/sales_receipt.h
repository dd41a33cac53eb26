#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "brennock/internal/model/data_extension_carrier.h"
#include "brennock/internal/transactions/sales_txn_core.h"
#include "brennock/internal/transactions/txn_collection_core.h"

namespace brennock {

// A cash sale: an invoice's header and lines, paid on the spot. The money goes to its deposit
// account (Undeposited Funds unless another is named). QuickBooks takes no changes to a sales
// receipt through qbXML: a saved one that is changed is refused with "ModRq not supported".
class SalesReceipt final : public SalesTxnCore, public DataExtensionCarrier<SalesReceipt> {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeSalesReceipt;
  SalesReceipt();

  using SalesTxnCore::AmountIncludesVAT;
  using SalesTxnCore::BillTo;
  using SalesTxnCore::CDNCustomerTaxCode;
  using SalesTxnCore::Class;
  using SalesTxnCore::Customer;
  using SalesTxnCore::CustomerMessage;
  using SalesTxnCore::DueDate;
  using SalesTxnCore::ExchangeRate;
  using SalesTxnCore::FOB;
  using SalesTxnCore::IsPending;
  using SalesTxnCore::IsToBeEmailed;
  using SalesTxnCore::IsToBePrinted;
  using SalesTxnCore::Memo;
  using SalesTxnCore::Other;
  using SalesTxnCore::SalesRep;
  using SalesTxnCore::SalesTaxCode;
  using SalesTxnCore::SalesTaxItem;
  using SalesTxnCore::SalesTaxPercentage;
  using SalesTxnCore::SalesTaxTotal;
  using SalesTxnCore::ShipDate;
  using SalesTxnCore::ShipMethod;
  using SalesTxnCore::ShipTo;
  using SalesTxnCore::Subtotal;
  using SalesTxnCore::Tax1TotalTotal;
  using SalesTxnCore::Tax2TotalTotal;
  using SalesTxnCore::Template;

  using SalesTxnCore::SetAmountIncludesVAT;
  using SalesTxnCore::SetCDNCustomerTaxCode;
  using SalesTxnCore::SetClass;
  using SalesTxnCore::SetCustomer;
  using SalesTxnCore::SetCustomerMessage;
  using SalesTxnCore::SetDueDate;
  using SalesTxnCore::SetFOB;
  using SalesTxnCore::SetIsPending;
  using SalesTxnCore::SetIsToBeEmailed;
  using SalesTxnCore::SetIsToBePrinted;
  using SalesTxnCore::SetMemo;
  using SalesTxnCore::SetOther;
  using SalesTxnCore::SetSalesRep;
  using SalesTxnCore::SetSalesTaxCode;
  using SalesTxnCore::SetSalesTaxItem;
  using SalesTxnCore::SetShipDate;
  using SalesTxnCore::SetShipMethod;
  using SalesTxnCore::SetTax1TotalTotal;
  using SalesTxnCore::SetTax2TotalTotal;
  using SalesTxnCore::SetTemplate;

  // The customer's check number.
  const std::string& CheckNumber() const noexcept { return checkNumber_; }
  void SetCheckNumber(const std::string& value) { Change(checkNumber_, value, "CheckNumber"); }
  std::string PaymentMethod() const { return paymentMethod_.FullName(); }
  void SetPaymentMethod(const std::string& value);
  // Where the money goes; empty: Undeposited Funds.
  std::string DepositToAccount() const { return depositToAccount_.FullName(); }
  void SetDepositToAccount(const std::string& value);
  // Subtotal and sales tax, kept up to date as the lines change; QuickBooks' TotalAmount once read.
  Currency Total() const noexcept { return total_; }

  int32_t CommitCustomFields() { return SavePendingExtensions(); }

  static const RecordBindings& Bindings();

 protected:
  void CheckRules(qcErrors& errors) override;
  void AfterTotals() override { total_ = TaxedTotal(); }

 private:
  std::string checkNumber_;
  qcListObjectRef paymentMethod_{qoListPaymentMethods, {}};
  qcListObjectRef depositToAccount_{qoListAccounts, {}};
  Currency total_;
};

// The company's sales receipts, and any set of them a client queries.
class SalesReceipts final : public TypedTxnCollection<SalesReceipt> {
 public:
  SalesReceipts() = default;

  // A new sales receipt taking each header value given through its setter. Master collection
  // only.
  std::shared_ptr<SalesReceipt> Add(
      const std::string& Customer = {}, const std::string& CheckNumber = {},
      const std::string& RefNumber = {}, Date TxnDate = {},
      const std::string& DepositToAccount = {}, const std::string& PaymentMethod = {},
      const std::string& BillAddressLine1 = {}, const std::string& BillAddressLine2 = {},
      const std::string& BillAddressLine3 = {}, const std::string& BillAddressCity = {},
      const std::string& BillAddressState = {}, const std::string& BillAddressPostalCode = {},
      const std::string& BillAddressCountry = {}, const std::string& ShipAddressLine1 = {},
      const std::string& ShipAddressLine2 = {}, const std::string& ShipAddressLine3 = {},
      const std::string& ShipAddressCity = {}, const std::string& ShipAddressState = {},
      const std::string& ShipAddressPostalCode = {}, const std::string& ShipAddressCountry = {},
      const std::string& Class = {}, const std::string& CustomerMessage = {}, Date DueDate = {},
      const std::string& FOB = {}, std::optional<bool> IsPending = std::nullopt,
      std::optional<bool> IsToBePrinted = std::nullopt, const std::string& Memo = {},
      const std::string& SalesRep = {}, Date ShipDate = {}, const std::string& ShipMethod = {});

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
  using TxnCollectionCore::GetMultiple;
  using TxnCollectionCore::Void;
};

}  // namespace brennock
