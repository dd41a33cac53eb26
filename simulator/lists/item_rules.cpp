#include "simulator/lists/item_rules.h"

#include <charconv>
#include <cstdio>
#include <span>
#include <string>

#include "brennock/util/text.h"
#include "simulator/lists/field_values.h"

namespace brennock::simulator {
namespace {

// The ListID of a stored reference value ("ListID<US>FullName").
std::string_view RefId(std::string_view stored) {
  return stored.substr(0, stored.find(kRefSeparator));
}
std::string_view RefName(std::string_view stored) {
  auto sep = stored.find(kRefSeparator);
  return sep == std::string_view::npos ? std::string_view() : stored.substr(sep + 1);
}

// The account types an account reference of an item may name; empty: any.
std::span<const std::string_view> AllowedTypes(std::string_view item, std::string_view element) {
  static constexpr std::string_view kIncome[] = {"Income", "OtherIncome"};
  static constexpr std::string_view kCogs[] = {"CostOfGoodsSold"};
  static constexpr std::string_view kStock[] = {"OtherCurrentAsset"};
  static constexpr std::string_view kFixed[] = {"FixedAsset"};
  static constexpr std::string_view kExpense[] = {"Expense", "OtherExpense", "CostOfGoodsSold"};
  if (element == "IncomeAccountRef") return kIncome;
  if (element == "COGSAccountRef") return kCogs;
  if (element == "ExpenseAccountRef") return kExpense;
  if (element == "AssetAccountRef") {
    if (item == "ItemFixedAsset") return kFixed;
    return kStock;
  }
  return {};
}

bool ReadNumber(std::string_view text, double& out) {
  text = Trim(text);
  auto r = std::from_chars(text.data(), text.data() + text.size(), out);
  return !text.empty() && r.ec == std::errc() && r.ptr == text.data() + text.size();
}

// A figure with up to five decimals, at least two ("0.40", "1.33333").
std::string Figure(double value) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%.5f", value);
  std::string out = buf;
  while (out.size() > 3 && out.back() == '0' && out[out.size() - 3] != '.') out.pop_back();
  return out;
}

std::string ChildRefId(pugi::xml_node block, const char* element) {
  return std::string(Trim(block.child(element).child_value("ListID")));
}

}  // namespace

bool IsItemList(const ListType& type) { return type.name_space == "Item"; }

Status CheckItem(const ListRecord& item, const ListRecord* before,
                 const std::function<std::optional<ListRecord>(std::string_view)>& load) {
  std::string_view kind = item.type->name;
  auto refuse = [&](const std::string& why) {
    return before ? MakeStatus(kCannotModify, {kind, before->full_name, why})
                  : MakeStatus(kCannotSave, {kind, item.name, why});
  };
  auto check = [&](std::string_view element, std::string_view id) -> Status {
    auto allowed = AllowedTypes(kind, element);
    if (allowed.empty() || id.empty()) return {};
    auto account = load(id);
    if (!account) return {};
    for (std::string_view type : allowed)
      if (account->account_type == type) return {};
    return refuse("The account \"" + account->full_name + "\" is of type " + account->account_type +
                  ", which " + std::string(element) + " of this item cannot name.");
  };
  for (const auto& [index, value] : item.fields) {
    const qbxml::Element& field = item.type->shape[index];
    if (field.type == qbxml::ValueType::kRef) {
      if (Status s = check(field.name, RefId(value)); !s.ok()) return s;
      if (kind == "ItemSalesTaxGroup" && field.name == "ItemSalesTaxRef") {
        auto tax = load(RefId(value));
        if (tax && tax->type->name != "ItemSalesTax")
          return refuse("A sales tax group holds sales tax items only; \"" +
                        std::string(RefName(value)) + "\" is a sales tax group.");
      }
    } else if (field.name == "SalesAndPurchase") {
      std::string text = "<B>" + value + "</B>";
      pugi::xml_document doc;
      if (!doc.load_buffer(text.data(), text.size())) continue;
      pugi::xml_node block = doc.first_child();
      for (auto element : {"IncomeAccountRef", "ExpenseAccountRef"})
        if (Status s = check(element, ChildRefId(block, element)); !s.ok()) return s;
    }
  }
  return {};
}

void SetOpeningStock(ListRecord& item, pugi::xml_node add) {
  int on_hand = item.type->field_index("QuantityOnHand");
  int average = item.type->field_index("AverageCost");
  if (on_hand < 0 || average < 0) return;
  double quantity = 0, value = 0, cost = 0;
  ReadNumber(add.child_value("QuantityOnHand"), quantity);
  bool valued = ReadNumber(add.child_value("TotalValue"), value);
  ReadNumber(add.child_value("PurchaseCost"), cost);
  double each = quantity != 0 && valued ? value / quantity : cost;
  item.SetField(static_cast<uint16_t>(average), Figure(each));
  std::string count = Figure(quantity);  // a whole quantity without decimals ("140")
  if (count.ends_with(".00")) count.resize(count.size() - 3);
  item.SetField(static_cast<uint16_t>(on_hand), count);
  // Nothing is on order or promised until purchase and sales orders exist.
  for (std::string_view field : {"QuantityOnOrder", "QuantityOnSalesOrder"})
    if (int at = item.type->field_index(field); at >= 0)
      item.SetField(static_cast<uint16_t>(at), "0");
}

}  // namespace brennock::simulator
