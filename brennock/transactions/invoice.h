#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "brennock/internal/model/data_extension_carrier.h"
#include "brennock/internal/transactions/sales_txn_core.h"
#include "brennock/internal/transactions/txn_collection_core.h"

namespace brennock {

// A customer invoice: its header, item lines and links, the totals kept up to date as the client
// edits it (Subtotal, SalesTaxTotal, BalanceRemaining, the suggested discount), validation, and
// the InvoiceAdd/InvoiceMod bodies. A new invoice is dated today and takes the company's default
// sales tax code and item, FOB, ship method and to-be-printed flag.
class Invoice final : public SalesTxnCore, public DataExtensionCarrier<Invoice> {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeInvoice;
  Invoice();

  using SalesTxnCore::AmountIncludesVAT;
  using SalesTxnCore::AppliedAmount;
  using SalesTxnCore::ARAccount;
  using SalesTxnCore::BalanceRemaining;
  using SalesTxnCore::BillTo;
  using SalesTxnCore::CDNCustomerTaxCode;
  using SalesTxnCore::Class;
  using SalesTxnCore::Customer;
  using SalesTxnCore::CustomerMessage;
  using SalesTxnCore::DueDate;
  using SalesTxnCore::ExchangeRate;
  using SalesTxnCore::FOB;
  using SalesTxnCore::IsFinanceCharge;
  using SalesTxnCore::IsPaid;
  using SalesTxnCore::IsPending;
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
  using SalesTxnCore::ShipDate;
  using SalesTxnCore::ShipMethod;
  using SalesTxnCore::ShipTo;
  using SalesTxnCore::Subtotal;
  using SalesTxnCore::SuggestedDiscountAmount;
  using SalesTxnCore::SuggestedDiscountDate;
  using SalesTxnCore::Tax1TotalTotal;
  using SalesTxnCore::Tax2TotalTotal;
  using SalesTxnCore::Template;
  using SalesTxnCore::Terms;

  using SalesTxnCore::SetAmountIncludesVAT;
  using SalesTxnCore::SetARAccount;
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
  using SalesTxnCore::SetPONumber;
  using SalesTxnCore::SetSalesRep;
  using SalesTxnCore::SetSalesTaxCode;
  using SalesTxnCore::SetSalesTaxItem;
  using SalesTxnCore::SetShipDate;
  using SalesTxnCore::SetShipMethod;
  using SalesTxnCore::SetTax1TotalTotal;
  using SalesTxnCore::SetTax2TotalTotal;
  using SalesTxnCore::SetTemplate;
  using SalesTxnCore::SetTerms;

  // Saves the custom and application fields under the invoice's TxnID (and its lines').
  int32_t CommitCustomFields() { return SavePendingExtensions(); }
  // Writes a response document with the invoice's terms (request 1), the company in vendor form
  // (request 2) and the invoice (request 3) to FilePath; returns the builder's result.
  int32_t SaveAsqBill(const std::string& FilePath);

  static const RecordBindings& Bindings();

 protected:
  void CheckRules(qcErrors& errors) override;
};

// The company's invoices, and any set of invoices a client queries.
class Invoices final : public TypedTxnCollection<Invoice> {
 public:
  Invoices() = default;

  // Setting it true in sessions above qbXML 2.1 opens, once per session, the second connection
  // that numbers invoices; in older sessions it stays false.
  bool AutoGenerateInvoiceNumbers() const noexcept { return autoNumbers_; }
  void SetAutoGenerateInvoiceNumbers(bool value);

  // A new invoice taking each header value given through its setter. Master collection only.
  std::shared_ptr<Invoice> Add(
      const std::string& Customer = {}, const std::string& RefNumber = {}, Date TxnDate = {},
      const std::string& ARAccount = {}, const std::string& BillAddressLine1 = {},
      const std::string& BillAddressLine2 = {}, const std::string& BillAddressLine3 = {},
      const std::string& BillAddressCity = {}, const std::string& BillAddressState = {},
      const std::string& BillAddressPostalCode = {}, const std::string& BillAddressCountry = {},
      const std::string& ShipAddressLine1 = {}, const std::string& ShipAddressLine2 = {},
      const std::string& ShipAddressLine3 = {}, const std::string& ShipAddressCity = {},
      const std::string& ShipAddressState = {}, const std::string& ShipAddressPostalCode = {},
      const std::string& ShipAddressCountry = {}, const std::string& Class = {},
      const std::string& CustomerMessage = {}, Date DueDate = {}, const std::string& FOB = {},
      std::optional<bool> IsPending = std::nullopt,
      std::optional<bool> IsToBePrinted = std::nullopt, const std::string& Memo = {},
      const std::string& PONumber = {}, const std::string& SalesRep = {}, Date ShipDate = {},
      const std::string& ShipMethod = {});

  using TxnCollectionCore::Delete;
  using TxnCollectionCore::GetAll;
  using TxnCollectionCore::GetByAccount;
  using TxnCollectionCore::GetByDateMacro;
  using TxnCollectionCore::GetByDateSpan;
  using TxnCollectionCore::GetByEntity;
  using TxnCollectionCore::GetByEntityV;
  using TxnCollectionCore::GetByRefNumber;
  using TxnCollectionCore::GetByRefNumberMatch;
  using TxnCollectionCore::GetBySingleAccount;
  using TxnCollectionCore::GetBySingleEntity;
  using TxnCollectionCore::GetMultiple;
  using TxnCollectionCore::Void;

  // Reads the invoice again (lines, links and custom fields included) into the same object.
  void GetMe(const std::shared_ptr<Invoice>& invoice);

 private:
  bool autoNumbers_ = false;
};

}  // namespace brennock
