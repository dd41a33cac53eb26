// The lines of a transaction and QuickBooks' total pass over them.
#include "brennock/transactions/txn_item_lines.h"

#include <algorithm>

#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/collection_support.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/transactions/line_item_facts.h"
#include "brennock/internal/util/prefetch.h"
#include "brennock/internal/util/slab_allocator.h"
#include "brennock/items/item_protocol.h"
#include "brennock/model/qc_event_sink.h"

namespace brennock {
namespace {

constexpr std::string_view kLineClass = "txnItemLine";
constexpr std::string_view kClass = "txnItemLines";

Currency Percent(Currency base, float percent) {
  return Currency(base.ToDouble() * static_cast<double>(percent) / 100);
}

}  // namespace

// Lines the collection lets go of: those the client still holds keep what they used of it.
void txnItemLines::LetGo(const std::shared_ptr<txnItemLine>& line) noexcept {
  if (line.use_count() > 1) line->LeaveCollection();
}
void txnItemLines::LetGo(const std::vector<std::shared_ptr<txnItemLine>>& lines) noexcept {
  for (const auto& line : lines) LetGo(line);
}

txnItemLines::txnItemLines() = default;
txnItemLines::~txnItemLines() {
  // The lines are freed one after another, each waiting for its own members: all are asked for
  // first.
  for (const auto& line : lines_) PrefetchForRelease(line.get(), sizeof(txnItemLine));
  LetGo(lines_);
  if (awaiting_) LetGo(*awaiting_);
}

std::shared_ptr<qcErrors> txnItemLines::Errors() {
  if (!errors_) errors_ = std::make_shared<qcErrors>();
  return errors_;
}

qoEnumObjectState txnItemLines::ObjectState() const {
  return HasChanges() ? qoObjectStateDirty : qoObjectStateClean;
}

bool txnItemLines::HasChanges() const {
  if (removed_) return true;
  for (const auto& line : lines_)
    if (line->HasChanges()) return true;
  return false;
}

void txnItemLines::SetOwnerType(qoEnumListObjectType owner) {
  ownerType_ = owner;
  for (const auto& line : lines_) line->SetOwnerType(owner);
}

void txnItemLines::SetEventSink(std::shared_ptr<qcEventSink> sink) {
  sink_ = std::move(sink);
  // The lines report through the collection's sink; a group line's members through their own
  // collection's.
  for (const auto& line : lines_) {
    if (txnItemLines* members = line->MembersIfAny()) members->SetEventSink(sink_);
  }
}

void txnItemLines::SetCustomerTaxCode(const std::string& value) {
  customerTaxCode_ = value;  // the lines read it here
}

void txnItemLines::GuardChange() const {
  if (groupMembers_ && !loading_) RaiseFromClass(kLineClass, errGroupMemberLine);
}

std::shared_ptr<txnItemLine> txnItemLines::NewLine() {
  auto line = MakeSlabShared<txnItemLine>();
  line->SetOwnerType(ownerType_);
  line->SetGroupMember(groupMembers_);
  line->collection_ = this;
  return line;
}

std::shared_ptr<txnItemLine> txnItemLines::Add(const std::string& Item, float Quantity,
                                               const std::string& Description,
                                               const std::string& Class,
                                               const std::string& Customer, Date ServiceDate,
                                               int32_t BeforeIndex) {
  GuardChange();
  if (errors_) errors_->Clear();
  std::shared_ptr<txnItemLine> line = NewLine();
  line->SetLoading(loading_);
  if (!Class.empty()) line->SetClass(Class);
  if (!Customer.empty()) line->SetCustomer(Customer);
  if (Quantity != 0) line->SetQuantity(Quantity);
  if (!Item.empty()) line->SetItem(Item);
  if (!ServiceDate.IsNull()) line->SetServiceDate(ServiceDate);
  if (!Description.empty()) line->SetDescription(Description);
  line->SetLoading(false);
  if (BeforeIndex >= 1 && BeforeIndex <= Count()) {
    lines_.insert(lines_.begin() + (BeforeIndex - 1), line);
  } else {
    lines_.push_back(line);
  }
  if (!loading_ && sink_) sink_->Raise(qoEventAmountChange, std::string());
  return line;
}

std::shared_ptr<txnItemLine> txnItemLines::AddMember(const std::string& item, float quantity,
                                                     const std::string& description,
                                                     float baseQuantity) {
  std::shared_ptr<txnItemLine> line = NewLine();
  line->loading_ = true;
  line->item_.SetFullName(item);
  line->quantity_ = quantity;
  line->quantitySet_ = true;
  line->description_ = description;
  line->SetBaseQuantity(baseQuantity);
  line->loading_ = false;
  lines_.push_back(line);
  return line;
}

std::shared_ptr<txnItemLine> txnItemLines::Item(int32_t index) const {
  if (!ItemExists(index)) RaiseCollectionPositionOutOfRange(std::string(kClass));
  return lines_[static_cast<size_t>(index - 1)];
}

void txnItemLines::Clear() {
  GuardChange();
  if (!lines_.empty()) removed_ = true;
  LetGo(lines_);
  lines_.clear();
}

void txnItemLines::Remove(int32_t index) {
  GuardChange();
  if (!ItemExists(index)) RaiseCollectionPositionOutOfRange(std::string(kClass));
  const auto at = lines_.begin() + (index - 1);
  LetGo(*at);
  lines_.erase(at);
  removed_ = true;
}

txnItemLine& txnItemLines::AppendLoaded() {
  // Moved in: a copy would cost the line's count two atomic steps.
  lines_.push_back(NewLine());
  return *lines_.back();
}

void txnItemLines::Reset() {
  if (HasPendingExtensions()) {
    if (awaiting_) LetGo(*awaiting_);
    awaiting_ = std::make_unique<std::vector<std::shared_ptr<txnItemLine>>>(std::move(lines_));
  }
  LetGo(lines_);
  lines_.clear();
  removed_ = false;
  total_ = taxableTotal_ = Currency();
}

bool txnItemLines::HasPendingExtensions() const noexcept {
  for (const auto& line : lines_)
    if (line->HasPendingExtensions()) return true;
  return false;
}

void txnItemLines::HandOverPendingExtensions() noexcept {
  if (!awaiting_) return;
  const size_t n = std::min(awaiting_->size(), lines_.size());
  for (size_t i = 0; i < n; ++i) lines_[i]->AdoptPendingExtensions(*(*awaiting_)[i]);
  LetGo(*awaiting_);
  awaiting_.reset();
}

void txnItemLines::TrimTrailingEmpty() {
  while (!lines_.empty()) {
    const txnItemLine& last = *lines_.back();
    if (!last.item_.IsEmpty() || last.Amount() != Currency()) break;
    LetGo(lines_.back());
    lines_.pop_back();
    removed_ = true;
  }
}

void txnItemLines::Write(RequestWriter& builder, bool ret, bool mod) {
  for (const auto& line : lines_) line->WriteLine(builder, ret, mod);
}

// ---- totals -------------------------------------------------------------------------------------

Currency txnItemLines::Total() {
  RunTotals();
  return total_;
}

Currency txnItemLines::TaxableTotal() {
  RunTotals();
  return taxableTotal_;
}

// One pass in line order keeps the running total T, the taxable total X and the base B a
// following percentage line applies to. A taxable discount lowers the base a sales tax line after
// it sees: tax is charged on what the customer pays.
void txnItemLines::RunTotals() {
  Currency t, x, b, previous;
  for (const auto& line : lines_) {
    txnItemLine& l = *line;
    if (l.item_.IsEmpty()) {
      previous = l.Amount();
      continue;
    }
    const qbEnumItemType type = l.ItemTypeCode();
    switch (type) {
      case qbItemService:
      case qbItemNonInventory:
      case qbItemOtherCharge: {
        std::shared_ptr<qcItem> item = IsSalesOwner(ownerType_) ? l.ItemObject() : nullptr;
        if (item && item->SalesCostIsPercent()) l.SetRawAmount(Percent(previous, l.Cost()));
        [[fallthrough]];
      }
      case qbItemInventory:
      case qbItemAssembly:
      case qbItemFixedAsset:
        t += l.Amount();
        if (l.IsTaxable()) {
          x += l.Amount();
          b = l.Amount();
        } else {
          b = Currency();
        }
        break;
      case qbItemSubtotal:
        l.SetRawAmount(t);
        b = t;
        break;
      case qbItemGroup: {
        Currency g;
        for (const auto& member : *l.MemberLines()) {
          txnItemLine& m = *member;
          switch (m.ItemTypeCode()) {
            case qbItemService:
            case qbItemInventory:
            case qbItemNonInventory:
            case qbItemOtherCharge:
              m.SetRawAmount(Currency(static_cast<double>(m.Quantity()) * m.Cost()));
              g += m.Amount();
              if (m.IsTaxable()) x += m.Amount();
              break;
            case qbItemSubtotal:
              m.SetRawAmount(g);
              break;
            default:
              g += m.Amount();
              break;
          }
          b = m.IsTaxable() ? m.Amount() : Currency();
        }
        l.SetRawAmount(g);
        t += g;
        break;
      }
      case qbItemDiscount: {
        const Currency amount = l.CostIsPercent() ? -Percent(previous, l.Cost())
                                                  : -Currency(static_cast<double>(l.Cost()));
        l.SetRawAmount(amount);
        if (l.IsTaxable()) {
          x += amount;
          b += amount;
        }
        t += amount;
        break;
      }
      case qbItemPayment:
        t -= l.Amount();
        break;
      case qbItemSalesTax:
        if (l.CostIsPercent()) l.SetRawAmount(Percent(b, l.Cost()));
        t += l.Amount();
        break;
      case qbItemSalesTaxGroup: {
        std::shared_ptr<qcItemTax> tax = ItemTax(l.ItemObject());
        if (tax) l.SetRawAmount(tax->CalculateTax(b));
        t += l.Amount();
        break;
      }
      default:
        // An item that cannot be looked up (gone from the company) counts as it stands.
        t += l.Amount();
        break;
    }
    previous = l.Amount();
  }
  total_ = t;
  taxableTotal_ = x;
}

}  // namespace brennock
