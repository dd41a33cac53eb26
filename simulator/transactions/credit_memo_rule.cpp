#include "simulator/transactions/credit_memo_rule.h"

#include "simulator/lists/field_values.h"
#include "simulator/transactions/sales_form.h"
#include "simulator/transactions/txn_store.h"
#include "simulator/xml_writer.h"

namespace brennock::simulator {

Status CreditMemoRule::Complete(TxnStore& store, TxnRecord& txn,
                                std::vector<LineInput>& inputs) const {
  return CompleteSalesForm(store, txn, inputs);
}

std::vector<Posting> CreditMemoRule::Postings(TxnStore& store, const TxnRecord& txn) const {
  std::vector<Posting> out;
  std::string receivable(RefId(txn.Field("ARAccountRef")));
  out.push_back(
      Posting::To(receivable, -SalesFormTotal(txn)).Against(txn.entity_id).Opens(txn.txn_id));
  PostSalesForm(store, txn, -1, out);
  return out;
}

bool CreditMemoRule::WriteFromLedger(TxnStore& store, const TxnRecord& txn,
                                     std::string_view element, std::string& out) const {
  if (element != "CreditRemaining") return false;
  // The credit not yet applied: what accounts receivable still has open for it, as a positive sum.
  XmlWriter(out).Element(element, FormatCents(-store.OpenBalance(txn.txn_id)));
  return true;
}

}  // namespace brennock::simulator
