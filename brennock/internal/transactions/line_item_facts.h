#pragma once

#include <memory>
#include <string>

#include "brennock/enums/list_enums.h"
#include "brennock/values/currency.h"

namespace brennock {

class qcItem;
class qcItemTax;
class itemGroupLines;

// What a transaction line needs to know of an item beyond the item protocol, whatever its class.
// Each answers the empty value for an item of a kind without it.

// The item of that full name in the company's Items list (asking QuickBooks when not loaded);
// null when there is none.
std::shared_ptr<qcItem> FindItem(const std::string& fullName);
// The one description of subtotal, discount, payment, sales tax, tax group and group items.
std::string ItemDescription(const qcItem& item);
// A discount item's amount or percentage.
Currency DiscountAmount(const qcItem& item);
bool DiscountIsPercent(const qcItem& item);
// The tax side of a sales tax item or group; null for any other item.
std::shared_ptr<qcItemTax> ItemTax(const std::shared_ptr<qcItem>& item);
// What an inventory item has to sell: on hand less what open sales orders hold.
float AvailableQuantity(const qcItem& item);
// The non-US tax code an item takes on sales or on purchases.
std::string ItemTaxCode(const qcItem& item, bool purchase);
// The lines of a group item's definition; null for any other item.
std::shared_ptr<itemGroupLines> GroupDefinition(const qcItem& item);
// Whether the sales tax code of that name is taxable; false for none or an unknown code.
bool SalesTaxCodeIsTaxable(const std::string& fullName);
// Whether a sales tax code of that name exists.
bool SalesTaxCodeExists(const std::string& fullName);

}  // namespace brennock
