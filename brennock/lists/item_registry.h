#pragma once

#include <memory>

#include "brennock/model/binding.h"

namespace brennock {

class ListCollectionCore;

// The item kinds' binding rows and the Items collection, for the registry's item rows. The items
// layer above provides them (brennock/items/item_registry.cpp).
const RecordBindings& ItemServiceBindings();
const RecordBindings& ItemInventoryBindings();
const RecordBindings& ItemNonInventoryBindings();
const RecordBindings& ItemOtherChargeBindings();
const RecordBindings& ItemSubtotalBindings();
const RecordBindings& ItemGroupBindings();
const RecordBindings& ItemDiscountBindings();
const RecordBindings& ItemPaymentBindings();
const RecordBindings& ItemSalesTaxBindings();
const RecordBindings& ItemSalesTaxGroupBindings();
const RecordBindings& ItemAssemblyBindings();
const RecordBindings& ItemFixedAssetBindings();
std::shared_ptr<ListCollectionCore> NewItemsCollection();

}  // namespace brennock
