#include "simulator/transactions/bill_payment_rule.h"

#include "simulator/clock.h"
#include "simulator/transactions/payables.h"
#include "simulator/transactions/purchase_form.h"
#include "simulator/transactions/txn_store.h"

namespace brennock::simulator {

Status BillPaymentRule::Complete(TxnStore& store, TxnRecord& txn,
                                 std::vector<LineInput>& inputs) const {
  (void)inputs;
  if (txn.voided) return RefuseVoided(txn);
  std::string_view stem = txn.kind->stem;
  ListStore& lists = store.lists();
  std::string_view payee = txn.Field("PayeeEntityRef");
  auto vendor = lists.LoadById(RefId(payee));
  if (!vendor || vendor->type->name != "Vendor")
    return MakeStatus(kInvalidReference, {"Vendor", RefName(payee), stem});
  if (txn.Field("TxnDate").empty()) txn.SetField("TxnDate", FormatDate(Now()));
  if (auto ap = txn.Field("APAccountRef"); ap.empty()) {
    txn.SetField("APAccountRef", RefTo(store, lists.SpecialAccount("AccountsPayable")));
  } else if (auto a = lists.LoadById(RefId(ap)); !a || a->account_type != "AccountsPayable") {
    return MakeStatus(kInvalidReference, {"Account", RefName(ap), stem});
  }
  std::string_view account = txn.Field(account_);
  if (auto a = lists.LoadById(RefId(account)); !a || a->account_type != account_type_)
    return MakeStatus(kInvalidReference, {"Account", RefName(account), stem});
  if (txn.txn_id.empty()) {
    if (txn.Index("Address") >= 0 && txn.Field("Address").empty())
      if (auto address = vendor->Field("VendorAddress"); !address.empty())
        txn.SetField("Address", std::string(address));
    if (txn.Index("IsToBePrinted") >= 0 && txn.Field("IsToBePrinted").empty())
      txn.SetField("IsToBePrinted", "false");
    if (numbered_ && txn.Field("RefNumber").empty() && txn.Field("IsToBePrinted") != "true")
      txn.SetField("RefNumber", store.NextRefNumber());
  }
  return ApplyToBills(store, txn);
}

std::vector<Posting> BillPaymentRule::Postings(TxnStore& store, const TxnRecord& txn) const {
  std::vector<Posting> out;
  int64_t paid = PostBillApplications(store, txn, out);
  out.push_back(Posting::To(std::string(RefId(txn.Field(account_))), -paid)
                    .Against(std::string(RefId(txn.Field("PayeeEntityRef")))));
  return out;
}

bool BillPaymentRule::WriteFromLedger(TxnStore& store, const TxnRecord& txn,
                                      std::string_view element, std::string& out) const {
  if (element != "AppliedToTxnRet") return false;
  WriteBillApplications(store, txn, out);
  return true;
}

}  // namespace brennock::simulator
