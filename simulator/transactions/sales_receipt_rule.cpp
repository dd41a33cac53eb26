#include "simulator/transactions/sales_receipt_rule.h"

#include "simulator/transactions/sales_form.h"
#include "simulator/transactions/undeposited_funds.h"

namespace brennock::simulator {

Status SalesReceiptRule::Complete(TxnStore& store, TxnRecord& txn,
                                  std::vector<LineInput>& inputs) const {
  Status status = CompleteSalesForm(store, txn, inputs);
  if (!status.ok()) return status;
  status = SettleDepositAccount(store, txn);
  if (!status.ok()) return status;
  if (!txn.txn_id.empty() && !KeepsDeposited(store, txn, SalesFormTotal(txn)))
    return MakeStatus(kTxnCannotModify, {txn.kind->stem,
                                         "The sales receipt was deposited; its total and deposit "
                                         "account stay as they are."});
  return {};
}

std::vector<Posting> SalesReceiptRule::Postings(TxnStore& store, const TxnRecord& txn) const {
  std::vector<Posting> out;
  if (int64_t total = SalesFormTotal(txn); total != 0) out.push_back(MoneyIn(store, txn, total));
  PostSalesForm(store, txn, 1, out);
  return out;
}

bool SalesReceiptRule::WriteFromLedger(TxnStore&, const TxnRecord&, std::string_view,
                                       std::string&) const {
  return false;
}

}  // namespace brennock::simulator
