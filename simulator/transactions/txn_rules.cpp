#include "simulator/transactions/sales_rule.h"
#include "simulator/transactions/txn_rule.h"

namespace brennock::simulator {

// The transaction kinds the simulator takes Add and Mod of, each with its rule. Receipts, bills,
// checks, payments and journal entries join here as their rules are written.
const TxnRule* FindTxnRule(std::string_view stem) {
  static const SalesOnAccountRule sales_on_account;
  if (stem == "Invoice") return &sales_on_account;
  return nullptr;
}

}  // namespace brennock::simulator
