#include "simulator/lists/list_types.h"

#include <array>
#include <string>
#include <unordered_map>
#include <vector>

#include "brennock/internal/registry/record_registry.h"

namespace brennock::simulator {
namespace {

struct Tables {
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
    for (const RecordKind& kind : ListRegistry()) {
      if (kind.Has(kMixed)) continue;  // a query over other lists, nothing stored of its own
      const qbxml::Aggregate* ret = qbxml::FindAggregate(std::string(kind.stem) + "Ret");
      if (!ret) continue;  // a list QuickBooks does not answer with records (TaxCodes)
      t.types.push_back({&kind, kind.stem, kind.nameSpace, kind.Has(kCanAdd), kind.Has(kCanModify),
                         kind.Has(kCanDelete), ret->name, ret->elements});
    }
    // "<stem>Ref" names its own list; "<name space>Ref" any list of a shared name space
    // ("ItemRef", "EntityRef", "TermsRef").
    for (const auto& type : t.types) {
      t.targets[std::string(type.name) + "Ref"] = {&type};
      if (type.name_space != type.name)
        t.targets[std::string(type.name_space) + "Ref"].push_back(&type);
    }
    // References whose element name is not a list's: QuickBooks' own rules.
    auto same = [&t](std::string_view ref, std::string_view as) {
      t.targets[std::string(ref)] = t.targets.at(std::string(as));
    };
    auto set = [&t](std::string_view ref, std::initializer_list<std::string_view> lists) {
      auto& v = t.targets[std::string(ref)];
      v.clear();
      for (auto l : lists) v.push_back(Lookup(t.types, l));
    };
    same("ItemInventoryRef", "ItemRef");
    same("ItemGroupRef", "ItemRef");
    same("PayeeEntityRef", "EntityRef");
    set("SalesRepEntityRef", {"Employee", "Vendor", "OtherName"});
    same("PrefVendorRef", "VendorRef");
    same("TaxVendorRef", "VendorRef");
    set("ItemSalesTaxRef", {"ItemSalesTax", "ItemSalesTaxGroup"});
    same("DefaultItemSalesTaxRef", "ItemSalesTaxRef");
    same("PreferredPaymentMethodRef", "PaymentMethodRef");
    same("DefaultShipMethodRef", "ShipMethodRef");
    same("HomeCurrencyRef", "CurrencyRef");
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
  if (targets.size() > 1) return targets[0]->name_space;  // "Item", "Entity", "Terms"
  if (targets[0]->name == "Customer") return "Customer:Job";
  return targets[0]->name;
}

}  // namespace brennock::simulator
