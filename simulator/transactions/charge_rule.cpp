#include "simulator/transactions/charge_rule.h"

#include "simulator/clock.h"
#include "simulator/ledger/stock_figures.h"
#include "simulator/lists/field_values.h"
#include "simulator/transactions/receivables.h"
#include "simulator/transactions/txn_store.h"
#include "simulator/xml_writer.h"

namespace brennock::simulator {

Status ChargeRule::Complete(TxnStore& store, TxnRecord& txn, std::vector<LineInput>&) const {
  const bool fresh = txn.txn_id.empty();
  std::string_view stem = txn.kind->stem;
  auto refuse = [&](std::string why) {
    return MakeStatus(fresh ? kTxnCannotSave : kTxnCannotModify, {stem, why});
  };
  ListStore& lists = store.lists();
  auto customer = lists.LoadById(RefId(txn.Field("CustomerRef")));
  if (!customer) return MakeStatus(kInvalidReference, {"Customer:Job", "", stem});
  if (Status status = SettleReceivableAccount(store, txn); !status.ok()) return status;
  if (txn.Field("TxnDate").empty()) txn.SetField("TxnDate", FormatDate(Now()));
  if (txn.Field("DueDate").empty()) txn.SetField("DueDate", std::string(txn.Field("TxnDate")));

  pugi::xml_node request = store.request();
  std::string_view item_ref = txn.Field("ItemRef");
  const ItemFacts* item = item_ref.empty() ? nullptr : store.items().Find(RefId(item_ref));
  if (!item_ref.empty() && !item)
    return MakeStatus(kInvalidReference, {"Item", RefName(item_ref), stem});
  if (item && item->kind != "ItemService" && item->kind != "ItemNonInventory" &&
      item->kind != "ItemOtherCharge")
    return refuse("The item \"" + std::string(RefName(item_ref)) +
                  "\" cannot be charged on a statement.");
  const bool item_named = request && request.child("ItemRef");
  if (item && item_named) {
    if (!request.child("Desc") && !item->sales_desc.empty()) txn.SetField("Desc", item->sales_desc);
    if (!request.child("Rate") && !request.child("Amount") && !item->price.empty())
      txn.SetField("Rate", item->price);
  }
  // The amount: as given, else quantity x rate whenever the request names what prices it.
  std::optional<int64_t> amount = ParseCents(txn.Field("Amount"));
  const bool priced =
      fresh || item_named || (request && (request.child("Quantity") || request.child("Rate")));
  if (!(request && request.child("Amount")) && priced) {
    std::string_view quantity = txn.Field("Quantity");
    auto units = ParseQuantity(quantity.empty() ? "1" : quantity);
    std::string_view rate = txn.Field("Rate");
    amount = rate.empty() ? std::optional<int64_t>(0) : units ? Amount(*units, rate) : std::nullopt;
  }
  if (!amount || *amount > kMaxCents || *amount < -kMaxCents)
    return refuse("The amount of a line is more than QuickBooks can keep.");
  if (*amount != 0 && !item) return refuse("Transaction lines with amounts must have items.");
  txn.SetField("Amount", FormatCents(*amount));
  return {};
}

std::vector<Posting> ChargeRule::Postings(TxnStore& store, const TxnRecord& txn) const {
  int64_t amount = ParseCents(txn.Field("Amount")).value_or(0);
  const ItemFacts* item = store.items().Find(RefId(txn.Field("ItemRef")));
  if (!item) return {};
  std::string income = item->income_account.empty()
                           ? store.lists().SpecialAccount("UndepositedFunds")
                           : item->income_account;
  return {Posting::To(std::string(RefId(txn.Field("ARAccountRef"))), amount)
              .Against(txn.entity_id)
              .Opens(txn.txn_id),
          Posting::To(income, -amount).Against(txn.entity_id)};
}

bool ChargeRule::WriteFromLedger(TxnStore& store, const TxnRecord& txn, std::string_view element,
                                 std::string& out) const {
  if (element != "BalanceRemaining" && element != "IsPaid") return false;
  int64_t open = store.OpenBalance(txn.txn_id);
  XmlWriter w(out);
  if (element == "BalanceRemaining")
    w.Element(element, FormatCents(open));
  else
    w.Element(element, open == 0 ? "true" : "false");
  return true;
}

}  // namespace brennock::simulator
