#pragma once

#include <memory>
#include <string>

#include "brennock/internal/items/item_record.h"
#include "brennock/items/item_group_lines.h"
#include "brennock/values/date.h"

namespace brennock {

// The setter checks of one stock kind: most setters, the income account, the tax codes for sale
// and purchase, each with its version.
struct StockItemChecks {
  SetterCheck fields;
  int fieldsVersion;
  SetterCheck income;
  int incomeVersion;
  int taxCodeForVersion;
};

// Inventory parts and inventory assemblies: sales and purchase sides with their accounts, the
// asset and cost-of-goods accounts, and the quantities QuickBooks keeps.
class StockItem : public ItemRecord {
 public:
  std::string SalesTaxCode() const override { return salesTaxCode_.FullName(); }
  std::string TaxCodeForSale() const { return taxCodeForSale_.FullName(); }
  std::string TaxCodeForPurchase() const { return taxCodeForPurchase_.FullName(); }
  std::string IncomeAccount() const { return incomeAccount_.FullName(); }
  std::string COGSAccount() const { return cogsAccount_.FullName(); }
  std::string AssetAccount() const { return assetAccount_.FullName(); }
  std::string Vendor() const { return vendor_.FullName(); }
  std::string SalesDescription() const override { return salesDesc_; }
  std::string PurchaseDescription() const override { return purchaseDesc_; }
  float SalesPrice() const noexcept { return salesPrice_; }
  float SalesCost() const override { return salesPrice_; }
  float PurchaseCost() const override { return purchaseCost_; }
  float QuantityOnHand() const noexcept { return quantityOnHand_; }
  float QuantityOnOrder() const noexcept { return quantityOnOrder_; }
  float QuantityOnSalesOrder() const noexcept { return quantityOnSalesOrder_; }
  float AverageCost() const noexcept { return averageCost_; }
  Currency TotalValue() const noexcept { return totalValue_; }
  Date InventoryDate() const noexcept { return inventoryDate_; }

  void SetIsActive(bool value);
  void SetSalesTaxCode(const std::string& value);
  // Non-US editions only (else 1032).
  void SetTaxCodeForSale(const std::string& value);
  void SetTaxCodeForPurchase(const std::string& value);
  void SetIncomeAccount(const std::string& value);
  void SetCOGSAccount(const std::string& value);
  void SetAssetAccount(const std::string& value);
  void SetVendor(const std::string& value);
  void SetSalesDescription(const std::string& value);
  void SetSalesPrice(float value);
  void SetPurchaseDescription(const std::string& value);
  void SetPurchaseCost(float value);
  // The opening stock of a new item (add-only: 1002 on a saved item).
  void SetQuantityOnHand(float value) { Set(quantityOnHand_, value, SetterCheck::kNewOnly); }
  void SetTotalValue(Currency value) { Set(totalValue_, value, SetterCheck::kNewOnly); }
  void SetInventoryDate(Date value) { Set(inventoryDate_, value, SetterCheck::kNewOnly); }

 protected:
  using Checks = StockItemChecks;
  StockItem(const RecordKind& kind, qbEnumItemType type, const Checks& checks)
      : ItemRecord(kind, type), checks_(&checks) {}

  // Name, optional sales tax code, the three accounts, parent kind, optional vendor.
  void CheckRules(qcErrors& errors) override;
  void SetPoint(float value, SetterCheck check);

  // Rows from the sales tax code to the quantities; pointElement is ReorderPoint or BuildPoint.
  template <const char* PointElement>
  static constexpr auto StockRows();

  qcListObjectRef salesTaxCode_{qoListSalesTaxCodes, {}};
  qcListObjectRef taxCodeForSale_{qoListTaxCodes, {}};
  qcListObjectRef taxCodeForPurchase_{qoListTaxCodes, {}};
  qcListObjectRef incomeAccount_{qoListAccounts, {}};
  qcListObjectRef cogsAccount_{qoListAccounts, {}};
  qcListObjectRef assetAccount_{qoListAccounts, {}};
  qcListObjectRef vendor_{qoListVendors, {}};
  std::string salesDesc_, purchaseDesc_;
  Currency totalValue_;
  Date inventoryDate_;
  float salesPrice_ = 0, purchaseCost_ = 0;
  float point_ = 0;  // the reorder or build point
  float quantityOnHand_ = 0, quantityOnOrder_ = 0, quantityOnSalesOrder_ = 0, averageCost_ = 0;
  bool pointSet_ = false;  // a point is written only once set (or read)

 private:
  const Checks* checks_;
};

class ItemInventory final : public StockItem {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeItemInventory;
  ItemInventory();
  float ReOrderPoint() const noexcept { return point_; }
  void SetReOrderPoint(float value) { SetPoint(value, SetterCheck::kMinVersion); }
  static const RecordBindings& Bindings();
};

// An inventory assembly: built from its components.
class ItemAssembly final : public StockItem {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeItemAssembly;
  ItemAssembly();
  float BuildPoint() const noexcept { return point_; }
  void SetBuildPoint(float value) { SetPoint(value, SetterCheck::kDirty); }
  std::shared_ptr<itemGroupLines> Components() const { return components_; }
  static const RecordBindings& Bindings();

 protected:
  void BeforeRead() override { components_->Clear(); }

 private:
  std::shared_ptr<itemGroupLines> components_ = MakeSlabShared<itemGroupLines>();
};

}  // namespace brennock
