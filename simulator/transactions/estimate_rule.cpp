#include "simulator/transactions/estimate_rule.h"

#include "simulator/transactions/sales_form.h"

namespace brennock::simulator {

Status EstimateRule::Complete(TxnStore& store, TxnRecord& txn,
                              std::vector<LineInput>& inputs) const {
  return CompleteSalesForm(store, txn, inputs);
}

std::vector<Posting> EstimateRule::Postings(TxnStore&, const TxnRecord&) const { return {}; }

bool EstimateRule::WriteFromLedger(TxnStore&, const TxnRecord&, std::string_view,
                                   std::string&) const {
  return false;
}

}  // namespace brennock::simulator
