#include "simulator/transactions/receive_payment_rule.h"

#include <array>

#include "simulator/clock.h"
#include "simulator/lists/field_values.h"
#include "simulator/transactions/payment_applications.h"
#include "simulator/transactions/receivables.h"
#include "simulator/transactions/txn_store.h"
#include "simulator/transactions/undeposited_funds.h"
#include "simulator/xml_writer.h"

namespace brennock::simulator {

Status ReceivePaymentRule::Complete(TxnStore& store, TxnRecord& txn,
                                    std::vector<LineInput>&) const {
  const bool fresh = txn.txn_id.empty();
  std::string_view stem = txn.kind->stem;
  auto refuse = [&](std::string why) {
    return MakeStatus(fresh ? kTxnCannotSave : kTxnCannotModify, {stem, why});
  };
  if (!store.lists().LoadById(RefId(txn.Field("CustomerRef"))))
    return MakeStatus(kInvalidReference, {"Customer:Job", "", stem});
  if (txn.Field("TxnDate").empty()) txn.SetField("TxnDate", FormatDate(Now()));
  if (Status s = SettleReceivableAccount(store, txn); !s.ok()) return s;
  if (Status s = SettleDepositAccount(store, txn); !s.ok()) return s;

  pugi::xml_node request = store.request();
  std::vector<Application> applications;
  Status status;
  const bool named = ReadApplications(store, txn, request, applications, status);
  if (!status.ok()) return status;
  if (!named) applications = StoredApplications(txn);
  std::optional<int64_t> total = ParseCents(txn.Field("TotalAmount"));
  if (txn.Field("TotalAmount").empty()) {
    // Without a total the payment is what it applies.
    total = 0;
    for (const auto& a : applications) *total += a.amount;
    txn.SetField("TotalAmount", FormatCents(*total));
  }
  if (!total || *total < 0) return refuse("A payment's total cannot be negative.");
  if (fresh &&
      NormalizeValue(qbxml::ValueType::kBool, Trim(request.child_value("IsAutoApply"))) == "true")
    applications = AutoApply(store, txn, *total);
  status = CheckApplications(store, txn, applications, *total);
  if (!status.ok()) return status;

  if (!fresh) {
    // Once deposited (or its unused part applied elsewhere), the payment's money is spoken for.
    auto before = store.LoadById(txn.txn_id);
    if (before && !store.links().Dependents(*before).empty() &&
        (before->Field("TotalAmount") != txn.Field("TotalAmount") ||
         RefId(before->Field("DepositToAccountRef")) != RefId(txn.Field("DepositToAccountRef"))))
      return refuse(
          "The payment was deposited or its credit applied; its total and deposit "
          "account stay as they are.");
    // What later payments took of its unused part must stay unused.
    std::string ar(RefId(txn.Field("ARAccountRef")));
    int64_t taken = store.ledger().OpenBalanceIn(txn.txn_id, ar);
    for (const Posting& p : store.ledger().PostingsOf(txn.txn_id))
      if (p.account_id == ar && p.open_id == txn.txn_id) taken -= p.amount;
    int64_t paid = 0;
    for (const auto& a : applications) paid += a.amount;
    if (*total - paid < taken)
      return refuse("Other payments applied " + FormatCents(taken) +
                    " of this payment's credit; it must leave that much unused.");
  }
  StoreApplications(txn, applications);
  return {};
}

std::vector<Posting> ReceivePaymentRule::Postings(TxnStore& store, const TxnRecord& txn) const {
  std::vector<Posting> out;
  int64_t total = ParseCents(txn.Field("TotalAmount")).value_or(0);
  if (total != 0) out.push_back(MoneyIn(store, txn, total));
  int64_t paid = PostApplications(store, txn, StoredApplications(txn), out);
  if (total != paid)
    out.push_back(Posting::To(std::string(RefId(txn.Field("ARAccountRef"))), paid - total)
                      .Against(txn.entity_id)
                      .Opens(txn.txn_id));
  return out;
}

bool ReceivePaymentRule::WriteFromLedger(TxnStore& store, const TxnRecord& txn,
                                         std::string_view element, std::string& out) const {
  XmlWriter w(out);
  if (element == "AppliedToTxnRet") {
    WriteApplications(store, txn, out);
  } else if (element == "UnusedPayment") {
    std::string ar(RefId(txn.Field("ARAccountRef")));
    w.Element(element, FormatCents(-store.ledger().OpenBalanceIn(txn.txn_id, ar)));
  } else if (element == "UnusedCredits") {
    // The customer's credits still unapplied after this payment.
    int64_t credits = 0;
    const std::array<std::string_view, 1> memos = {"CreditMemo"};
    for (const auto& [id, open] : OpenReceivables(store, txn.entity_id, memos, false))
      credits -= open;
    w.Element(element, FormatCents(credits));
  } else {
    return false;
  }
  return true;
}

}  // namespace brennock::simulator
