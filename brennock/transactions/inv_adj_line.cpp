#include "brennock/transactions/inv_adj_line.h"

#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/collected_errors.h"
#include "brennock/internal/errors/collection_support.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/items/item_stock.h"
#include "brennock/internal/model/codecs.h"
#include "brennock/internal/qbxml/request_writer.h"
#include "brennock/internal/transactions/line_item_facts.h"
#include "brennock/internal/util/slab_allocator.h"
#include "brennock/items/item_protocol.h"
#include "brennock/values/convert_dtypes.h"

namespace brennock {
namespace {

constexpr std::string_view kClass = "invAdjLine";

}  // namespace

// The rows of InventoryAdjustmentLineRet that a line keeps, in the schema's order. The Add form
// is written by WriteLine: the item, then the one adjustment aggregate the line makes.
const BindingTable<invAdjLine>& invAdjLine::Bindings() {
  using L = invAdjLine;
  constexpr uint16_t kRet = kInRet;
  BRENNOCK_BINDINGS(
      L, std::array{
             Bind<&L::lineID_, codecs::Text, L>("TxnLineID", kRet),
             Bind<&L::item_, codecs::Ref, L>("ItemRef", kInAdd | kRet),
             Bind<&L::quantityDifference_, codecs::Single, L>("QuantityDifference", kRet),
             Bind<&L::valueDifference_, codecs::Amount, L>("ValueDifference", kRet),
         });
}

void invAdjLine::SetItem(const std::string& value) {
  float onHand = 0, cost = 0;
  if (!value.empty()) {
    std::shared_ptr<qcItem> item = FindItem(value);
    if (!item) RaiseFromClass(kClass, errInvalidItem);
    if (item->ItemType() != qbItemInventory && item->ItemType() != qbItemAssembly)
      RaiseFromClass(kClass, errUnsupportedItemType);
    if (auto* stock = dynamic_cast<const StockItem*>(item.get())) {
      onHand = stock->QuantityOnHand();
      cost = stock->AverageCost();
    }
  }
  item_.SetFullName(value);
  quantityOnHand_ = onHand;
  averageCost_ = cost;
  currentValue_ = Currency(static_cast<double>(onHand) * static_cast<double>(cost));
  if (state_ == qoObjectStateClean) state_ = qoObjectStateDirty;
}

bool invAdjLine::IsValueAdjustment() const {
  if (valueDifference_ == Currency()) return false;
  const double atCost =
      static_cast<double>(quantityDifference_) * static_cast<double>(averageCost_);
  return valueDifference_ != Currency(atCost);
}

bool invAdjLine::Validate() {
  ClearErrorList();
  if (item_.IsEmpty()) AddTableError(*ErrorList(), errInvalidItem, "Item");
  return ErrorListEmpty();
}

void invAdjLine::FromDom(const FieldElement& element) {
  Bindings().Read(*this, element);
  state_ = qoObjectStateClean;
}

void invAdjLine::WriteLine(RequestWriter& builder, BodyForm form) const {
  if (form == BodyForm::kRet) {
    builder.OpenAggregateOnly("InventoryAdjustmentLineRet");
    Bindings().Write(*this, builder, BodyForm::kRet);
    builder.EndAggregate("InventoryAdjustmentLineRet");
    return;
  }
  builder.OpenAggregateOnly("InventoryAdjustmentLineAdd");
  codecs::Ref::Write(item_, builder, "ItemRef", 0, form);
  if (IsValueAdjustment()) {
    // QuickBooks takes the quantity and value the item is to have.
    builder.OpenAggregateOnly("ValueAdjustment");
    builder.CreateElement("NewQuantity",
                          ModConvertDtypes::QuantityToText(quantityOnHand_ + quantityDifference_));
    builder.CreateElement("NewValue",
                          ModConvertDtypes::AmountToText(currentValue_ + valueDifference_));
    builder.EndAggregate("ValueAdjustment");
  } else {
    builder.OpenAggregateOnly("QuantityAdjustment");
    builder.CreateElement("QuantityDifference",
                          ModConvertDtypes::QuantityToText(quantityDifference_));
    builder.EndAggregate("QuantityAdjustment");
  }
  builder.EndAggregate("InventoryAdjustmentLineAdd");
}

// ---- the collection -----------------------------------------------------------------------------

std::shared_ptr<invAdjLine> invAdjLines::Add(const std::string& Item, float QuantityDifference,
                                             Currency ValueDifference) {
  auto line = MakeSlabShared<invAdjLine>();
  if (!Item.empty()) line->SetItem(Item);
  if (QuantityDifference != 0) line->SetQuantityDifference(QuantityDifference);
  if (ValueDifference != Currency()) line->SetValueDifference(ValueDifference);
  return Insert(std::move(line), std::nullopt);
}

}  // namespace brennock
