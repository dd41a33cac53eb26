#include "brennock/lists/linked_transactions.h"

#include "brennock/model/codecs.h"

namespace brennock {

// Bills and credits name their amount differently; all three land in the one amount.
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
                    Bind<&L::amount_, codecs::Amount, L>("AmountDue", kR),
                    Bind<&L::amount_, codecs::Amount, L>("CreditRemaining", kR | kNotInSchema),
                    Bind<&L::amount_, codecs::Amount, L>("Amount", kR | kNotInSchema),
                    Bind<&L::txnLineID_, codecs::Text, L>("TxnLineID", kR | kNotInSchema)});
}

void txnLinkedTransaction::FromDom(const FieldElement& element) { Bindings().Read(*this, element); }

}  // namespace brennock
