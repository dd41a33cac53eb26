#include "simulator/transactions/journal_entry_rule.h"

#include "simulator/clock.h"
#include "simulator/ledger/stock_figures.h"
#include "simulator/lists/field_values.h"
#include "simulator/transactions/purchase_form.h"
#include "simulator/transactions/txn_store.h"

namespace brennock::simulator {
namespace {

bool IsDebit(const TxnRecord& txn, const TxnLine& line) {
  return txn.kind->shape[line.element].name == "JournalDebitLine";
}

}  // namespace

Status JournalEntryRule::Complete(TxnStore& store, TxnRecord& txn,
                                  std::vector<LineInput>& inputs) const {
  (void)inputs;
  if (txn.voided) return RefuseVoided(txn);
  if (txn.Field("TxnDate").empty()) txn.SetField("TxnDate", FormatDate(Now()));
  if (txn.Field("IsAdjustment").empty()) txn.SetField("IsAdjustment", "false");
  if (txn.txn_id.empty() && txn.Field("RefNumber").empty())
    txn.SetField("RefNumber", store.NextRefNumber());
  int64_t debits = 0, credits = 0;
  for (TxnLine& line : txn.lines) {
    const qbxml::Aggregate& shape = line.Shape(*txn.kind);
    std::string_view given = LineField(line, shape, "Amount");
    auto amount = given.empty() ? std::optional<int64_t>(0) : ParseCents(given);
    if (!amount || *amount < 0 || *amount > kMaxCents)
      return RefuseTxn(txn, "Journal lines can only hold amounts of 0 or more.");
    SetLineField(line, shape, "Amount", FormatCents(*amount));
    std::string_view account_ref = LineField(line, shape, "AccountRef");
    auto account = store.lists().LoadById(RefId(account_ref));
    if (!account) return RefuseTxn(txn, "Each journal line needs an account.");
    if (account->account_type == "NonPosting")
      return RefuseTxn(txn, "Non-posting accounts cannot be used in a journal entry.");
    auto entity = store.lists().LoadById(RefId(LineField(line, shape, "EntityRef")));
    // QuickBooks' own messages for the two accounts that keep what names owe.
    if (account->account_type == "AccountsReceivable" &&
        (!entity || entity->type->name != "Customer"))
      return RefuseTxn(
          txn, "When you use Accounts Receivable, you must choose a customer in the Name field.");
    if (account->account_type == "AccountsPayable" && (!entity || entity->type->name != "Vendor"))
      return RefuseTxn(
          txn, "When you use Accounts Payable, you must choose a vendor in the Name field.");
    (IsDebit(txn, line) ? debits : credits) += *amount;
  }
  if (debits != credits)
    return RefuseTxn(txn, "Transaction not in balance: the debits (" + FormatCents(debits) +
                              ") and credits (" + FormatCents(credits) + ") must be equal.");
  return {};
}

std::vector<Posting> JournalEntryRule::Postings(TxnStore& store, const TxnRecord& txn) const {
  std::vector<Posting> out;
  for (const TxnLine& line : txn.lines) {
    const qbxml::Aggregate& shape = line.Shape(*txn.kind);
    int64_t amount = ParseCents(LineField(line, shape, "Amount")).value_or(0);
    std::string account(RefId(LineField(line, shape, "AccountRef")));
    Posting p = Posting::To(account, IsDebit(txn, line) ? amount : -amount)
                    .Against(std::string(RefId(LineField(line, shape, "EntityRef"))));
    auto a = store.lists().LoadById(account);
    if (a && (a->account_type == "AccountsReceivable" || a->account_type == "AccountsPayable"))
      p = std::move(p).Opens(txn.txn_id);
    out.push_back(std::move(p));
  }
  return out;
}

bool JournalEntryRule::WriteFromLedger(TxnStore& store, const TxnRecord& txn,
                                       std::string_view element, std::string& out) const {
  (void)store, (void)txn, (void)element, (void)out;
  return false;
}

}  // namespace brennock::simulator
