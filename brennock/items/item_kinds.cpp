#include "brennock/items/item_kinds.h"

#include <cmath>

#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/collected_errors.h"
#include "brennock/internal/qbxml/request_writer.h"
#include "brennock/internal/util/text.h"
#include "brennock/internal/xml/element_tree.h"
#include "brennock/items/item_blocks.h"

namespace brennock {
namespace {

constexpr uint16_t kAll = kInAdd | kInMod | kInRet;
constexpr uint16_t kAddRet = kInAdd | kInRet;
using T = codecs::Text;
using R = codecs::Ref;

// Lines read from an owner's repeated element and written back one aggregate each.
template <class Owner>
constexpr Binding<qcBase> LineRow(std::string_view element) {
  return {element, kAddRet,
          [](qcBase& r, const FieldElement& x) {
            static_cast<Owner&>(r).GroupLines()->AppendLoaded().FromDom(x);
          },
          [](const qcBase& r, RequestWriter& b, std::string_view name, uint16_t, BodyForm) {
            for (const auto& line : *static_cast<const Owner&>(r).GroupLines())
              line->Write(b, name, false);
          },
          nullptr, qbxml::ValueType::kAggregate,
          // A line added to (or removed from) a saved item makes it Dirty.
          [](const qcBase& r) { return static_cast<const Owner&>(r).GroupLines()->Changed(); }};
}

// The item a line names, as an item.
std::shared_ptr<qcItem> LineItem(const itemGroupLine& line) {
  return std::dynamic_pointer_cast<qcItem>(ResolveListObject(qoListItems, line.Item()));
}

}  // namespace

// ---- subtotal ---------------------------------------------------------------------------------

ItemSubtotal::ItemSubtotal() : ItemRecord(RegisteredKind<kObjectType>(), qbItemSubtotal) {}

// A Mod changes the description only.
const RecordBindings& ItemSubtotal::Bindings() {
  BRENNOCK_BINDINGS(qcBase, FlatHeadRows(0),
                    std::array{Bind<&ItemSubtotal::description_, T>("ItemDesc", kAll)}, TailRows());
}

void ItemSubtotal::CheckRules(qcErrors& errors) {
  if (name_.empty()) {
    errors.Add(0, "Name", "Name must be entered");
  } else if (Utf8Length(name_) > 31) {
    errors.Add(0, "Name", "Name length cannot exceed 31");
  }
}

// ---- group ------------------------------------------------------------------------------------

ItemGroup::ItemGroup() : ItemRecord(RegisteredKind<kObjectType>(), qbItemGroup) {}

const RecordBindings& ItemGroup::Bindings() {
  BRENNOCK_BINDINGS(
      qcBase, FlatHeadRows(0),
      std::array{Bind<&ItemGroup::description_, T>("ItemDesc", kAddRet | kSkipEmpty),
                 Bind<&ItemGroup::printItemsInGroup_, codecs::Bool>("IsPrintItemsInGroup", kAddRet),
                 LineRow<ItemGroup>("ItemGroupLine")},
      TailRows());
}

bool ItemGroup::ContainsExpenseAccount() const {
  for (const auto& line : *lines_) {
    auto item = LineItem(*line);
    if (item && item->ContainsExpenseAccount()) return true;
  }
  return false;
}

void ItemGroup::CheckRules(qcErrors& errors) {
  CheckName(errors);
  for (const auto& line : *lines_) {
    if (line->Quantity() == 0) continue;
    auto item = LineItem(*line);
    if (item && item->ItemType() == qbItemDiscount)
      AddTableError(errors, errDiscountQuantityOrAssetDate, "GroupLine", kMsgDiscountQuantity);
  }
}

// ---- discount ---------------------------------------------------------------------------------

ItemDiscount::ItemDiscount() : ItemRecord(RegisteredKind<kObjectType>(), qbItemDiscount) {}

const RecordBindings& ItemDiscount::Bindings() {
  using D = ItemDiscount;
  // A zero amount writes neither; else the one the amount is.
  constexpr auto rate = [](const qcBase& r, RequestWriter& b, std::string_view name, uint16_t f,
                           BodyForm form) {
    const auto& d = static_cast<const D&>(r);
    if (d.amount_ == Currency()) return;
    if (d.amountIsPercent_ == (name == "DiscountRatePercent"))
      PriceCodec::Write(d.amount_, b, name, f, form);
  };
  BRENNOCK_BINDINGS(qcBase, HierarchicalHeadRows(),
                    std::array<Binding<qcBase>, 5>{{
                        Bind<&D::description_, T>("ItemDesc", kAll | kSkipEmpty),
                        Bind<&D::salesTaxCode_, R>("SalesTaxCodeRef", kAll),
                        {"DiscountRate", kAll,
                         [](qcBase& r, const FieldElement& x) {
                           PriceCodec::Read(static_cast<D&>(r).amount_, x);
                           static_cast<D&>(r).amountIsPercent_ = false;
                         },
                         rate, nullptr, qbxml::ValueType::kPrice},
                        {"DiscountRatePercent", kAll,
                         [](qcBase& r, const FieldElement& x) {
                           PercentCodec::Read(static_cast<D&>(r).amount_, x);
                           static_cast<D&>(r).amountIsPercent_ = true;
                         },
                         rate, nullptr, qbxml::ValueType::kPercent},
                        Bind<&D::account_, R>("AccountRef", kAll),
                    }},
                    TailRows());
}

void ItemDiscount::CheckRules(qcErrors& errors) {
  CheckName(errors);
  CheckParentKind(errors);
  CheckRequiredRef(errors, salesTaxCode_, errInvalidSalesTaxCode, "ItemDiscount.SalesTaxCode");
  CheckRequiredRef(errors, account_, errInvalidAccount, "Account");
}

// ---- payment ----------------------------------------------------------------------------------

ItemPayment::ItemPayment() : ItemRecord(RegisteredKind<kObjectType>(), qbItemPayment) {}

// The deposit account goes by ListID when it is known.
const RecordBindings& ItemPayment::Bindings() {
  using P = ItemPayment;
  BRENNOCK_BINDINGS(
      qcBase, FlatHeadRows(0),
      std::array<Binding<qcBase>, 3>{{
          Bind<&P::description_, T>("ItemDesc", kAddRet | kSkipEmpty),
          {"DepositToAccountRef", kAddRet,
           [](qcBase& r, const FieldElement& x) { static_cast<P&>(r).depositTo_.FromDom(x); },
           [](const qcBase& r, RequestWriter& b, std::string_view name, uint16_t, BodyForm) {
             WriteBlockRef(static_cast<const P&>(r).depositTo_, b, name);
           },
           nullptr, qbxml::ValueType::kRef},
          Bind<&P::paymentMethod_, R>("PaymentMethodRef", kAddRet),
      }},
      TailRows());
}

// ---- sales tax --------------------------------------------------------------------------------

ItemSalesTax::ItemSalesTax() : ItemRecord(RegisteredKind<kObjectType>(), qbItemSalesTax) {}

const RecordBindings& ItemSalesTax::Bindings() {
  using S = ItemSalesTax;
  BRENNOCK_BINDINGS(qcBase, FlatHeadRows(kInMod),
                    std::array{Bind<&S::description_, T>("ItemDesc", kAll | kSkipEmpty),
                               Bind<&S::taxRate_, PercentCodec>("TaxRate", kAll),
                               Bind<&S::vendor_, R>("TaxVendorRef", kAll)},
                    TailRows());
}

Currency ItemSalesTax::CalculateTax(Currency Amount) const {
  return Amount * taxRate_ / Currency(100);
}

void ItemSalesTax::CheckRules(qcErrors& errors) {
  CheckName(errors);
  CheckRequiredRef(errors, vendor_, errInvalidVendor, "Vendor");
}

// ---- sales tax group --------------------------------------------------------------------------

ItemSalesTaxGroup::ItemSalesTaxGroup()
    : ItemRecord(RegisteredKind<kObjectType>(), qbItemSalesTaxGroup) {}

// Each line is one ItemSalesTaxRef; a line read back counts once.
const RecordBindings& ItemSalesTaxGroup::Bindings() {
  using G = ItemSalesTaxGroup;
  BRENNOCK_BINDINGS(
      qcBase, FlatHeadRows(0),
      std::array<Binding<qcBase>, 2>{{
          Bind<&G::description_, T>("ItemDesc", kAddRet | kSkipEmpty),
          {"ItemSalesTaxRef", kAddRet,
           [](qcBase& r, const FieldElement& x) {
             itemGroupLine& line = static_cast<G&>(r).lines_->AppendLoaded();
             line.ItemRef()->FromDom(x);
             line.SetLoadedQuantity(1);
           },
           [](const qcBase& r, RequestWriter& b, std::string_view name, uint16_t, BodyForm) {
             for (const auto& line : *static_cast<const G&>(r).lines_) {
               b.OpenAggregateOnly(name);
               b.CreateElement("FullName", line->ItemName());
               b.EndAggregate(name);
             }
           },
           nullptr, qbxml::ValueType::kRef,
           [](const qcBase& r) { return static_cast<const G&>(r).lines_->Changed(); }},
      }},
      TailRows());
}

Currency ItemSalesTaxGroup::TaxRate() const {
  Currency sum;
  for (const auto& line : *lines_) {
    auto tax = std::dynamic_pointer_cast<qcItemTax>(LineItem(*line));
    if (tax) sum += tax->TaxRate();
  }
  return sum;
}

Currency ItemSalesTaxGroup::CalculateTax(Currency Amount) const {
  double tax = Amount.ToDouble() * (TaxRate().ToDouble() / 100);
  return Currency(std::round(tax * 10000) / 10000);
}

bool ItemSalesTaxGroup::ContainsTax(const std::string& TaxCode) const {
  if (TaxCode == name_) return true;
  for (const auto& line : *lines_) {
    if (line->ItemName() == TaxCode) return true;
  }
  return false;
}

void ItemSalesTaxGroup::CheckRules(qcErrors& errors) {
  CheckName(errors);
  for (const auto& line : *lines_) {
    if (line->Quantity() != 1) AddTableError(errors, errTaxGroupQuantity, "GroupLine");
  }
}

// ---- fixed asset ------------------------------------------------------------------------------

ItemFixedAsset::ItemFixedAsset() : ItemRecord(RegisteredKind<kObjectType>(), qbItemFixedAsset) {}

void ItemFixedAsset::ReadSalesInfo(qcBase& record, const FieldElement& element) {
  auto& asset = static_cast<ItemFixedAsset&>(record);
  for (FieldElement child : element.Children()) {
    std::string_view name = child.baseName();
    if (name == "SalesDesc") {
      T::Read(asset.salesDesc_, child);
    } else if (name == "SalesDate") {
      codecs::Date::Read(asset.salesDate_, child);
    } else if (name == "SalesPrice") {
      PriceCodec::Read(asset.salesPrice_, child);
    } else if (name == "SalesExpense") {
      PriceCodec::Read(asset.salesExpense_, child);
    }
  }
}

// Written only once the asset has a sale (a description or a date).
void ItemFixedAsset::WriteSalesInfo(const qcBase& record, RequestWriter& builder,
                                    std::string_view element, uint16_t flags, BodyForm form) {
  const auto& asset = static_cast<const ItemFixedAsset&>(record);
  if (asset.salesDesc_.empty() && asset.salesDate_.IsNull()) return;
  builder.OpenAggregateOnly(element);
  T::Write(asset.salesDesc_, builder, "SalesDesc", flags, form);
  codecs::Date::Write(asset.salesDate_, builder, "SalesDate", flags, form);
  PriceCodec::Write(asset.salesPrice_, builder, "SalesPrice", flags, form);
  PriceCodec::Write(asset.salesExpense_, builder, "SalesExpense", flags, form);
  builder.EndAggregate(element);
}

const RecordBindings& ItemFixedAsset::Bindings() {
  using F = ItemFixedAsset;
  constexpr uint16_t kText = kAll | kSkipEmpty;
  BRENNOCK_BINDINGS(
      qcBase, FlatHeadRows(kInMod),
      std::array<Binding<qcBase>, 9>{{
          {"AcquiredAs", kAll,
           [](qcBase& r, const FieldElement& x) {
             std::string scratch;
             static_cast<F&>(r).acquiredAsNew_ = x.TextView(scratch) != "Old";
           },
           [](const qcBase& r, RequestWriter& b, std::string_view name, uint16_t, BodyForm) {
             b.CreateElement(name, static_cast<const F&>(r).acquiredAsNew_ ? "New" : "Old");
           },
           nullptr, qbxml::ValueType::kText},
          Bind<&F::purchaseDesc_, T>("PurchaseDesc", kText),
          Bind<&F::purchaseDate_, codecs::Date>("PurchaseDate", kAll),
          Bind<&F::purchaseCost_, PriceCodec>("PurchaseCost", kAll),
          Bind<&F::vendorOrPayeeName_, T>("VendorOrPayeeName", kText),
          Bind<&F::assetAccount_, R>("AssetAccountRef", kAll),
          {"FixedAssetSalesInfo", kAddRet, &ReadSalesInfo, &WriteSalesInfo},
          {"FixedAssetSalesInfoMod", kInMod, nullptr, &WriteSalesInfo},
          Bind<&F::assetDesc_, T>("AssetDesc", kText),
      }},
      std::array<Binding<qcBase>, 9>{{
          Bind<&F::location_, T>("Location", kText),
          Bind<&F::poNumber_, T>("PONumber", kText),
          Bind<&F::serialNumber_, T>("SerialNumber", kText),
          Bind<&F::warrantyExpDate_, codecs::Date>("WarrantyExpDate", kAll),
          Bind<&F::notes_, T>("Notes", kText),
          Bind<&F::assetNumber_, T>("AssetNumber", kText),
          Bind<&F::costBasis_, codecs::Amount>("CostBasis", kAll),
          Bind<&F::yearEndDepreciation_, codecs::Amount>("YearEndAccumulatedDepreciation", kAll),
          Bind<&F::yearEndBookValue_, codecs::Amount>("YearEndBookValue", kAll),
      }},
      TailRows());
}

void ItemFixedAsset::CheckRules(qcErrors& errors) {
  CheckName(errors);
  CheckRequiredRef(errors, assetAccount_, errInvalidAccount, "AssetAccount");
  if (purchaseDate_.IsNull())
    AddTableError(errors, errDiscountQuantityOrAssetDate, "PurchaseDate", kMsgAssetPurchaseDate);
  if (purchaseDesc_.empty()) AddTableError(errors, errAssetPurchaseDesc, "PurchaseDesc");
}

}  // namespace brennock
