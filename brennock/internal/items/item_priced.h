#pragma once

#include <memory>
#include <string>

#include "brennock/internal/items/item_record.h"
#include "brennock/items/item_blocks.h"

namespace brennock {

// The setter checks of one priced kind.
struct PricedItemChecks {
  SetterCheck active;  // IsActive and SalesTaxCode
  int activeVersion;   // whole qbXML versions
  SetterCheck salesTaxCode;
  int taxCodeForVersion;  // TaxCodeForSale and TaxCodeForPurchase, after the edition check
};

// Service, non-inventory and other-charge items: a list record with sales tax codes and one of the
// two price blocks (sales-or-purchase, or sales-and-purchase).
class PricedItem : public ItemRecord {
 public:
  std::string SalesTaxCode() const override { return salesTaxCode_.FullName(); }
  std::string TaxCodeForSale() const { return taxCodeForSale_.FullName(); }
  std::string TaxCodeForPurchase() const { return taxCodeForPurchase_.FullName(); }
  void SetIsActive(bool value);
  void SetSalesTaxCode(const std::string& value);
  // Non-US editions only (else 1032).
  void SetTaxCodeForSale(const std::string& value);
  void SetTaxCodeForPurchase(const std::string& value);

  bool HasSalesAndPurchase() const override { return andBlock_ != nullptr; }
  // The current block; null while the item uses the other one.
  std::shared_ptr<itemSalesOrPurchase> SalesOrPurchase() const;
  std::shared_ptr<itemSalesAndPurchase> SalesAndPurchase() const { return andBlock_; }
  // Library-internal: a fresh, empty block of the other kind replaces the current one.
  void UseSalesAndPurchase(bool value);

  // A saved item whose block changed is Dirty.
  qoEnumObjectState ObjectState() const override;

  // qcItem: the block's sides, or its one side for both.
  std::string SalesDescription() const override;
  std::string PurchaseDescription() const override;
  bool SalesCostIsPercent() const override { return orBlock_ && orBlock_->AmountIsPercent(); }
  bool PurchaseCostIsPercent() const override { return SalesCostIsPercent(); }
  float SalesCost() const override;
  float PurchaseCost() const override;
  bool ContainsExpenseAccount() const override { return orBlock_ && orBlock_->PostsToExpense(); }

 protected:
  PricedItem(const RecordKind& kind, qbEnumItemType type, const PricedItemChecks& checks)
      : ItemRecord(kind, type), checks_(&checks) {}

  // Name, parent kind, sales tax code, then the block's own errors.
  void CheckRules(qcErrors& errors) override;

  // The rows of the three kinds; withTaxCodesForInMod says whether the Mod carries the tax codes
  // for sale and purchase.
  template <class Kind>
  static constexpr auto PricedRows(bool withTaxCodesForInMod);

  qcListObjectRef salesTaxCode_{qoListSalesTaxCodes, {}};
  qcListObjectRef taxCodeForSale_{qoListTaxCodes, {}};
  qcListObjectRef taxCodeForPurchase_{qoListTaxCodes, {}};
  // Both null: a new item's empty sales-or-purchase block, created when first asked for (an item
  // read from QuickBooks gets the block of its response, so none is made in vain).
  mutable std::shared_ptr<itemSalesOrPurchase> orBlock_;
  std::shared_ptr<itemSalesAndPurchase> andBlock_;

 private:
  static void ReadBlock(qcBase& record, const FieldElement& element);
  static void WriteBlock(const qcBase& record, RequestWriter& builder, std::string_view element,
                         uint16_t flags, BodyForm form);

  const PricedItemChecks* checks_;
};

class ItemService final : public PricedItem {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeItemService;
  ItemService();
  static const RecordBindings& Bindings();
};

class ItemNonInventory final : public PricedItem {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeItemNonInventory;
  ItemNonInventory();
  static const RecordBindings& Bindings();
};

// The one priced kind whose block a client may switch.
class ItemOtherCharge final : public PricedItem {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeItemOtherCharge;
  ItemOtherCharge();
  void SetHasSalesAndPurchase(bool value);
  static const RecordBindings& Bindings();
};

}  // namespace brennock
