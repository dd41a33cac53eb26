#include "brennock/internal/items/item_priced.h"

#include "brennock/errors/qc_errors.h"
#include "brennock/internal/util/slab_allocator.h"
#include "brennock/internal/xml/element_tree.h"

namespace brennock {
namespace {

constexpr PricedItemChecks kServiceChecks{SetterCheck::kMinVersion, 1, SetterCheck::kDirty, 3};
constexpr PricedItemChecks kNonInventoryChecks{SetterCheck::kGated, 2, SetterCheck::kGated, 3};
constexpr PricedItemChecks kOtherChargeChecks{SetterCheck::kMinVersion, 1, SetterCheck::kMinVersion,
                                              3};

PricedItem& Priced(qcBase& record) { return static_cast<PricedItem&>(record); }
const PricedItem& Priced(const qcBase& record) { return static_cast<const PricedItem&>(record); }

}  // namespace

// Reading a block element switches to a fresh block of its kind.
void PricedItem::ReadBlock(qcBase& record, const FieldElement& element) {
  PricedItem& item = Priced(record);
  if (element.baseName() == "SalesAndPurchase") {
    item.andBlock_ = MakeSlabShared<itemSalesAndPurchase>();
    item.orBlock_.reset();
    item.andBlock_->FromDom(element);
  } else {
    item.orBlock_ = MakeSlabShared<itemSalesOrPurchase>();
    item.andBlock_.reset();
    item.orBlock_->FromDom(element);
  }
}

// Each block element is written by the block the item uses.
void PricedItem::WriteBlock(const qcBase& record, RequestWriter& builder, std::string_view element,
                            uint16_t, BodyForm form) {
  const PricedItem& item = Priced(record);
  if (element.starts_with("SalesAndPurchase")) {
    if (item.andBlock_) item.andBlock_->Write(builder, element, form);
  } else if (!item.andBlock_) {
    item.SalesOrPurchase()->Write(builder, element, form);
  }
}

std::shared_ptr<itemSalesOrPurchase> PricedItem::SalesOrPurchase() const {
  if (!orBlock_ && !andBlock_) orBlock_ = MakeSlabShared<itemSalesOrPurchase>();
  return orBlock_;
}

template <class Kind>
constexpr auto PricedItem::PricedRows(bool withTaxCodesForInMod) {
  using R = codecs::Ref;
  constexpr uint16_t kAll = kInAdd | kInMod | kInRet;
  const uint16_t taxCodesFor = kInAdd | kNotInSchema | (withTaxCodesForInMod ? kInMod : 0);
  return JoinRows<qcBase>(
      HierarchicalHeadRows(),
      std::array<Binding<qcBase>, 7>{{
          SessionGated<&Kind::salesTaxCode_, R, &UsEditionSession>("SalesTaxCodeRef", kAll),
          SessionGated<&Kind::taxCodeForPurchase_, R, &NonUsEditionSession>("TaxCodeForPurchaseRef",
                                                                            taxCodesFor),
          SessionGated<&Kind::taxCodeForSale_, R, &NonUsEditionSession>("TaxCodeForSaleRef",
                                                                        taxCodesFor),
          {"SalesOrPurchase", kInAdd | kInRet, &ReadBlock, &WriteBlock},
          {"SalesAndPurchase", kInAdd | kInRet, &ReadBlock, &WriteBlock},
          {"SalesOrPurchaseMod", kInMod, nullptr, &WriteBlock},
          {"SalesAndPurchaseMod", kInMod, nullptr, &WriteBlock},
      }},
      TailRows());
}

void PricedItem::SetIsActive(bool value) {
  Set(isActive_, value, checks_->active, Currency(checks_->activeVersion));
}

void PricedItem::SetSalesTaxCode(const std::string& value) {
  SetRef(salesTaxCode_, value, checks_->salesTaxCode, Currency(checks_->activeVersion));
}

void PricedItem::SetTaxCodeForSale(const std::string& value) {
  RequireNonUS();
  SetRef(taxCodeForSale_, value, SetterCheck::kMinVersion, Currency(checks_->taxCodeForVersion));
}

void PricedItem::SetTaxCodeForPurchase(const std::string& value) {
  RequireNonUS();
  SetRef(taxCodeForPurchase_, value, SetterCheck::kMinVersion,
         Currency(checks_->taxCodeForVersion));
}

void PricedItem::UseSalesAndPurchase(bool value) {
  if (value) {
    andBlock_ = MakeSlabShared<itemSalesAndPurchase>();
    orBlock_.reset();
  } else {
    orBlock_ = MakeSlabShared<itemSalesOrPurchase>();
    andBlock_.reset();
  }
}

qoEnumObjectState PricedItem::ObjectState() const {
  if (state_ != qoObjectStateClean) return state_;
  qoEnumObjectState block = andBlock_  ? andBlock_->ObjectState()
                            : orBlock_ ? orBlock_->ObjectState()
                                       : qoObjectStateClean;
  return block == qoObjectStateDirty ? qoObjectStateDirty : qoObjectStateClean;
}

std::string PricedItem::SalesDescription() const {
  if (andBlock_) return andBlock_->SalesDescription();
  return orBlock_ ? orBlock_->Description() : std::string();
}

std::string PricedItem::PurchaseDescription() const {
  if (andBlock_) return andBlock_->PurchaseDescription();
  return orBlock_ ? orBlock_->Description() : std::string();
}

float PricedItem::SalesCost() const {
  if (andBlock_) return andBlock_->SalesPrice();
  return orBlock_ ? orBlock_->Amount() : 0;
}

float PricedItem::PurchaseCost() const {
  if (andBlock_) return andBlock_->PurchaseCost();
  return orBlock_ ? orBlock_->Amount() : 0;
}

void PricedItem::CheckRules(qcErrors& errors) {
  CheckName(errors);
  CheckParentKind(errors);
  CheckSetRef(errors, salesTaxCode_, errInvalidSalesTaxCode, "SalesTaxCode");
  bool valid = andBlock_ ? andBlock_->Validate() : SalesOrPurchase()->CheckRules();
  if (valid) return;
  auto blockErrors = andBlock_ ? andBlock_->Errors() : orBlock_->Errors();
  for (const auto& error : *blockErrors)
    errors.Add(error->Number(), error->Field(), error->Description());
}

// ---- the three kinds ----------------------------------------------------------------------------

ItemService::ItemService()
    : PricedItem(RegisteredKind<kObjectType>(), qbItemService, kServiceChecks) {}

const RecordBindings& ItemService::Bindings() {
  BRENNOCK_BINDINGS(qcBase, PricedRows<ItemService>(true));
}

ItemNonInventory::ItemNonInventory()
    : PricedItem(RegisteredKind<kObjectType>(), qbItemNonInventory, kNonInventoryChecks) {}

const RecordBindings& ItemNonInventory::Bindings() {
  BRENNOCK_BINDINGS(qcBase, PricedRows<ItemNonInventory>(true));
}

ItemOtherCharge::ItemOtherCharge()
    : PricedItem(RegisteredKind<kObjectType>(), qbItemOtherCharge, kOtherChargeChecks) {}

void ItemOtherCharge::SetHasSalesAndPurchase(bool value) {
  Guard(SetterCheck::kMinVersion, Currency(1));
  UseSalesAndPurchase(value);
}

// Its Mod carries the sales tax code only, never the tax codes for sale and purchase.
const RecordBindings& ItemOtherCharge::Bindings() {
  BRENNOCK_BINDINGS(qcBase, PricedRows<ItemOtherCharge>(false));
}

}  // namespace brennock
