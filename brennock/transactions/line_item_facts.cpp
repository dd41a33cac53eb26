#include "brennock/internal/transactions/line_item_facts.h"

#include "brennock/internal/items/item_priced.h"
#include "brennock/internal/items/item_stock.h"
#include "brennock/items/item_kinds.h"
#include "brennock/items/item_protocol.h"
#include "brennock/lists/tax_codes.h"
#include "brennock/model/qc_list_object_ref.h"

namespace brennock {

std::shared_ptr<qcItem> FindItem(const std::string& fullName) {
  if (fullName.empty()) return nullptr;
  return std::dynamic_pointer_cast<qcItem>(ResolveListObject(qoListItems, fullName));
}

std::string ItemDescription(const qcItem& item) {
  if (auto* subtotal = dynamic_cast<const ItemSubtotal*>(&item)) return subtotal->Description();
  if (auto* discount = dynamic_cast<const ItemDiscount*>(&item)) return discount->Description();
  if (auto* payment = dynamic_cast<const ItemPayment*>(&item)) return payment->Description();
  if (auto* tax = dynamic_cast<const ItemSalesTax*>(&item)) return tax->Description();
  if (auto* taxGroup = dynamic_cast<const ItemSalesTaxGroup*>(&item))
    return taxGroup->Description();
  if (auto* group = dynamic_cast<const ItemGroup*>(&item)) return group->Description();
  return item.SalesDescription();
}

Currency DiscountAmount(const qcItem& item) {
  auto* discount = dynamic_cast<const ItemDiscount*>(&item);
  return discount ? discount->Amount() : Currency();
}

bool DiscountIsPercent(const qcItem& item) {
  auto* discount = dynamic_cast<const ItemDiscount*>(&item);
  return discount && discount->AmountIsPercent();
}

std::shared_ptr<qcItemTax> ItemTax(const std::shared_ptr<qcItem>& item) {
  return std::dynamic_pointer_cast<qcItemTax>(item);
}

float AvailableQuantity(const qcItem& item) {
  auto* stock = dynamic_cast<const StockItem*>(&item);
  return stock ? stock->QuantityOnHand() - stock->QuantityOnSalesOrder() : 0;
}

std::string ItemTaxCode(const qcItem& item, bool purchase) {
  if (auto* priced = dynamic_cast<const PricedItem*>(&item))
    return purchase ? priced->TaxCodeForPurchase() : priced->TaxCodeForSale();
  if (auto* stock = dynamic_cast<const StockItem*>(&item))
    return purchase ? stock->TaxCodeForPurchase() : stock->TaxCodeForSale();
  return {};
}

std::shared_ptr<itemGroupLines> GroupDefinition(const qcItem& item) {
  auto* group = dynamic_cast<const ItemGroup*>(&item);
  return group ? group->GroupLines() : nullptr;
}

bool SalesTaxCodeIsTaxable(const std::string& fullName) {
  auto code =
      std::dynamic_pointer_cast<SalesTaxCode>(ResolveListObject(qoListSalesTaxCodes, fullName));
  return code && code->IsTaxable();
}

bool SalesTaxCodeExists(const std::string& fullName) {
  return ResolveListObject(qoListSalesTaxCodes, fullName) != nullptr;
}

}  // namespace brennock
