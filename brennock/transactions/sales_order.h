#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "brennock/internal/model/data_extension_carrier.h"
#include "brennock/internal/transactions/sales_txn_core.h"
#include "brennock/internal/transactions/txn_collection_core.h"

namespace brennock {

// A customer's order: an invoice's header and lines that post nothing until invoices bill them.
// Each line reads what was invoiced of it; the order reads IsFullyInvoiced once every line is,
// and IsManuallyClosed when closed (by hand or by billing in full).
class SalesOrder final : public SalesTxnCore, public DataExtensionCarrier<SalesOrder> {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeSalesOrder;
  SalesOrder();

  using SalesTxnCore::BillTo;
  using SalesTxnCore::CDNCustomerTaxCode;
  using SalesTxnCore::Class;
  using SalesTxnCore::Customer;
  using SalesTxnCore::CustomerMessage;
  using SalesTxnCore::DueDate;
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
  using SalesTxnCore::ShipDate;
  using SalesTxnCore::ShipMethod;
  using SalesTxnCore::ShipTo;
  using SalesTxnCore::Subtotal;
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
  using SalesTxnCore::SetShipDate;
  using SalesTxnCore::SetShipMethod;
  using SalesTxnCore::SetTemplate;
  using SalesTxnCore::SetTerms;

  bool IsFullyInvoiced() const noexcept { return isFullyInvoiced_; }
  bool IsManuallyClosed() const noexcept { return isManuallyClosed_; }
  void SetIsManuallyClosed(bool value) { Change(isManuallyClosed_, value, "IsManuallyClosed"); }
  // Subtotal and sales tax, kept up to date as the lines change; QuickBooks' TotalAmount once read.
  Currency TotalAmount() const noexcept { return total_; }

  int32_t CommitCustomFields() { return SavePendingExtensions(); }

  static const RecordBindings& Bindings();

 protected:
  void CheckRules(qcErrors& errors) override;
  void AfterTotals() override { total_ = TaxedTotal(); }

 private:
  Currency total_;
  bool isManuallyClosed_ = false;
  bool isFullyInvoiced_ = false;
};

// The company's sales orders, and any set of them a client queries.
class SalesOrders final : public TypedTxnCollection<SalesOrder> {
 public:
  SalesOrders() = default;

  // Setting it true in sessions above qbXML 2.1 opens, once per session, the second connection
  // that numbers forms; in older sessions it stays false.
  bool AutoGenerateSONumbers() const noexcept { return autoNumbers_; }
  void SetAutoGenerateSONumbers(bool value);

  // A new sales order taking each header value given through its setter. Master collection only.
  std::shared_ptr<SalesOrder> Add(
      const std::string& Customer = {}, const std::string& RefNumber = {}, Date TxnDate = {},
      const std::string& BillAddressLine1 = {}, const std::string& BillAddressLine2 = {},
      const std::string& BillAddressLine3 = {}, const std::string& BillAddressCity = {},
      const std::string& BillAddressState = {}, const std::string& BillAddressPostalCode = {},
      const std::string& BillAddressCountry = {}, const std::string& ShipAddressLine1 = {},
      const std::string& ShipAddressLine2 = {}, const std::string& ShipAddressLine3 = {},
      const std::string& ShipAddressCity = {}, const std::string& ShipAddressState = {},
      const std::string& ShipAddressPostalCode = {}, const std::string& ShipAddressCountry = {},
      const std::string& Class = {}, const std::string& CustomerMessage = {}, Date DueDate = {},
      const std::string& FOB = {}, std::optional<bool> IsToBePrinted = std::nullopt,
      const std::string& Memo = {}, const std::string& PONumber = {},
      const std::string& SalesRep = {}, Date ShipDate = {}, const std::string& ShipMethod = {});

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

 private:
  bool autoNumbers_ = false;
};

}  // namespace brennock
