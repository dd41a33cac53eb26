#include "simulator/lists/item_rules.h"

#include <span>
#include <string>

#include "brennock/internal/util/text.h"
#include "simulator/lists/field_values.h"

namespace brennock::simulator {
namespace {

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

}  // namespace brennock::simulator
