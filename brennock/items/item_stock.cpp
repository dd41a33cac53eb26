#include "brennock/internal/items/item_stock.h"

#include "brennock/errors/qc_errors.h"
#include "brennock/internal/qbxml/request_writer.h"
#include "brennock/internal/xml/element_tree.h"

namespace brennock {
namespace {

using S = StockItem;

constexpr char kReorderPoint[] = "ReorderPoint";
constexpr char kBuildPoint[] = "BuildPoint";

const StockItem& Stock(const qcBase& record) { return static_cast<const StockItem&>(record); }

}  // namespace

template <const char* PointElement>
constexpr auto StockItem::StockRows() {
  using R = codecs::Ref;
  using T = codecs::Text;
  using F = SingleCodec;
  constexpr uint16_t kAll = kInAdd | kInMod | kInRet;
  constexpr uint16_t kTaxCodesFor = kInAdd | kInMod | kNotInSchema;
  return std::array<Binding<qcBase>, 20>{{
      SessionGated<&S::salesTaxCode_, R, &UsEditionSession>("SalesTaxCodeRef", kAll),
      SessionGated<&S::taxCodeForPurchase_, R, &NonUsEditionSession>("TaxCodeForPurchaseRef",
                                                                     kTaxCodesFor),
      SessionGated<&S::taxCodeForSale_, R, &NonUsEditionSession>("TaxCodeForSaleRef", kTaxCodesFor),
      Bind<&S::salesDesc_, T>("SalesDesc", kAll),
      Bind<&S::salesPrice_, F>("SalesPrice", kAll),
      Bind<&S::incomeAccount_, R>("IncomeAccountRef", kInAdd | kInRet),
      Bind<&S::purchaseDesc_, T>("PurchaseDesc", kAll),
      Bind<&S::purchaseCost_, F>("PurchaseCost", kAll),
      Bind<&S::cogsAccount_, R>("COGSAccountRef", kAll),
      Bind<&S::vendor_, R>("PrefVendorRef", kAll),
      Bind<&S::assetAccount_, R>("AssetAccountRef", kAll),
      // Written once set; a point read from QuickBooks counts as set.
      {PointElement, kAll,
       [](qcBase& r, const FieldElement& x) {
         auto& s = static_cast<StockItem&>(r);
         F::Read(s.point_, x);
         s.pointSet_ = true;
       },
       [](const qcBase& r, RequestWriter& b, std::string_view name, uint16_t f, BodyForm form) {
         if (Stock(r).pointSet_) F::Write(Stock(r).point_, b, name, f, form);
       },
       nullptr, qbxml::ValueType::kFloat},
      Bind<&S::quantityOnHand_, F>("QuantityOnHand", kInAdd | kInRet),
      Bind<&S::totalValue_, codecs::Amount>("TotalValue", kInAdd),
      Bind<&S::inventoryDate_, codecs::Date>("InventoryDate", kInAdd),
      Bind<&S::averageCost_, F>("AverageCost", kInRet),
      Bind<&S::quantityOnOrder_, F>("QuantityOnOrder", kInRet),
      Bind<&S::quantityOnSalesOrder_, F>("QuantityOnSalesOrder", kInRet),
      // Filled only for assemblies.
      {"ItemInventoryAssemblyLine", kAll,
       [](qcBase& r, const FieldElement& x) {
         static_cast<ItemAssembly&>(r).Components()->AppendLoaded().FromDom(x);
       },
       [](const qcBase& r, RequestWriter& b, std::string_view name, uint16_t, BodyForm) {
         for (const auto& line : *static_cast<const ItemAssembly&>(r).Components())
           line->Write(b, name, true);
       },
       nullptr, qbxml::ValueType::kAggregate,
       // A component added to (or removed from) a saved assembly makes it Dirty.
       [](const qcBase& r) {
         return r.ObjectType() == qoObjectTypeItemAssembly &&
                static_cast<const ItemAssembly&>(r).Components()->Changed();
       }},
      TailRows()[0],
  }};
}

void StockItem::SetIsActive(bool value) {
  Set(isActive_, value, checks_->fields, Currency(checks_->fieldsVersion));
}

void StockItem::SetSalesTaxCode(const std::string& value) {
  SetRef(salesTaxCode_, value, checks_->fields, Currency(checks_->fieldsVersion));
}

void StockItem::SetTaxCodeForSale(const std::string& value) {
  RequireNonUS();
  SetRef(taxCodeForSale_, value, SetterCheck::kMinVersion, Currency(checks_->taxCodeForVersion));
}

void StockItem::SetTaxCodeForPurchase(const std::string& value) {
  RequireNonUS();
  SetRef(taxCodeForPurchase_, value, SetterCheck::kMinVersion,
         Currency(checks_->taxCodeForVersion));
}

void StockItem::SetIncomeAccount(const std::string& value) {
  SetRef(incomeAccount_, value, checks_->income, Currency(checks_->incomeVersion));
}

void StockItem::SetCOGSAccount(const std::string& value) {
  SetRef(cogsAccount_, value, checks_->fields, Currency(checks_->fieldsVersion));
}

void StockItem::SetAssetAccount(const std::string& value) {
  SetRef(assetAccount_, value, checks_->fields, Currency(checks_->fieldsVersion));
}

void StockItem::SetVendor(const std::string& value) {
  SetRef(vendor_, value, checks_->fields, Currency(checks_->fieldsVersion));
}

void StockItem::SetSalesDescription(const std::string& value) {
  Set(salesDesc_, value, checks_->fields, Currency(checks_->fieldsVersion));
}

void StockItem::SetSalesPrice(float value) {
  Set(salesPrice_, value, checks_->fields, Currency(checks_->fieldsVersion));
}

void StockItem::SetPurchaseDescription(const std::string& value) {
  Set(purchaseDesc_, value, checks_->fields, Currency(checks_->fieldsVersion));
}

void StockItem::SetPurchaseCost(float value) {
  Set(purchaseCost_, value, checks_->fields, Currency(checks_->fieldsVersion));
}

void StockItem::SetPoint(float value, SetterCheck check) {
  Set(point_, value, check, Currency(checks_->fieldsVersion));
  pointSet_ = true;
}

void StockItem::CheckRules(qcErrors& errors) {
  CheckName(errors);
  CheckSetRef(errors, salesTaxCode_, errInvalidSalesTaxCode, "SalesTaxCode");
  CheckRequiredRef(errors, cogsAccount_, errInvalidAccount, "COGSAccount");
  CheckRequiredRef(errors, incomeAccount_, errInvalidAccount, "Income");
  CheckRequiredRef(errors, assetAccount_, errInvalidAccount, "AssetAccount");
  CheckParentKind(errors);
  CheckSetRef(errors, vendor_, errInvalidVendor, "Vendor");
}

// ---- the two kinds ------------------------------------------------------------------------------

namespace {
constexpr StockItemChecks kInventoryChecks{SetterCheck::kMinVersion, 1, SetterCheck::kMinVersion, 1,
                                           1};
constexpr StockItemChecks kAssemblyChecks{SetterCheck::kGated, 2, SetterCheck::kMinVersion, 4, 4};

// Every stock row but the assembly lines.
template <size_t N>
constexpr auto WithoutLines(const std::array<Binding<qcBase>, N>& rows) {
  std::array<Binding<qcBase>, N - 1> out{};
  size_t next = 0;
  for (const auto& row : rows)
    if (row.element != "ItemInventoryAssemblyLine") out[next++] = row;
  return out;
}
}  // namespace

ItemInventory::ItemInventory()
    : StockItem(RegisteredKind<kObjectType>(), qbItemInventory, kInventoryChecks) {}

const RecordBindings& ItemInventory::Bindings() {
  BRENNOCK_BINDINGS(qcBase, HierarchicalHeadRows(), WithoutLines(StockRows<kReorderPoint>()),
                    std::array{TailRows()[1]});
}

ItemAssembly::ItemAssembly()
    : StockItem(RegisteredKind<kObjectType>(), qbItemAssembly, kAssemblyChecks) {}

const RecordBindings& ItemAssembly::Bindings() {
  BRENNOCK_BINDINGS(qcBase, HierarchicalHeadRows(), StockRows<kBuildPoint>(),
                    std::array{TailRows()[1]});
}

}  // namespace brennock
