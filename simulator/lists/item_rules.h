#pragma once

#include <functional>
#include <optional>
#include <pugixml.hpp>
#include <string_view>

#include "simulator/lists/list_record.h"
#include "simulator/status_codes.h"

namespace brennock::simulator {

// QuickBooks' own rules for items, beyond those every list shares.

// True for the lists of the item name space (every kind of item).
bool IsItemList(const ListType& type);

// A new item (before: null) or a changed one: each account it names is of the type QuickBooks
// posts that side to (income for sales, cost of goods sold, an asset account for stock, a fixed
// asset account for fixed assets), and a sales tax group holds sales tax items only. load finds a
// stored record by ListID.
Status CheckItem(const ListRecord& item, const ListRecord* before,
                 const std::function<std::optional<ListRecord>(std::string_view)>& load);

}  // namespace brennock::simulator
