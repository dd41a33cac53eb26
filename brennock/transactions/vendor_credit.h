#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "brennock/internal/model/data_extension_carrier.h"
#include "brennock/internal/transactions/purchase_txn_core.h"
#include "brennock/internal/transactions/txn_collection_core.h"

namespace brennock {

// What a vendor owes the company back (returned stock, a refund to come): a bill the other way,
// with its amount (CreditAmount) and what payments have not used of it yet (OpenAmount).
class VendorCredit final : public PurchaseTxnCore, public DataExtensionCarrier<VendorCredit> {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeVendorCredit;
  VendorCredit();

  Currency Amount() const noexcept { return amount_; }
  using PurchaseTxnCore::APAccount;
  using PurchaseTxnCore::ExchangeRate;
  using PurchaseTxnCore::ExpenseLines;
  using PurchaseTxnCore::LinkedTxns;
  using PurchaseTxnCore::Memo;
  using PurchaseTxnCore::OpenAmount;
  using PurchaseTxnCore::Vendor;
  using PurchaseTxnCore::VendorObject;

  using PurchaseTxnCore::SetAPAccount;
  using PurchaseTxnCore::SetMemo;
  using PurchaseTxnCore::SetVendor;

  int32_t CommitCustomFields() { return SavePendingExtensions(); }
  static const RecordBindings& Bindings();

 protected:
  void CheckRules(qcErrors& errors) override { CheckPurchaseRules(errors, true, false); }

 private:
  Currency amount_;
};

class VendorCredits final : public TypedTxnCollection<VendorCredit> {
 public:
  VendorCredits() = default;

  std::shared_ptr<VendorCredit> Add(const std::string& Vendor = {},
                                    const std::string& RefNumber = {}, Date TxnDate = {},
                                    const std::string& APAccount = {},
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
};

// Stock received from a vendor before its bill: owed on accounts payable until a bill takes it
// over (LinkToTxnID of the receipt); it links to the purchase orders it receives.
class ItemReceipt final : public PurchaseTxnCore, public DataExtensionCarrier<ItemReceipt> {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeItemReceipt;
  ItemReceipt();

  Currency TotalAmount() const noexcept { return total_; }
  using PurchaseTxnCore::APAccount;
  using PurchaseTxnCore::ExpenseLines;
  using PurchaseTxnCore::LinkedTxns;
  using PurchaseTxnCore::Memo;
  using PurchaseTxnCore::Vendor;
  using PurchaseTxnCore::VendorObject;

  using PurchaseTxnCore::SetAPAccount;
  using PurchaseTxnCore::SetMemo;
  using PurchaseTxnCore::SetVendor;

  int32_t CommitCustomFields() { return SavePendingExtensions(); }
  static const RecordBindings& Bindings();

 protected:
  void CheckRules(qcErrors& errors) override { CheckPurchaseRules(errors, true, true); }

 private:
  Currency total_;
};

class ItemReceipts final : public TypedTxnCollection<ItemReceipt> {
 public:
  ItemReceipts() = default;

  std::shared_ptr<ItemReceipt> Add(const std::string& Vendor = {},
                                   const std::string& RefNumber = {}, Date TxnDate = {},
                                   const std::string& APAccount = {}, const std::string& Memo = {});

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
};

}  // namespace brennock
