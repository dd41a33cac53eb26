#include "simulator/lists/list_types.h"

#include <array>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace brennock::simulator {
namespace {

struct ListRow {
  std::string_view name;
  std::string_view name_space;
  bool can_add, can_modify, can_delete;
};

// Every list the simulator keeps, with what QuickBooks allows on it.
constexpr ListRow kListRows[] = {
    {"Account", "Account", true, true, true},
    {"Customer", "Entity", true, true, true},
    {"Vendor", "Entity", true, true, true},
    {"Employee", "Entity", true, true, true},
    {"OtherName", "Entity", true, true, true},
    {"Class", "Class", true, true, true},
    {"CustomerType", "CustomerType", true, false, true},
    {"JobType", "JobType", true, false, true},
    {"VendorType", "VendorType", true, false, true},
    {"ShipMethod", "ShipMethod", true, false, true},
    {"PaymentMethod", "PaymentMethod", true, false, true},
    {"CustomerMsg", "CustomerMsg", true, false, true},
    {"SalesTaxCode", "SalesTaxCode", true, true, true},
    {"SalesRep", "SalesRep", true, true, true},
    {"ToDo", "ToDo", true, true, true},
    {"PayrollItemWage", "PayrollItem", true, true, true},
    {"PayrollItemNonWage", "PayrollItem", false, false, true},
    {"PriceLevel", "PriceLevel", true, true, true},
    {"Currency", "Currency", true, true, true},
    {"StandardTerms", "Terms", true, false, true},
    {"DateDrivenTerms", "Terms", true, false, true},
    {"Template", "Template", false, false, false},
    {"ItemService", "Item", true, true, true},
    {"ItemNonInventory", "Item", true, true, true},
    {"ItemOtherCharge", "Item", true, true, true},
    {"ItemInventory", "Item", true, true, true},
    {"ItemInventoryAssembly", "Item", true, true, true},
    {"ItemFixedAsset", "Item", true, true, true},
    {"ItemSubtotal", "Item", true, true, true},
    {"ItemDiscount", "Item", true, true, true},
    {"ItemPayment", "Item", true, true, true},
    {"ItemSalesTax", "Item", true, true, true},
    {"ItemSalesTaxGroup", "Item", true, true, true},
    {"ItemGroup", "Item", true, true, true},
};

struct Tables {
  std::vector<std::string> ret_names;
  std::vector<ListType> types;
  std::unordered_map<std::string, std::vector<const ListType*>> targets;
};

const ListType* Lookup(const std::vector<ListType>& types, std::string_view name) {
  for (const auto& t : types)
    if (t.name == name) return &t;
  return nullptr;
}

const Tables& GetTables() {
  static const Tables tables = [] {
    Tables t;
    t.ret_names.reserve(std::size(kListRows));
    for (const auto& row : kListRows) t.ret_names.push_back(std::string(row.name) + "Ret");
    for (size_t i = 0; i < std::size(kListRows); ++i) {
      const auto& row = kListRows[i];
      t.types.push_back({row.name, row.name_space, row.can_add, row.can_modify, row.can_delete,
                         t.ret_names[i], FindShape(t.ret_names[i])});
    }
    auto add = [&t](std::string_view ref, std::initializer_list<std::string_view> lists) {
      auto& v = t.targets[std::string(ref)];
      for (auto l : lists) v.push_back(Lookup(t.types, l));
    };
    std::vector<std::string_view> items, entities;
    for (const auto& type : t.types) {
      if (type.name_space == "Item") items.push_back(type.name);
      if (type.name_space == "Entity") entities.push_back(type.name);
    }
    for (auto ref : {"ItemRef", "ItemInventoryRef", "ItemGroupRef"})
      for (auto i : items) add(ref, {i});
    for (auto ref : {"EntityRef", "PayeeEntityRef"})
      for (auto e : entities) add(ref, {e});
    add("SalesRepEntityRef", {"Employee", "Vendor", "OtherName"});
    add("ClassRef", {"Class"});
    add("CustomerRef", {"Customer"});
    add("VendorRef", {"Vendor"});
    add("PrefVendorRef", {"Vendor"});
    add("TaxVendorRef", {"Vendor"});
    add("EmployeeRef", {"Employee"});
    add("CustomerTypeRef", {"CustomerType"});
    add("VendorTypeRef", {"VendorType"});
    add("JobTypeRef", {"JobType"});
    add("TermsRef", {"StandardTerms", "DateDrivenTerms"});
    add("SalesRepRef", {"SalesRep"});
    add("ItemSalesTaxRef", {"ItemSalesTax", "ItemSalesTaxGroup"});
    add("DefaultItemSalesTaxRef", {"ItemSalesTax", "ItemSalesTaxGroup"});
    add("PreferredPaymentMethodRef", {"PaymentMethod"});
    add("PaymentMethodRef", {"PaymentMethod"});
    add("ShipMethodRef", {"ShipMethod"});
    add("DefaultShipMethodRef", {"ShipMethod"});
    add("PriceLevelRef", {"PriceLevel"});
    add("CurrencyRef", {"Currency"});
    add("HomeCurrencyRef", {"Currency"});
    add("CustomerMsgRef", {"CustomerMsg"});
    add("TemplateRef", {"Template"});
    add("PayrollItemWageRef", {"PayrollItemWage"});
    return t;
  }();
  return tables;
}

bool EndsWith(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

}  // namespace

bool ListType::has_field(std::string_view field) const { return field_index(field) >= 0; }

int ListType::field_index(std::string_view field) const {
  for (size_t i = 0; i < shape.size(); ++i)
    if (shape[i].name == field) return static_cast<int>(i);
  return -1;
}

std::span<const ListType> AllListTypes() { return GetTables().types; }

const ListType* FindListType(std::string_view name) { return Lookup(GetTables().types, name); }

std::span<const ListType* const> ReferenceTargets(std::string_view ref_element) {
  const auto& tables = GetTables();
  static const std::array<const ListType*, 1> account{Lookup(tables.types, "Account")};
  static const std::array<const ListType*, 1> tax_code{Lookup(tables.types, "SalesTaxCode")};
  auto it = tables.targets.find(std::string(ref_element));
  if (it != tables.targets.end()) return it->second;
  if (EndsWith(ref_element, "AccountRef")) return account;
  if (EndsWith(ref_element, "TaxCodeRef")) return tax_code;
  return {};
}

std::string_view ReferenceKindName(std::string_view ref_element) {
  auto targets = ReferenceTargets(ref_element);
  if (targets.empty()) return "list element";
  if (targets.size() > 1) {
    if (targets[0]->name_space == "Item") return "Item";
    if (targets[0]->name_space == "Terms") return "Terms";
    return "Entity";
  }
  if (targets[0]->name == "Customer") return "Customer:Job";
  return targets[0]->name;
}

}  // namespace brennock::simulator
