#include "brennock/transactions/txn_applied_to.h"

#include "brennock/enums/list_enums.h"
#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/collection_support.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/model/codecs.h"
#include "brennock/internal/qbxml/request_writer.h"
#include "brennock/internal/util/slab_allocator.h"
#include "brennock/lists/account.h"
#include "brennock/model/qc_event_sink.h"
#include "brennock/transactions/txn_references.h"

namespace brennock {
namespace {

constexpr const char* kCollection = "txnAppliedTos";
constexpr std::string_view kClass = "txnAppliedTo";

void RaiseAmountChange(const std::shared_ptr<qcEventSink>& sink) {
  if (sink) sink->Raise(qoEventAmountChange, std::string());
}

void ReadCredit(txnAppliedTo& entry, const FieldElement& element) {
  auto credit = MakeSlabShared<txnDetailLine>();
  credit->FromDom(element);
  entry.Credits()->Append(std::move(credit));
}

}  // namespace

// The rows of AppliedToTxnRet; the request forms are written by WriteLine.
const BindingTable<txnAppliedTo>& txnAppliedTo::Bindings() {
  using E = txnAppliedTo;
  constexpr uint16_t kR = kInRet;
  BRENNOCK_BINDINGS(
      E, std::array{Bind<&E::txnID_, codecs::Text, E>("TxnID", kR),
                    Bind<&E::txnType_, codecs::EnumTag<qoeObjectType>, E>("TxnType", kR),
                    Bind<&E::txnDate_, codecs::Date, E>("TxnDate", kR),
                    Bind<&E::refNumber_, codecs::Text, E>("RefNumber", kR),
                    Bind<&E::balanceRemaining_, codecs::Amount, E>("BalanceRemaining", kR),
                    Bind<&E::amount_, codecs::Amount, E>("Amount", kR),
                    Binding<E>{"SetCredit", kR | kNotInSchema, &ReadCredit, nullptr},
                    Bind<&E::discountAmount_, codecs::Amount, E>("DiscountAmount", kR),
                    Bind<&E::discountAccount_, codecs::Ref, E>("DiscountAccountRef", kR)});
}

void txnAppliedTo::FromDom(const FieldElement& element) {
  Bindings().Read(*this, element);
  state_ = qoObjectStateClean;
}

void txnAppliedTo::ChangeAmount(Currency& member, Currency value) {
  const Currency before = member;
  member = value;
  if (state_ == qoObjectStateClean) state_ = qoObjectStateDirty;
  try {
    RaiseAmountChange(sink_);
  } catch (...) {
    member = before;
    throw;
  }
}

void txnAppliedTo::SetAmount(Currency value) { ChangeAmount(amount_, value); }

void txnAppliedTo::SetDiscountAmount(Currency value) { ChangeAmount(discountAmount_, value); }

void txnAppliedTo::SetDiscountAccount(const std::string& value) {
  if (std::shared_ptr<Account> account = RequireTxnAccount(kClass, value)) {
    switch (account->AccountType()) {
      case qbIncome:
      case qbExpense:
      case qbOtherIncome:
      case qbOtherExpense:
        break;
      default:
        RaiseFromClass(kClass, errInvalidDiscountAccount);
    }
  }
  discountAccount_.SetFullName(value);
}

std::shared_ptr<txnDetailLines> txnAppliedTo::Credits() {
  if (!credits_) {
    credits_ = std::make_shared<txnDetailLines>();
    credits_->SetEventSink(sink_);
  }
  return credits_;
}

void txnAppliedTo::SetEventSink(std::shared_ptr<qcEventSink> sink) {
  sink_ = std::move(sink);
  if (credits_) credits_->SetEventSink(sink_);
}

bool txnAppliedTo::Validate() {
  ClearErrorList();
  return ErrorListEmpty();
}

void txnAppliedTo::WriteLine(RequestWriter& builder, BodyForm form) const {
  if (form == BodyForm::kRet) {
    builder.OpenAggregateOnly("AppliedToTxnRet");
    Bindings().Write(*this, builder, BodyForm::kRet);
    builder.EndAggregate("AppliedToTxnRet");
    return;
  }
  // The Add and Mod aggregates hold the same elements.
  const std::string_view element = form == BodyForm::kAdd ? "AppliedToTxnAdd" : "AppliedToTxnMod";
  builder.OpenAggregateOnly(element);
  builder.CreateElement("TxnID", txnID_);
  codecs::Amount::Write(amount_, builder, "PaymentAmount", 0, form);
  if (credits_) {
    for (const auto& credit : *credits_) credit->WriteLine(builder);
  }
  if (discountAmount_ != Currency()) {
    codecs::Amount::Write(discountAmount_, builder, "DiscountAmount", 0, form);
    codecs::Ref::Write(discountAccount_, builder, "DiscountAccountRef", 0, form);
  }
  builder.EndAggregate(element);
}

// ---- the collection -----------------------------------------------------------------------------

std::shared_ptr<txnAppliedTo> txnAppliedTos::Add(const std::string& TxnId, Currency PaymentAmount,
                                                 Currency DiscountAmount,
                                                 const std::string& DiscountAccount) {
  if (errors_) errors_->Clear();
  auto entry = MakeSlabShared<txnAppliedTo>();
  entry->SetTxnId(TxnId);
  entry->SetDiscountAccount(DiscountAccount);
  entry->amount_ = PaymentAmount;
  entry->discountAmount_ = DiscountAmount;
  entry->SetEventSink(sink_);
  items_.push_back(entry);
  try {
    RaiseAmountChange(sink_);
  } catch (...) {
    items_.pop_back();  // refused by the payment: the entry was never added
    throw;
  }
  changed_ = true;
  return entry;
}

std::shared_ptr<txnAppliedTo> txnAppliedTos::Item(int32_t index) const {
  if (!ItemExists(index)) RaiseCollectionPositionOutOfRange(kCollection);
  return items_[static_cast<size_t>(index - 1)];
}

void txnAppliedTos::Remove(int32_t index) {
  if (!ItemExists(index)) RaiseCollectionPositionOutOfRange(kCollection);
  items_.erase(items_.begin() + (index - 1));
  changed_ = true;
  RaiseAmountChange(sink_);
}

void txnAppliedTos::Clear() {
  items_.clear();
  changed_ = true;
  RaiseAmountChange(sink_);
}

std::shared_ptr<qcErrors> txnAppliedTos::Errors() {
  if (!errors_) errors_ = std::make_shared<qcErrors>();
  return errors_;
}

Currency txnAppliedTos::Total() const noexcept {
  Currency total;
  for (const auto& entry : items_) total = total + entry->Amount();
  return total;
}

Currency txnAppliedTos::TotalDiscounts() const noexcept {
  Currency total;
  for (const auto& entry : items_) total = total + entry->DiscountAmount();
  return total;
}

Currency txnAppliedTos::TotalCredits() const noexcept {
  Currency total;
  for (const auto& entry : items_) total = total + entry->CreditsTotal();
  return total;
}

txnAppliedTo& txnAppliedTos::AppendLoaded() {
  items_.push_back(MakeSlabShared<txnAppliedTo>());
  txnAppliedTo& entry = *items_.back();
  entry.sink_ = sink_;
  return entry;
}

}  // namespace brennock
