#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "brennock/internal/model/data_extension_carrier.h"
#include "brennock/internal/transactions/purchase_txn_core.h"
#include "brennock/internal/transactions/txn_collection_core.h"

namespace brennock {

// A vendor's bill: the vendor and its terms (due date and discount from them), the A/P account,
// item lines with the purchase-owner rules, the item receipts and orders it takes over
// (LinkToTxnID), what QuickBooks reports is still due, and the BillAdd/BillMod bodies. A new
// bill is dated and due today.
class Bill final : public PurchaseTxnCore, public DataExtensionCarrier<Bill> {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeBill;
  Bill();

  using PurchaseTxnCore::AmountDue;
  using PurchaseTxnCore::APAccount;
  using PurchaseTxnCore::DiscountAmount;
  using PurchaseTxnCore::DiscountDate;
  using PurchaseTxnCore::DueDate;
  using PurchaseTxnCore::ExchangeRate;
  using PurchaseTxnCore::ExpenseLines;
  using PurchaseTxnCore::IsPaid;
  using PurchaseTxnCore::LinkedTxns;
  using PurchaseTxnCore::Memo;
  using PurchaseTxnCore::OpenAmount;
  using PurchaseTxnCore::Terms;
  using PurchaseTxnCore::Vendor;
  using PurchaseTxnCore::VendorObject;

  using PurchaseTxnCore::SetAPAccount;
  using PurchaseTxnCore::SetDueDate;
  using PurchaseTxnCore::SetMemo;
  using PurchaseTxnCore::SetTerms;
  using PurchaseTxnCore::SetVendor;

  // Saves the custom and application fields under the bill's TxnID (and its lines').
  int32_t CommitCustomFields() { return SavePendingExtensions(); }

  static const RecordBindings& Bindings();

 protected:
  void CheckRules(qcErrors& errors) override;
};

// The company's bills, and any set of bills a client queries.
class Bills final : public TypedTxnCollection<Bill> {
 public:
  Bills() = default;

  // A new bill taking each header value given through its setter. Master collection only.
  std::shared_ptr<Bill> Add(const std::string& Vendor = {}, const std::string& RefNumber = {},
                            Date TxnDate = {}, const std::string& APAccount = {},
                            const std::string& Terms = {}, Date DueDate = {},
                            const std::string& Memo = {});

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

  // Reads the bill again (lines, links and custom fields included) into the same object.
  void GetMe(const std::shared_ptr<Bill>& bill);
};

}  // namespace brennock
