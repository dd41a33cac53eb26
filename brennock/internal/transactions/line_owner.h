#pragma once

#include <string_view>

#include "brennock/enums/object_enums.h"
#include "brennock/internal/model/binding.h"

namespace brennock {

// The transactions that own item lines fall into two classes: sales owners take an item's sales
// price, description and tax code; purchase owners its cost and purchase description, and take a
// customer and a billable status on each line.
enum class LineOwnerClass { kNone, kSales, kPurchase };

// A member line inside an item group line has this owner type.
inline constexpr qoEnumListObjectType kGroupMemberOwner = qoObjectTypeItemGroup;

LineOwnerClass OwnerClassOf(qoEnumListObjectType owner) noexcept;
bool IsSalesOwner(qoEnumListObjectType owner) noexcept;
bool IsPurchaseOwner(qoEnumListObjectType owner) noexcept;

// The element a line is written as, by its owner and form: "InvoiceLineAdd",
// "InvoiceLineGroupMod", "ItemLineRet", "ItemGroupLineAdd" ... Empty for an owner without lines.
std::string_view LineElement(qoEnumListObjectType owner, bool group, BodyForm form) noexcept;
// The Ret element names of an owner's lines and group lines, as its responses carry them.
std::string_view LineRetElement(qoEnumListObjectType owner) noexcept;
std::string_view GroupRetElement(qoEnumListObjectType owner) noexcept;

}  // namespace brennock
