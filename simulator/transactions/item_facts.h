#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "simulator/lists/list_store.h"

namespace brennock::simulator {

// What selling or buying an item needs from its record, whatever its kind: the description,
// price and accounts of its sales block, its tax code, and for tax items and groups their rates.
struct ItemFacts {
  std::string list_id;
  std::string ref;   // the stored reference value ("ListID<US>FullName")
  std::string kind;  // the list: "ItemService", "ItemInventory", "ItemDiscount" ...
  std::string sales_desc;
  std::string price;           // a sales price or discount rate; empty when none
  std::string percent;         // a percentage price, discount or tax rate; empty when none
  std::string income_account;  // sales postings (a discount's or payment's account too)
  std::string cogs_account, asset_account;
  std::string purchase_cost;
  std::string purchase_desc;
  std::string expense_account;           // what buying the item posts to, unless it is stocked
  std::string tax_code_ref;              // the item's SalesTaxCodeRef value
  std::string tax_vendor;                // a sales tax item's agency
  std::vector<std::string> tax_members;  // a sales tax group's items
  std::vector<std::pair<std::string, std::string>> group;  // an item group's (ItemRef, Quantity)
  // An assembly's components: (ListID, quantity per assembly in hundred-thousandths).
  std::vector<std::pair<std::string, int64_t>> components;
  bool print_items_in_group = false;

  bool stocked() const { return kind == "ItemInventory" || kind == "ItemInventoryAssembly"; }
};

// Reads items once per session while no list record changes; a request keeps its own copies.
class ItemCatalog {
 public:
  explicit ItemCatalog(ListStore& lists) : lists_(lists) {}
  // Null when the ListID names no item.
  const ItemFacts* Find(std::string_view list_id);
  // A sales tax item's or group's rate in percent, as text ("8.25"); "0.00" when unknown.
  std::string TaxRate(const ItemFacts& tax);

 private:
  ListStore& lists_;
  std::unordered_map<std::string, ItemFacts> items_;
};

}  // namespace brennock::simulator
