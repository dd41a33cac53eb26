#pragma once

#include <memory>
#include <string>

#include "brennock/internal/items/item_record.h"
#include "brennock/items/item_group_lines.h"
#include "brennock/values/date.h"

namespace brennock {

// A subtotal line of sales forms.
class ItemSubtotal final : public ItemRecord {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeItemSubtotal;
  ItemSubtotal();
  // The item interface answers True, though QuickBooks gives subtotals no parent.
  bool SupportsChildren() const override { return true; }
  const std::string& Description() const noexcept { return description_; }
  void SetDescription(const std::string& value) { Set(description_, value, SetterCheck::kDirty); }
  static const RecordBindings& Bindings();

 protected:
  // Errors numbered 0: "Name must be entered", "Name length cannot exceed 31".
  void CheckRules(qcErrors& errors) override;

 private:
  std::string description_;
};

// Items sold together. QuickBooks takes a group on Add only.
class ItemGroup final : public ItemRecord {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeItemGroup;
  ItemGroup();
  const std::string& Description() const noexcept { return description_; }
  bool PrintItemsInGroup() const noexcept { return printItemsInGroup_; }
  void SetDescription(const std::string& value) { Set(description_, value, SetterCheck::kNewOnly); }
  void SetPrintItemsInGroup(bool value) { Set(printItemsInGroup_, value, SetterCheck::kNewOnly); }
  std::shared_ptr<itemGroupLines> GroupLines() const { return lines_; }
  // True when the item of one of its lines posts to an expense account.
  bool ContainsExpenseAccount() const override;
  static const RecordBindings& Bindings();

 protected:
  // Name; 1105 for a discount line with a quantity.
  void CheckRules(qcErrors& errors) override;
  void BeforeRead() override { lines_->Clear(); }

 private:
  std::string description_;
  std::shared_ptr<itemGroupLines> lines_ = MakeSlabShared<itemGroupLines>();
  bool printItemsInGroup_ = false;
};

// A discount by amount or percentage. QuickBooks takes it on Add only.
class ItemDiscount final : public ItemRecord {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeItemDiscount;
  ItemDiscount();
  std::string TaxCode() const { return salesTaxCode_.FullName(); }
  std::string SalesTaxCode() const override { return salesTaxCode_.FullName(); }
  std::string Account() const { return account_.FullName(); }
  const std::string& Description() const noexcept { return description_; }
  Currency Amount() const noexcept { return amount_; }
  bool AmountIsPercent() const noexcept { return amountIsPercent_; }
  void SetIsActive(bool value) { Set(isActive_, value, SetterCheck::kDirty); }
  void SetAccount(const std::string& value) { SetRef(account_, value, SetterCheck::kNewOnly); }
  void SetSalesTaxCode(const std::string& value) {
    SetRef(salesTaxCode_, value, SetterCheck::kNewOnly);
  }
  void SetDescription(const std::string& value) { Set(description_, value, SetterCheck::kDirty); }
  void SetAmount(Currency value) { Set(amount_, value, SetterCheck::kDirty); }
  void SetAmountIsPercent(bool value) { Set(amountIsPercent_, value, SetterCheck::kDirty); }

  float SalesCost() const override { return static_cast<float>(amount_.ToDouble()); }
  bool SalesCostIsPercent() const override { return amountIsPercent_; }
  static const RecordBindings& Bindings();

 protected:
  // Name, parent kind, the required sales tax code and account.
  void CheckRules(qcErrors& errors) override;

 private:
  std::string description_;
  qcListObjectRef salesTaxCode_{qoListSalesTaxCodes, {}};
  qcListObjectRef account_{qoListAccounts, {}};
  Currency amount_;
  bool amountIsPercent_ = false;
};

// What a customer pays with, deposited to an account. QuickBooks takes it on Add only.
class ItemPayment final : public ItemRecord {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeItemPayment;
  ItemPayment();
  std::string DepositToAccount() const { return depositTo_.FullName(); }
  std::string PaymentMethod() const { return paymentMethod_.FullName(); }
  const std::string& Description() const noexcept { return description_; }
  void SetDepositToAccount(const std::string& value) {
    SetRef(depositTo_, value, SetterCheck::kNewOnly);
  }
  void SetPaymentMethod(const std::string& value) {
    SetRef(paymentMethod_, value, SetterCheck::kNewOnly);
  }
  void SetDescription(const std::string& value) { Set(description_, value, SetterCheck::kDirty); }
  static const RecordBindings& Bindings();

 private:
  std::string description_;
  qcListObjectRef depositTo_{qoListAccounts, {}};
  qcListObjectRef paymentMethod_{qoListPaymentMethods, {}};
};

// One sales tax, at a rate, owed to its vendor.
class ItemSalesTax final : public ItemRecord, public qcItemTax {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeItemSalesTax;
  ItemSalesTax();
  const std::string& Description() const noexcept { return description_; }
  std::string Vendor() const { return vendor_.FullName(); }
  void SetDescription(const std::string& value) {
    Set(description_, value, SetterCheck::kMinVersion, Currency(3));
  }
  void SetTaxRate(Currency value) { Set(taxRate_, value, SetterCheck::kMinVersion, Currency(3)); }
  void SetVendor(const std::string& value) {
    SetRef(vendor_, value, SetterCheck::kMinVersion, Currency(3));
  }

  // qcItemTax
  bool IsGroup() const override { return false; }
  // Amount times the rate, over 100, to the currency's four places.
  Currency CalculateTax(Currency Amount) const override;
  bool ContainsTax(const std::string& TaxCode) const override { return TaxCode == name_; }
  Currency TaxRate() const override { return taxRate_; }

  float SalesCost() const override { return static_cast<float>(taxRate_.ToDouble()); }
  bool SalesCostIsPercent() const override { return true; }
  static const RecordBindings& Bindings();

 protected:
  // Name; 1016 on "Vendor" when the tax vendor cannot be found.
  void CheckRules(qcErrors& errors) override;

 private:
  std::string description_;
  qcListObjectRef vendor_{qoListVendors, {}};
  Currency taxRate_;
};

// Several sales taxes charged together; its rate is the sum of theirs. QuickBooks takes it on
// Add only.
class ItemSalesTaxGroup final : public ItemRecord, public qcItemTax {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeItemSalesTaxGroup;
  ItemSalesTaxGroup();
  const std::string& Description() const noexcept { return description_; }
  void SetDescription(const std::string& value) { Set(description_, value, SetterCheck::kDirty); }
  std::shared_ptr<itemGroupLines> GroupLines() const { return lines_; }
  void SetGroupLines(std::shared_ptr<itemGroupLines> value) {
    Set(lines_, std::move(value), SetterCheck::kDirty);
  }

  // qcItemTax
  bool IsGroup() const override { return true; }
  // Amount times TaxRate / 100 in double precision, to the currency's four places.
  Currency CalculateTax(Currency Amount) const override;
  // The group's own name or the item name of one of its lines.
  bool ContainsTax(const std::string& TaxCode) const override;
  // The sum of the rates of the lines' items, in line order.
  Currency TaxRate() const override;
  static const RecordBindings& Bindings();

 protected:
  // Name; 1103 for a line whose quantity is not 1.
  void CheckRules(qcErrors& errors) override;
  void BeforeRead() override { lines_->Clear(); }

 private:
  std::string description_;
  std::shared_ptr<itemGroupLines> lines_ = MakeSlabShared<itemGroupLines>();
};

// A fixed asset the business owns, with its purchase and, once sold, its sale.
class ItemFixedAsset final : public ItemRecord {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeItemFixedAssset;
  ItemFixedAsset();
  // The item interface answers True, though QuickBooks gives fixed assets no parent.
  bool SupportsChildren() const override { return true; }
  std::string AssetAccount() const { return assetAccount_.FullName(); }
  bool AcquiredAsNew() const noexcept { return acquiredAsNew_; }
  const std::string& PurchaseDesc() const noexcept { return purchaseDesc_; }
  Date PurchaseDate() const noexcept { return purchaseDate_; }
  Currency PurchaseCostAmount() const noexcept { return purchaseCost_; }
  const std::string& VendorOrPayeeName() const noexcept { return vendorOrPayeeName_; }
  const std::string& SalesDesc() const noexcept { return salesDesc_; }
  Date SalesDate() const noexcept { return salesDate_; }
  Currency SalesPrice() const noexcept { return salesPrice_; }
  Currency SalesExpense() const noexcept { return salesExpense_; }
  const std::string& AssetDesc() const noexcept { return assetDesc_; }
  const std::string& Location() const noexcept { return location_; }
  const std::string& PONumber() const noexcept { return poNumber_; }
  const std::string& SerialNumber() const noexcept { return serialNumber_; }
  Date WarrantyExpDate() const noexcept { return warrantyExpDate_; }
  const std::string& Notes() const noexcept { return notes_; }
  const std::string& AssetNumber() const noexcept { return assetNumber_; }
  Currency CostBasis() const noexcept { return costBasis_; }
  Currency YearEndAccumulatedDepreciation() const noexcept { return yearEndDepreciation_; }
  Currency YearEndBookValue() const noexcept { return yearEndBookValue_; }

  void SetIsActive(bool value) { Set(isActive_, value, SetterCheck::kGated, Currency(2)); }
  void SetAssetAccount(const std::string& value) {
    SetRef(assetAccount_, value, SetterCheck::kGated, Currency(2));
  }
  void SetAcquiredAsNew(bool value) { Set(acquiredAsNew_, value, SetterCheck::kDirty); }
  void SetPurchaseDesc(const std::string& value) { Set(purchaseDesc_, value, SetterCheck::kDirty); }
  void SetPurchaseDate(Date value) { Set(purchaseDate_, value, SetterCheck::kDirty); }
  void SetPurchaseCost(Currency value) { Set(purchaseCost_, value, SetterCheck::kDirty); }
  void SetVendorOrPayeeName(const std::string& value) {
    Set(vendorOrPayeeName_, value, SetterCheck::kDirty);
  }
  void SetSalesDesc(const std::string& value) { Set(salesDesc_, value, SetterCheck::kDirty); }
  void SetSalesDate(Date value) { Set(salesDate_, value, SetterCheck::kDirty); }
  void SetSalesPrice(Currency value) { Set(salesPrice_, value, SetterCheck::kDirty); }
  void SetSalesExpense(Currency value) { Set(salesExpense_, value, SetterCheck::kDirty); }
  void SetAssetDesc(const std::string& value) { Set(assetDesc_, value, SetterCheck::kDirty); }
  void SetLocation(const std::string& value) { Set(location_, value, SetterCheck::kDirty); }
  void SetPONumber(const std::string& value) { Set(poNumber_, value, SetterCheck::kDirty); }
  void SetSerialNumber(const std::string& value) { Set(serialNumber_, value, SetterCheck::kDirty); }
  void SetWarrantyExpDate(Date value) { Set(warrantyExpDate_, value, SetterCheck::kDirty); }
  void SetNotes(const std::string& value) { Set(notes_, value, SetterCheck::kDirty); }
  void SetAssetNumber(const std::string& value) { Set(assetNumber_, value, SetterCheck::kDirty); }
  void SetCostBasis(Currency value) { Set(costBasis_, value, SetterCheck::kDirty); }
  void SetYearEndAccumulatedDepreciation(Currency value) {
    Set(yearEndDepreciation_, value, SetterCheck::kDirty);
  }
  void SetYearEndBookValue(Currency value) { Set(yearEndBookValue_, value, SetterCheck::kDirty); }

  float SalesCost() const override { return static_cast<float>(salesPrice_.ToDouble()); }
  float PurchaseCost() const override { return static_cast<float>(purchaseCost_.ToDouble()); }
  static const RecordBindings& Bindings();

 protected:
  // Name, the required asset account, purchase date and description.
  void CheckRules(qcErrors& errors) override;

 private:
  static void ReadSalesInfo(qcBase& record, const FieldElement& element);
  static void WriteSalesInfo(const qcBase& record, RequestWriter& builder, std::string_view element,
                             uint16_t flags, BodyForm form);

  qcListObjectRef assetAccount_{qoListAccounts, {}};
  std::string purchaseDesc_, vendorOrPayeeName_, salesDesc_, assetDesc_, location_, poNumber_;
  std::string serialNumber_, notes_, assetNumber_;
  Date purchaseDate_, salesDate_, warrantyExpDate_;
  Currency purchaseCost_, salesPrice_, salesExpense_, costBasis_, yearEndDepreciation_,
      yearEndBookValue_;
  bool acquiredAsNew_ = true;
};

}  // namespace brennock
