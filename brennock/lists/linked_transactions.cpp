#include "brennock/lists/linked_transactions.h"

#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/collection_support.h"
#include "brennock/internal/model/codecs.h"

namespace brennock {
namespace {

constexpr const char* kCollection = "txnLinkedTransactions";

}  // namespace

// Links, bills and credits name their amount differently; all three land in the one amount.
const BindingTable<txnLinkedTransaction>& txnLinkedTransaction::Bindings() {
  using L = txnLinkedTransaction;
  constexpr uint16_t kR = kInRet;
  BRENNOCK_BINDINGS(
      L, std::array{Bind<&L::txnID_, codecs::Text, L>("TxnID", kR),
                    Bind<&L::txnType_, codecs::EnumTag<qoeLinkedTxnType>, L>("TxnType", kR),
                    Bind<&L::apAccount_, codecs::Ref, L>("APAccountRef", kR),
                    Bind<&L::txnDate_, codecs::Date, L>("TxnDate", kR),
                    Bind<&L::refNumber_, codecs::Text, L>("RefNumber", kR),
                    Bind<&L::dueDate_, codecs::Date, L>("DueDate", kR),
                    Bind<&L::linkType_, codecs::Text, L>("LinkType", kR | kNotInSchema),
                    Bind<&L::amount_, codecs::Amount, L>("AmountDue", kR),
                    Bind<&L::amount_, codecs::Amount, L>("CreditRemaining", kR | kNotInSchema),
                    Bind<&L::amount_, codecs::Amount, L>("Amount", kR | kNotInSchema),
                    Bind<&L::txnLineID_, codecs::Text, L>("TxnLineID", kR | kNotInSchema)});
}

void txnLinkedTransaction::FromDom(const FieldElement& element) {
  Bindings().Read(*this, element);
  state_ = qoObjectStateClean;
}

void txnLinkedTransaction::WriteRet(RequestWriter& builder) const {
  builder.OpenAggregateOnly("LinkedTxn");
  codecs::Text::Write(txnID_, builder, "TxnID", 0, BodyForm::kRet);
  codecs::EnumTag<qoeLinkedTxnType>::Write(txnType_, builder, "TxnType", 0, BodyForm::kRet);
  if (!txnDate_.IsNull()) codecs::Date::Write(txnDate_, builder, "TxnDate", 0, BodyForm::kRet);
  if (!refNumber_.empty()) builder.CreateElement("RefNumber", refNumber_);
  codecs::Amount::Write(amount_, builder, "Amount", 0, BodyForm::kRet);
  builder.EndAggregate("LinkedTxn");
}

std::shared_ptr<txnLinkedTransaction> txnLinkedTransactions::Add(const std::string& TxnId,
                                                                 const std::string& TxnLineId) {
  auto link = std::make_shared<txnLinkedTransaction>();
  link->txnID_ = TxnId;
  link->txnLineID_ = TxnLineId;
  items_.push_back(link);
  changed_ = true;
  return link;
}

std::shared_ptr<txnLinkedTransaction> txnLinkedTransactions::Item(int32_t index) const {
  if (!ItemExists(index)) RaiseCollectionPositionOutOfRange(kCollection);
  return items_[static_cast<size_t>(index - 1)];
}

void txnLinkedTransactions::Remove(int32_t index) {
  if (!ItemExists(index)) RaiseCollectionPositionOutOfRange(kCollection);
  items_.erase(items_.begin() + (index - 1));
  changed_ = true;
}

std::shared_ptr<qcErrors> txnLinkedTransactions::Errors() {
  if (!errors_) errors_ = std::make_shared<qcErrors>();
  return errors_;
}

}  // namespace brennock
