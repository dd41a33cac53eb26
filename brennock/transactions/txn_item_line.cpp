// The rules of an item line: which owners take which property, what choosing an item fills in,
// and how amount, rate and quantity follow one another.
#include "brennock/transactions/txn_item_line.h"

#include <algorithm>

#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/collected_errors.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/session/session_checks.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/internal/session/version_check.h"
#include "brennock/internal/transactions/line_item_facts.h"
#include "brennock/items/item_group_lines.h"
#include "brennock/items/item_protocol.h"
#include "brennock/lists/account.h"
#include "brennock/model/qc_event_sink.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/transactions/txn_item_lines.h"
#include "brennock/values/convert_dtypes.h"
#include "brennock/xml/xml_document.h"

namespace brennock {
namespace {

constexpr std::string_view kClass = "txnItemLine";

// Line amounts: a product in double precision, to the currency's four places, halves to even.
Currency ToCurrency(double value) { return Currency(value); }

// Item kinds whose line takes no tax code from its item.
bool TakesNoTaxCode(qbEnumItemType type) {
  return type == qbItemFixedAsset || type == qbItemGroup || type == qbItemPayment ||
         type == qbItemSalesTaxGroup || type == qbItemSalesTax || type == qbItemSubtotal;
}

bool NonUS() { return Session().nonUSEdition; }

// The sink's Disabled flag forced to a value for a scope, and restored after it.
class SinkMute {
 public:
  SinkMute(qcEventSink* sink, bool disabled) : sink_(sink) {
    if (sink_ == nullptr) return;
    before_ = sink_->Disabled();
    sink_->SetDisabled(disabled);
  }
  ~SinkMute() {
    if (sink_ != nullptr) sink_->SetDisabled(before_);
  }
  SinkMute(const SinkMute&) = delete;
  SinkMute& operator=(const SinkMute&) = delete;

 private:
  qcEventSink* sink_;
  bool before_ = false;
};

}  // namespace

const txnItemLine::Rare& txnItemLine::NoRare() noexcept {
  static const Rare kNone;
  return kNone;
}

txnItemLine::txnItemLine() = default;
txnItemLine::~txnItemLine() = default;

txnItemLine::Rare& txnItemLine::MutableRare() {
  if (!rare_) rare_ = std::make_unique<Rare>();
  return *rare_;
}

// ---- owner, guards, state ----------------------------------------------------------------------

void txnItemLine::SetOwnerType(qoEnumListObjectType owner) noexcept {
  ownerType_ = owner;
  groupMember_ = owner == kGroupMemberOwner;
}

void txnItemLine::SetGroupMember(bool value) noexcept {
  groupMember_ = value;
  if (value) ownerType_ = kGroupMemberOwner;
}

void txnItemLine::SetEventSink(std::shared_ptr<qcEventSink> sink) {
  if (sink || rare_) MutableRare().sink = std::move(sink);
  if (txnItemLines* members = MembersIfAny()) members->SetEventSink(SharedSink());
}

void txnItemLine::SetCustomerTaxCode(const std::string& value) {
  if (!value.empty() || rare_) MutableRare().customerTaxCode = value;
}

qcEventSink* txnItemLine::Sink() const noexcept {
  if (collection_ != nullptr) return collection_->sink_.get();
  return rare_ ? rare_->sink.get() : nullptr;
}

std::shared_ptr<qcEventSink> txnItemLine::SharedSink() const {
  if (collection_ != nullptr) return collection_->sink_;
  return rare_ ? rare_->sink : nullptr;
}

const std::string& txnItemLine::CustomerTaxCode() const noexcept {
  if (collection_ != nullptr) return collection_->customerTaxCode_;
  return RareOrNone().customerTaxCode;
}

void txnItemLine::LeaveCollection() noexcept {
  if (collection_ == nullptr) return;
  try {
    Rare& rare = MutableRare();
    rare.sink = collection_->sink_;
    rare.customerTaxCode = collection_->customerTaxCode_;
  } catch (...) {
    // No memory for the block: the line goes on without a sink (nobody hears its events), as a
    // line that never was in a collection.
  }
  collection_ = nullptr;
}

void txnItemLine::SetBaseQuantity(float value) {
  if (value != 0 || rare_) MutableRare().baseQuantity = value;
}

bool txnItemLine::IsGroupMemberLine() const noexcept { return groupMember_; }

bool txnItemLine::IsTaxable() const {
  if (!taxableKnown_) {
    isTaxable_ = !salesTaxCode_.IsEmpty() && SalesTaxCodeIsTaxable(salesTaxCode_.FullName());
    taxableKnown_ = true;
  }
  return isTaxable_;
}

LineOwnerClass txnItemLine::OwnerClass() const {
  LineOwnerClass owner = OwnerClassOf(ownerType_);
  if (owner == LineOwnerClass::kNone) RaiseGeneral(kClass, "Unknown Transaction Type");
  return owner;
}

void txnItemLine::GuardMember() const {
  if (groupMember_) RaiseFromClass(kClass, errGroupMemberLine);
}

void txnItemLine::Guard() {
  if (loading_) return;
  CheckModify(false, kClass);
}

void txnItemLine::RequireOwner(std::initializer_list<qoEnumListObjectType> allowed) const {
  if (ownerType_ == 0) RaiseGeneral(kClass, "Unknown owner transaction type");
  if (std::find(allowed.begin(), allowed.end(), ownerType_) == allowed.end())
    RaiseFromClass(kClass, errPropertyNotForTxnType);
}

std::shared_ptr<qcItem> txnItemLine::ItemObject() const { return FindItem(item_.FullName()); }

qbEnumItemType txnItemLine::ItemTypeCode() const {
  if (itemType_ == 0 && !item_.IsEmpty()) {
    if (auto item = ItemObject()) itemType_ = item->ItemType();
  }
  return itemType_;
}

std::shared_ptr<txnItemLines>& txnItemLine::MemberLines() {
  std::shared_ptr<txnItemLines>& members = MutableRare().groupLines;
  if (!members) {
    members = std::make_shared<txnItemLines>();
    members->SetOwnerType(kGroupMemberOwner);
    members->SetGroupMembers(true);
    members->SetEventSink(SharedSink());
  }
  return members;
}

std::shared_ptr<txnItemLines> txnItemLine::GroupLines() {
  if (!isGroup_) RaiseFromClass(kClass, errGroupOnly);
  return MemberLines();
}

std::shared_ptr<DataExtensions> txnItemLine::CustomFields() { return CustomFieldsOf(ownerType_); }

int32_t txnItemLine::SaveLineExtensions(const std::string& TxnId) {
  int32_t errors = txnLineID_.empty() ? 0 : SavePendingValues(TxnId, txnLineID_.str());
  if (txnItemLines* members = MembersIfAny()) {
    for (const auto& member : *members) errors += member->SaveLineExtensions(TxnId);
  }
  return errors;
}

bool txnItemLine::HasPendingExtensions() const noexcept {
  if (HasPendingValues()) return true;
  const txnItemLines* members = MembersIfAny();
  return members != nullptr && members->HasPendingExtensions();
}

void txnItemLine::AdoptPendingExtensions(txnItemLine& sent) noexcept {
  AdoptPendingValues(sent);
  txnItemLines* members = MembersIfAny();
  txnItemLines* sentMembers = sent.MembersIfAny();
  if (members == nullptr || sentMembers == nullptr) return;
  const int32_t n = std::min(members->Count(), sentMembers->Count());
  for (int32_t i = 1; i <= n; ++i) members->Item(i)->AdoptPendingExtensions(*sentMembers->Item(i));
}

bool txnItemLine::HasChanges() const {
  if (state_ != qoObjectStateClean) return true;
  const txnItemLines* members = MembersIfAny();
  return members != nullptr && members->HasChanges();
}

// ---- the amount, rate and quantity ------------------------------------------------------------

void txnItemLine::Recompute() {
  if (isGroup_) {
    amount_ = MemberLines()->Total();
    return;
  }
  if (ownerType_ == qoObjectTypeEstimate) {
    const double base = static_cast<double>(cost_) * quantity_;
    const float markup = RareOrNone().markup;
    amount_ = markupIsPercent_ ? ToCurrency(base * (1 + static_cast<double>(markup) / 100))
                               : ToCurrency(base + markup);
    return;
  }
  if (amount_ != Currency() || cost_ <= 0 || quantity_ <= 0) {
    if (amount_ > Currency() && cost_ == 0 && quantity_ > 0) {
      cost_ = static_cast<float>(amount_.ToDouble() / quantity_);
      return;
    }
    if (amount_ > Currency() && quantity_ == 0 && cost_ > 0) {
      quantity_ = static_cast<float>(amount_.ToDouble() / cost_);
      return;
    }
  }
  amount_ = ToCurrency(static_cast<double>(quantity_) * cost_);
}

void txnItemLine::AmountChanged() {
  if (loading_) return;
  if (qcEventSink* sink = Sink()) sink->Raise(qoEventAmountChange, std::string());
}

void txnItemLine::SetAmount(Currency value) {
  GuardMember();
  Guard();
  if (ItemTypeCode() == qbItemSubtotal) RaiseFromClass(kClass, errAmountNotModifiable);
  amount_ = value;
  costIsPercent_ = false;
  cost_ = quantity_ != 0 && quantity_ != 1 ? static_cast<float>(value.ToDouble() / quantity_)
                                           : static_cast<float>(value.ToDouble());
  Recompute();
  AmountChanged();
}

void txnItemLine::SetQuantity(float value) {
  GuardMember();
  Guard();
  quantity_ = value;
  quantitySet_ = true;
  if (isGroup_) {
    for (const auto& member : *MemberLines()) member->quantity_ = member->BaseQuantity() * value;
  } else if (auto item = ItemTypeCode() == qbItemInventory ? ItemObject() : nullptr) {
    CheckInsufficientQuantity(*item);
  }
  Recompute();
  AmountChanged();
}

void txnItemLine::SetCost(float value) {
  GuardMember();
  Guard();
  cost_ = value;
  Recompute();
  AmountChanged();
}

void txnItemLine::SetCostIsPercent(bool value) {
  GuardMember();
  if (value)
    RequireOwner({qoObjectTypeEstimate, qoObjectTypeCreditMemo, qoObjectTypeSalesReceipt,
                  qoObjectTypeInvoice, qoObjectTypePurchaseOrder});
  Guard();
  costIsPercent_ = value;
}

void txnItemLine::SetMarkup(float value) {
  if (ownerType_ != qoObjectTypeEstimate) RaiseFromClass(kClass, errMarkupEstimatesOnly);
  Guard();
  MutableRare().markup = value;
  Recompute();
  AmountChanged();
}

void txnItemLine::SetMarkupIsPercent(bool value) {
  if (ownerType_ != qoObjectTypeEstimate) RaiseFromClass(kClass, errMarkupEstimatesOnly);
  Guard();
  markupIsPercent_ = value;
  Recompute();
}

void txnItemLine::SetDescription(const std::string& value) {
  Guard();
  description_ = value;
}

// ---- references -------------------------------------------------------------------------------

void txnItemLine::SetClass(const std::string& value) {
  GuardMember();
  Guard();
  class_.SetFullName(value);
}

void txnItemLine::SetCustomer(const std::string& value) {
  GuardMember();
  if (OwnerClass() != LineOwnerClass::kPurchase) RaiseFromClass(kClass, errPropertyNotForTxnType);
  if (!value.empty() && !ResolveListObject(qoListCustomers, value))
    RaiseFromClass(kClass, errCustomerNotFound);
  Guard();
  MutableRare().customer.SetFullName(value);
}

void txnItemLine::SetServiceDate(Date value) {
  GuardMember();
  RequireOwner({qoObjectTypeCreditMemo, qoObjectTypeSalesReceipt, qoObjectTypeInvoice,
                qoObjectTypePurchaseOrder});
  Guard();
  serviceDate_ = value;
}

void txnItemLine::SetSalesTaxCode(const std::string& value) {
  RequireOwner({qoObjectTypeInvoice, qoObjectTypeSalesReceipt, qoObjectTypeCreditMemo,
                qoObjectTypeEstimate, qoObjectTypeSalesOrder});
  RequireUSEdition();
  if (!value.empty() && !SalesTaxCodeExists(value)) RaiseFromClass(kClass, errSalesTaxCodeNotFound);
  Guard();
  salesTaxCode_.SetFullName(value);
  isTaxable_ = !value.empty() && SalesTaxCodeIsTaxable(value);
  taxableKnown_ = true;
  Recompute();
  AmountChanged();
}

void txnItemLine::SetTaxCode(const std::string& value) {
  RequireNonUSEdition();
  Guard();
  MutableRare().taxCode.SetFullName(value);
}

void txnItemLine::SetOverrideAccount(const std::string& value) {
  RequireOwner({qoObjectTypeInvoice, qoObjectTypeSalesReceipt});
  auto account = std::dynamic_pointer_cast<Account>(ResolveListObject(qoListAccounts, value));
  if (!account) RaiseFromClass(kClass, errInvalidAccount);
  if (account->AccountType() == qbNonPosting) RaiseFromClass(kClass, errNonPostingAccount);
  Guard();
  MutableRare().overrideAccount.SetFullName(value);
}

void txnItemLine::SetBillableStatus(qbEnumBillableStatus value) {
  RequireOwner({qoObjectTypeBill, qoObjectTypeCheck, qoObjectTypeVendorCredit,
                qoObjectTypeCreditCardCharge, qoObjectTypeCreditCardCredit,
                qoObjectTypeItemReceipt});
  RequireQbxmlVersion(2);
  Guard();
  billableStatus_ = value;
}

void txnItemLine::SetLinkedTxnId(const std::string& value) {
  Guard();
  MutableRare().linkedTxnID = value;
}

void txnItemLine::SetLinkedTxnLineId(const std::string& value) {
  Guard();
  MutableRare().linkedTxnLineID = value;
}

void txnItemLine::SetInvoiced(Currency value) {
  RequireOwner({qoObjectTypeSalesOrder});
  Guard();
  MutableRare().invoiced = value;
}

void txnItemLine::SetIsManuallyClosed(Currency value) {
  RequireOwner({qoObjectTypeSalesOrder});
  Guard();
  MutableRare().isManuallyClosed = value;
}

void txnItemLine::SetOther1(const std::string& value) {
  RequireQbxmlVersion(6);
  Guard();
  MutableRare().other1 = value;
}

void txnItemLine::SetOther2(const std::string& value) {
  RequireQbxmlVersion(6);
  Guard();
  MutableRare().other2 = value;
}

// ---- choosing the item ------------------------------------------------------------------------

void txnItemLine::CheckInsufficientQuantity(const qcItem& item) {
  if (OwnerClassOf(ownerType_) != LineOwnerClass::kSales || loading_) return;
  if (item.ItemType() != qbItemInventory || SessionQbxmlVersion() <= Currency(2)) return;
  if (AvailableQuantity(item) >= quantity_) return;
  if (OnInsuficientQuantity) OnInsuficientQuantity(FindItem(item.FullName()));
  if (qcEventSink* sink = Sink()) {
    SinkMute enabled(sink, false);
    sink->Raise(qoEventNoQuantity, item.FullName());
  }
}

// The line's code from the item's and the owner's customer's: a taxable item takes the
// customer's code when there is one; a non-taxable item keeps its own unless the customer's is
// non-taxable too.
void txnItemLine::ChooseTaxCode(const qcItem& item) {
  if (TakesNoTaxCode(item.ItemType())) {
    salesTaxCode_.SetFullName({});
    isTaxable_ = false;
    taxableKnown_ = true;
    return;
  }
  const std::string itemCode = item.SalesTaxCode();
  const std::string& customerCode = CustomerTaxCode();
  std::string chosen;
  if (itemCode.empty()) {
    chosen = customerCode;
  } else if (SalesTaxCodeIsTaxable(itemCode)) {
    chosen = customerCode.empty() ? itemCode : customerCode;
  } else {
    const bool customerNonTaxable = !customerCode.empty() && SalesTaxCodeExists(customerCode) &&
                                    !SalesTaxCodeIsTaxable(customerCode);
    chosen = customerNonTaxable ? customerCode : itemCode;
  }
  salesTaxCode_.SetFullName(chosen);
  isTaxable_ = !chosen.empty() && SalesTaxCodeIsTaxable(chosen);
  taxableKnown_ = true;
}

void txnItemLine::ExpandGroup(const qcItem& item) {
  isGroup_ = true;
  quantity_ = 1;
  class_.SetFullName({});
  markupIsPercent_ = true;
  if (rare_) {
    rare_->customer.SetFullName({});
    rare_->markup = 0;
  }
  amount_ = Currency();
  std::shared_ptr<txnItemLines>& members = MemberLines();
  members->Reset();
  members->SetLoading(true);
  // The members choose their tax codes with the transaction's customer code as it is now.
  members->SetCustomerTaxCode(CustomerTaxCode());
  const bool purchase = OwnerClass() == LineOwnerClass::kPurchase;
  const bool usSales = !purchase && !NonUS();
  if (std::shared_ptr<itemGroupLines> definition = GroupDefinition(item)) {
    for (const auto& line : *definition) {
      std::shared_ptr<qcItem> member = FindItem(line->Item());
      std::string description;
      if (member)
        description = purchase ? member->PurchaseDescription() : member->SalesDescription();
      std::shared_ptr<txnItemLine> added = members->AddMember(
          line->Item(), line->Quantity() * quantity_, description, line->Quantity());
      if (!member) continue;
      // A member is priced and taxed as its item is on a line of its own.
      added->itemType_ = member->ItemType();
      added->cost_ = purchase ? member->PurchaseCost() : member->SalesCost();
      added->costIsPercent_ =
          purchase ? member->PurchaseCostIsPercent() : member->SalesCostIsPercent();
      if (usSales) added->ChooseTaxCode(*member);
    }
  }
  members->SetLoading(false);
}

void txnItemLine::SetItem(const std::string& value) {
  GuardMember();
  std::shared_ptr<qcItem> item = FindItem(value);
  if (!item) RaiseFromClass(kClass, errInvalidItem);
  Guard();
  if (txnItemLines* members = MembersIfAny()) members->Reset();
  SetItemFromItem(item);
}

void txnItemLine::SetItemFromItem(const std::shared_ptr<qcItem>& item) {
  const qbEnumItemType type = item->ItemType();
  const LineOwnerClass owner = OwnerClass();
  const bool purchase = owner == LineOwnerClass::kPurchase;
  const bool us = !NonUS();
  if (type == qbItemGroup) {
    item_.SetFullName(item->FullName());
    itemType_ = type;
    ExpandGroup(*item);
  } else {
    if (!loading_) isGroup_ = false;
    qcEventSink* sink = Sink();
    SinkMute muted(sink, true);
    switch (type) {
      case qbItemService:
      case qbItemInventory:
      case qbItemNonInventory:
      case qbItemOtherCharge:
      case qbItemAssembly:
      case qbItemFixedAsset:
        if (purchase && item->PurchaseCostIsPercent()) RaiseFromClass(kClass, errPercentOnPurchase);
        item_.SetFullName(item->FullName());
        if (purchase) {
          cost_ = item->PurchaseCost();
          costIsPercent_ = item->PurchaseCostIsPercent();
          description_ = item->PurchaseDescription();
        } else {
          cost_ = item->SalesCost();
          costIsPercent_ = item->SalesCostIsPercent();
          description_ = item->SalesDescription();
          if (us) salesTaxCode_.SetFullName(item->SalesTaxCode());
        }
        itemType_ = type;
        CheckInsufficientQuantity(*item);
        if (!us) MutableRare().taxCode.SetFullName(ItemTaxCode(*item, purchase));
        break;
      case qbItemSubtotal:
        item_.SetFullName(item->FullName());
        description_ = ItemDescription(*item);
        quantity_ = 0;
        cost_ = 0;
        break;
      case qbItemDiscount:
        if (purchase) RaiseFromClass(kClass, errUnsupportedItemType);
        cost_ = static_cast<float>(DiscountAmount(*item).ToDouble());
        costIsPercent_ = DiscountIsPercent(*item);
        description_ = ItemDescription(*item);
        quantity_ = 0;
        item_.SetFullName(item->FullName());
        salesTaxCode_.SetFullName(item->SalesTaxCode());
        break;
      case qbItemPayment:
        if (purchase || ownerType_ == qoObjectTypeEstimate)
          RaiseFromClass(kClass, errUnsupportedItemType);
        item_.SetFullName(item->FullName());
        break;
      case qbItemSalesTax:
      case qbItemSalesTaxGroup: {
        if (purchase) RaiseFromClass(kClass, errUnsupportedItemType);
        std::string param = item->FullName();
        if (sink != nullptr) {
          SinkMute asking(sink, false);
          sink->Raise(qoEventItemTaxCodeQuery, param);
        }
        if (param.empty()) RaiseFromClass(kClass, errTaxItemInHeader);
        item_.SetFullName(item->FullName());
        description_ = ItemDescription(*item);
        if (std::shared_ptr<qcItemTax> tax = ItemTax(item))
          cost_ = static_cast<float>(tax->TaxRate().ToDouble());
        costIsPercent_ = true;
        quantity_ = 1;
        break;
      }
      default:
        RaiseFromClass(kClass, errUnsupportedItemType);
    }
    itemType_ = type;
    if (quantity_ == 0) {
      quantity_ = 1;
      quantitySet_ = true;
    }
    if (us && owner == LineOwnerClass::kSales) ChooseTaxCode(*item);
  }
  if (owner == LineOwnerClass::kSales && !item->HasSalesAndPurchase() &&
      item->ContainsExpenseAccount() && !loading_) {
    if (qcEventSink* sink = Sink()) sink->Raise(qoEventWarning, "1");
  }
  Recompute();
  AmountChanged();
}

// ---- validation and grid editing --------------------------------------------------------------

bool txnItemLine::ValidateLine() {
  ClearErrorList();
  if (amount_ != Currency() && RareOrNone().overrideAccount.IsEmpty() &&
      item_.FullNameView().empty())
    AddTableError(*ErrorList(), errLineNeedsItem, "Item");
  return ErrorListEmpty();
}

bool txnItemLine::FieldCanBeUpdated(qoEnumFldTxn iFld) const {
  if (SessionQbxmlVersion() < Currency::FromScaled(21000) && state_ != qoObjectStateNew)
    return false;
  if (item_.IsEmpty()) return true;
  const qbEnumItemType type = ItemTypeCode();
  auto is = [type](std::initializer_list<qbEnumItemType> types) {
    return std::find(types.begin(), types.end(), type) != types.end();
  };
  switch (iFld) {
    case qoFldTxnItem:
    case qoFldTxnDescription:
      return !groupMember_;
    case qoFldTxnQuantity:
      if (is({qbItemService, qbItemNonInventory, qbItemOtherCharge})) {
        auto item = ItemObject();
        return !(item && item->SalesCostIsPercent());
      }
      return is({qbItemAssembly, qbItemGroup, qbItemInventory});
    case qoFldTxnCost:
      return is({qbItemAssembly, qbItemService, qbItemOtherCharge, qbItemNonInventory,
                 qbItemDiscount, qbItemInventory});
    case qoFldTxnServiceDate:
      return type != qbItemSubtotal;
    case qoFldTxnClass:
      return type != qbItemSubtotal && !groupMember_;
    case qoFldTxnAmount:
      return type != qbItemSubtotal && !isGroup_;
    case qoFldTxnTax:
      return !is({qbItemGroup, qbItemSubtotal, qbItemSalesTaxGroup, qbItemSalesTax, qbItemPayment});
    case qoFldTxnMarkup:
      return ownerType_ == qoObjectTypeEstimate &&
             is({qbItemAssembly, qbItemService, qbItemOtherCharge, qbItemNonInventory,
                 qbItemInventory});
    case qoFldTxnCustomer:
      return OwnerClassOf(ownerType_) == LineOwnerClass::kPurchase;
  }
  return false;
}

std::string txnItemLine::FieldDisplayString(qoEnumFldTxn iFld) const {
  switch (iFld) {
    case qoFldTxnItem:
      return Item();
    case qoFldTxnQuantity:
      return ModConvertDtypes::QuantityForDisplay(quantity_);
    case qoFldTxnDescription:
      return description_.str();
    case qoFldTxnCost:
      return costIsPercent_ ? "Standard" : ModConvertDtypes::TwoDecimals(cost_);
    case qoFldTxnServiceDate:
      return serviceDate_.IsNull() ? std::string() : ModConvertDtypes::DateForDisplay(serviceDate_);
    case qoFldTxnClass:
      return Class();
    case qoFldTxnAmount:
      return "Standard";
    case qoFldTxnTax:
      return SalesTaxCode();
    case qoFldTxnMarkup:
      return ModConvertDtypes::TwoDecimals(Markup());
    case qoFldTxnCustomer:
      return Customer();
  }
  return {};
}

void txnItemLine::FieldUpdate(qoEnumFldTxn iFld, const std::string& sData) {
  switch (iFld) {
    case qoFldTxnItem:
      return SetItem(sData);
    case qoFldTxnQuantity:
      return SetQuantity(ModConvertDtypes::TextToSingle(sData));
    case qoFldTxnDescription:
      return SetDescription(sData);
    case qoFldTxnCost:
      return SetCost(ModConvertDtypes::TextToSingle(sData));
    case qoFldTxnServiceDate: {
      Date date;
      if (!ModConvertDtypes::TryReadUserDate(sData, date))
        RaiseFromClass(kClass, errInvalidDateFormat);
      return SetServiceDate(date);
    }
    case qoFldTxnClass:
      return SetClass(sData);
    case qoFldTxnAmount:
      return SetAmount(ModConvertDtypes::TextToCurrency(sData));
    case qoFldTxnTax:
      return SetSalesTaxCode(sData);
    case qoFldTxnMarkup:
      return SetMarkup(ModConvertDtypes::TextToSingle(sData));
    case qoFldTxnCustomer:
      return SetCustomer(sData);
  }
}

void txnItemLine::Refresh() {
  xmlBldr builder;
  builder.NewClear();
  builder.OpenAggregate("CompanyQueryRq", "requestID", "1");
  builder.EndAggregate("CompanyQueryRq");
  builder.NewSendRequest();
  if (builder.ErrNumber() != 0)
    throw AutomationError(builder.ErrNumber(), "Company:Refresh", builder.ErrMsg());
}

}  // namespace brennock
