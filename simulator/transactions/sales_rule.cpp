#include "simulator/transactions/sales_rule.h"

#include "simulator/lists/field_values.h"
#include "simulator/transactions/sales_form.h"
#include "simulator/transactions/sales_links.h"
#include "simulator/transactions/txn_store.h"
#include "simulator/xml_writer.h"

namespace brennock::simulator {

Status SalesOnAccountRule::Complete(TxnStore& store, TxnRecord& txn,
                                    std::vector<LineInput>& inputs) const {
  // Lines linked to an estimate or sales order take what they leave out from the line they bill.
  if (txn.txn_id.empty()) {
    Status status = LinkSalesLines(store, txn, inputs);
    if (!status.ok()) return status;
  }
  return CompleteSalesForm(store, txn, inputs);
}

std::vector<Posting> SalesOnAccountRule::Postings(TxnStore& store, const TxnRecord& txn) const {
  std::vector<Posting> out;
  std::string receivable(RefId(txn.Field("ARAccountRef")));
  out.push_back(
      Posting::To(receivable, SalesFormTotal(txn)).Against(txn.entity_id).Opens(txn.txn_id));
  PostSalesForm(store, txn, 1, out);
  return out;
}

bool SalesOnAccountRule::WriteFromLedger(TxnStore& store, const TxnRecord& txn,
                                         std::string_view element, std::string& out) const {
  if (element != "AppliedAmount" && element != "BalanceRemaining" && element != "IsPaid")
    return false;
  // What is still open is what the books say; what was applied (payments, credits) is the
  // difference to the form's own total, negative as QuickBooks shows it.
  int64_t open = store.OpenBalance(txn.txn_id);
  XmlWriter w(out);
  if (element == "AppliedAmount")
    w.Element(element, FormatCents(open - SalesFormTotal(txn)));
  else if (element == "BalanceRemaining")
    w.Element(element, FormatCents(open));
  else
    w.Element(element, open == 0 ? "true" : "false");
  return true;
}

}  // namespace brennock::simulator
