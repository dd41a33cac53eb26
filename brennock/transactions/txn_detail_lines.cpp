#include "brennock/transactions/txn_detail_lines.h"

#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/collection_support.h"
#include "brennock/internal/model/codecs.h"
#include "brennock/internal/qbxml/request_writer.h"
#include "brennock/internal/util/slab_allocator.h"
#include "brennock/model/qc_event_sink.h"

namespace brennock {
namespace {

constexpr const char* kCollection = "txnDetailLines";

void RaiseAmountChange(const std::shared_ptr<qcEventSink>& sink) {
  if (sink) sink->Raise(qoEventAmountChange, std::string());
}

}  // namespace

// QuickBooks answers a credit as SetCredit with AppliedAmount; older answers name it Amount.
const BindingTable<txnDetailLine>& txnDetailLine::Bindings() {
  using D = txnDetailLine;
  BRENNOCK_BINDINGS(
      D, std::array{Bind<&D::creditTxnID_, codecs::Text, D>("CreditTxnID", kInRet),
                    Bind<&D::amount_, codecs::Amount, D>("AppliedAmount", kInRet),
                    Bind<&D::amount_, codecs::Amount, D>("Amount", kInRet | kNotInSchema)});
}

void txnDetailLine::SetAmount(Currency value) {
  const Currency before = amount_;
  amount_ = value;
  try {
    RaiseAmountChange(sink_);
  } catch (...) {
    amount_ = before;  // the payment refused it
    throw;
  }
}

void txnDetailLine::FromDom(const FieldElement& element) {
  Bindings().Read(*this, element);
  state_ = qoObjectStateClean;
}

void txnDetailLine::WriteLine(RequestWriter& builder) const {
  builder.OpenAggregateOnly("SetCredit");
  builder.CreateElement("CreditTxnID", creditTxnID_);
  codecs::Amount::Write(amount_, builder, "AppliedAmount", 0, BodyForm::kAdd);
  builder.EndAggregate("SetCredit");
}

std::shared_ptr<txnDetailLine> txnDetailLines::AddCredit(const std::string& CreditTxnID,
                                                         Currency AppliedAmount) {
  if (errors_) errors_->Clear();
  auto line = MakeSlabShared<txnDetailLine>();
  line->SetCreditTxnID(CreditTxnID);
  line->amount_ = AppliedAmount;
  line->SetEventSink(sink_);
  items_.push_back(line);
  try {
    Changed();
  } catch (...) {
    items_.pop_back();
    throw;
  }
  return line;
}

std::shared_ptr<txnDetailLine> txnDetailLines::Item(int32_t index) const {
  if (!ItemExists(index)) RaiseCollectionPositionOutOfRange(kCollection);
  return items_[static_cast<size_t>(index - 1)];
}

void txnDetailLines::Remove(int32_t index) {
  if (!ItemExists(index)) RaiseCollectionPositionOutOfRange(kCollection);
  items_.erase(items_.begin() + (index - 1));
  Changed();
}

void txnDetailLines::Clear() {
  items_.clear();
  Changed();
}

std::shared_ptr<qcErrors> txnDetailLines::Errors() {
  if (!errors_) errors_ = std::make_shared<qcErrors>();
  return errors_;
}

Currency txnDetailLines::Total() const noexcept {
  Currency total;
  for (const auto& line : items_) total = total + line->Amount();
  return total;
}

void txnDetailLines::Changed() { RaiseAmountChange(sink_); }

}  // namespace brennock
