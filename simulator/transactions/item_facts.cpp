#include "simulator/transactions/item_facts.h"

#include <pugixml.hpp>

#include "simulator/ledger/stock_figures.h"
#include "simulator/lists/field_values.h"

namespace brennock::simulator {
namespace {

// The children of a stored aggregate ("<Desc>..</Desc><Price>..</Price>...") as a document.
pugi::xml_node Parse(pugi::xml_document& doc, std::string_view stored) {
  std::string text = "<B>" + std::string(stored) + "</B>";
  if (!doc.load_buffer(text.data(), text.size())) return {};
  return doc.first_child();
}

std::string RefIdIn(pugi::xml_node block, const char* element) {
  return std::string(Trim(block.child(element).child_value("ListID")));
}

// Percent texts add up exactly in hundred-thousandths of a percent.
std::string AddPercents(const std::vector<std::string>& rates) {
  int64_t sum = 0;
  for (const auto& r : rates) sum += ParseQuantity(r).value_or(0);
  std::string text = FormatQuantity(sum);
  if (text.find('.') == std::string::npos)
    text += ".00";
  else if (text.size() - text.find('.') == 2)
    text += "0";
  return text;
}

}  // namespace

const ItemFacts* ItemCatalog::Find(std::string_view list_id) {
  auto it = items_.find(std::string(list_id));
  if (it != items_.end()) return &it->second;
  // The request keeps its own copy: a list change later in the request empties the session's.
  using Known = std::unordered_map<std::string, ItemFacts>;
  Known& known = lists_.company().facts().Get<Known>();
  if (auto hit = known.find(std::string(list_id)); hit != known.end())
    return &items_.emplace(hit->first, hit->second).first->second;
  auto record = lists_.LoadById(list_id);
  if (!record || record->type->name_space != "Item") return nullptr;
  ItemFacts f;
  f.list_id = record->list_id;
  f.ref = record->list_id + kRefSeparator + record->full_name;
  f.kind = record->type->name;
  f.tax_code_ref = record->Field("SalesTaxCodeRef");
  f.purchase_cost = record->Field("PurchaseCost");
  pugi::xml_document doc;
  if (auto block = record->Field("SalesOrPurchase"); !block.empty()) {
    pugi::xml_node b = Parse(doc, block);
    f.sales_desc = b.child_value("Desc");
    f.price = b.child_value("Price");
    f.percent = b.child_value("PricePercent");
    f.income_account = RefIdIn(b, "AccountRef");
    // One description, price and account serve buying and selling alike.
    f.purchase_desc = f.sales_desc;
    if (f.purchase_cost.empty()) f.purchase_cost = f.price;
    f.expense_account = f.income_account;
  } else if (auto both = record->Field("SalesAndPurchase"); !both.empty()) {
    pugi::xml_node b = Parse(doc, both);
    f.sales_desc = b.child_value("SalesDesc");
    f.price = b.child_value("SalesPrice");
    f.income_account = RefIdIn(b, "IncomeAccountRef");
    f.purchase_cost = b.child_value("PurchaseCost");
    f.purchase_desc = b.child_value("PurchaseDesc");
    f.expense_account = RefIdIn(b, "ExpenseAccountRef");
  } else {
    f.sales_desc = record->Field("SalesDesc");
    if (f.sales_desc.empty()) f.sales_desc = record->Field("ItemDesc");
    f.price = record->Field("SalesPrice");
    f.income_account = RefId(record->Field("IncomeAccountRef"));
  }
  f.cogs_account = RefId(record->Field("COGSAccountRef"));
  f.asset_account = RefId(record->Field("AssetAccountRef"));
  if (f.purchase_desc.empty()) f.purchase_desc = record->Field("PurchaseDesc");
  if (f.kind == "ItemFixedAsset") f.expense_account = f.asset_account;  // bought into the asset
  if (f.kind == "ItemDiscount") {
    f.price = record->Field("DiscountRate");
    f.percent = record->Field("DiscountRatePercent");
    f.income_account = RefId(record->Field("AccountRef"));
  } else if (f.kind == "ItemSalesTax") {
    f.percent = record->Field("TaxRate");
    f.tax_vendor = RefId(record->Field("TaxVendorRef"));
  } else if (f.kind == "ItemPayment") {
    f.income_account = RefId(record->Field("DepositToAccountRef"));
  } else if (f.kind == "ItemSalesTaxGroup") {
    int index = record->type->field_index("ItemSalesTaxRef");
    for (const auto& [i, v] : record->fields)
      if (i == index) f.tax_members.emplace_back(RefId(v));
  } else if (f.kind == "ItemInventoryAssembly") {
    int index = record->type->field_index("ItemInventoryAssemblyLine");
    for (const auto& [i, v] : record->fields) {
      if (i != index) continue;
      pugi::xml_document line_doc;
      pugi::xml_node line = Parse(line_doc, v);
      std::string_view quantity = Trim(line.child_value("Quantity"));
      f.components.emplace_back(RefIdIn(line, "ItemInventoryRef"),
                                ParseQuantity(quantity.empty() ? "1" : quantity).value_or(0));
    }
  } else if (f.kind == "ItemGroup") {
    f.print_items_in_group = record->Field("IsPrintItemsInGroup") == "true";
    int index = record->type->field_index("ItemGroupLine");
    for (const auto& [i, v] : record->fields) {
      if (i != index) continue;
      pugi::xml_document line_doc;
      pugi::xml_node line = Parse(line_doc, v);
      std::string ref = RefIdIn(line, "ItemRef");
      ref += kRefSeparator;
      ref += line.child("ItemRef").child_value("FullName");
      f.group.emplace_back(std::move(ref), line.child_value("Quantity"));
    }
  }
  lists_.company().facts().Get<Known>().emplace(list_id, f);
  return &items_.emplace(std::string(list_id), std::move(f)).first->second;
}

std::string ItemCatalog::TaxRate(const ItemFacts& tax) {
  if (tax.kind == "ItemSalesTax") return tax.percent.empty() ? "0.00" : tax.percent;
  std::vector<std::string> rates;
  for (const auto& member : tax.tax_members)
    if (const ItemFacts* m = Find(member)) rates.push_back(m->percent);
  return AddPercents(rates);
}

}  // namespace brennock::simulator
