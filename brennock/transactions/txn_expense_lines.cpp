// The expense lines of a vendor form.
#include "brennock/transactions/txn_expense_lines.h"

#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/collection_support.h"
#include "brennock/internal/util/slab_allocator.h"
#include "brennock/model/qc_event_sink.h"

namespace brennock {
namespace {

constexpr const char* kClass = "txnExpenseLines";

}  // namespace

txnExpenseLines::txnExpenseLines() = default;
txnExpenseLines::~txnExpenseLines() = default;

std::shared_ptr<qcErrors> txnExpenseLines::Errors() {
  if (!errors_) errors_ = std::make_shared<qcErrors>();
  return errors_;
}

qoEnumObjectState txnExpenseLines::ObjectState() const {
  return HasChanges() ? qoObjectStateDirty : qoObjectStateClean;
}

bool txnExpenseLines::HasChanges() const {
  if (removed_) return true;
  for (const auto& line : lines_)
    if (line->ObjectState() != qoObjectStateClean) return true;
  return false;
}

Currency txnExpenseLines::Total() const noexcept {
  Currency total;
  for (const auto& line : lines_) total += line->Amount();
  return total;
}

void txnExpenseLines::SetEventSink(std::shared_ptr<qcEventSink> sink) {
  sink_ = std::move(sink);
  for (const auto& line : lines_) line->SetEventSink(sink_);
}

void txnExpenseLines::AmountChanged() {
  if (sink_) sink_->Raise(qoEventAmountChange, std::string());
}

std::shared_ptr<txnExpenseLine> txnExpenseLines::Add(const std::string& Account, Currency Amount,
                                                     const std::string& Memo,
                                                     const std::string& Class,
                                                     const std::string& Customer, int32_t Before) {
  if (errors_) errors_->Clear();
  auto line = MakeSlabShared<txnExpenseLine>();
  // The owner hears of the new line once, after it is filled and filed.
  line->SetLoading(true);
  if (!Account.empty()) line->SetAccount(Account);
  if (Amount != Currency()) line->SetAmount(Amount);
  if (!Memo.empty()) line->SetMemo(Memo);
  if (!Class.empty()) line->SetClass(Class);
  if (!Customer.empty()) line->SetCustomer(Customer);
  line->SetLoading(false);
  line->SetEventSink(sink_);
  if (Before >= 1 && Before <= Count()) {
    lines_.insert(lines_.begin() + (Before - 1), line);
  } else {
    lines_.push_back(line);
  }
  AmountChanged();
  return line;
}

std::shared_ptr<txnExpenseLine> txnExpenseLines::Item(int32_t index) const {
  if (!ItemExists(index)) RaiseCollectionPositionOutOfRange(kClass);
  return lines_[static_cast<size_t>(index - 1)];
}

void txnExpenseLines::Clear() {
  if (lines_.empty()) return;
  lines_.clear();
  removed_ = true;
  AmountChanged();
}

void txnExpenseLines::Remove(int32_t index) {
  if (!ItemExists(index)) RaiseCollectionPositionOutOfRange(kClass);
  lines_.erase(lines_.begin() + (index - 1));
  removed_ = true;
  AmountChanged();
}

txnExpenseLine& txnExpenseLines::AppendLoaded() {
  auto line = MakeSlabShared<txnExpenseLine>();
  line->SetEventSink(sink_);
  lines_.push_back(line);
  return *line;
}

void txnExpenseLines::Reset() noexcept {
  lines_.clear();
  removed_ = false;
}

void txnExpenseLines::TrimTrailingEmpty() {
  while (!lines_.empty() && lines_.back()->IsEmpty()) {
    lines_.pop_back();
    removed_ = true;
  }
}

void txnExpenseLines::Write(RequestWriter& builder, bool ret, bool mod) {
  for (const auto& line : lines_) line->WriteLine(builder, ret, mod);
}

}  // namespace brennock
