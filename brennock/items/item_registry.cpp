// What the list registry's item rows point at.
#include "brennock/lists/item_registry.h"

#include "brennock/items/items.h"

namespace brennock {

const RecordBindings& ItemServiceBindings() { return ItemService::Bindings(); }
const RecordBindings& ItemInventoryBindings() { return ItemInventory::Bindings(); }
const RecordBindings& ItemNonInventoryBindings() { return ItemNonInventory::Bindings(); }
const RecordBindings& ItemOtherChargeBindings() { return ItemOtherCharge::Bindings(); }
const RecordBindings& ItemSubtotalBindings() { return ItemSubtotal::Bindings(); }
const RecordBindings& ItemGroupBindings() { return ItemGroup::Bindings(); }
const RecordBindings& ItemDiscountBindings() { return ItemDiscount::Bindings(); }
const RecordBindings& ItemPaymentBindings() { return ItemPayment::Bindings(); }
const RecordBindings& ItemSalesTaxBindings() { return ItemSalesTax::Bindings(); }
const RecordBindings& ItemSalesTaxGroupBindings() { return ItemSalesTaxGroup::Bindings(); }
const RecordBindings& ItemAssemblyBindings() { return ItemAssembly::Bindings(); }
const RecordBindings& ItemFixedAssetBindings() { return ItemFixedAsset::Bindings(); }
std::shared_ptr<ListCollectionCore> NewItemsCollection() { return std::make_shared<Items>(); }

}  // namespace brennock
