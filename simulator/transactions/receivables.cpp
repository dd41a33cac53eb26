#include "simulator/transactions/receivables.h"

#include <algorithm>

#include "simulator/transactions/txn_store.h"

namespace brennock::simulator {

Status SettleReceivableAccount(TxnStore& store, TxnRecord& txn) {
  ListStore& lists = store.lists();
  if (auto ar = txn.Field("ARAccountRef"); ar.empty()) {
    std::string id = lists.SpecialAccount("AccountsReceivable");
    txn.SetField("ARAccountRef", id + kRefSeparator + store.refs().CurrentFullName(id, {}));
  } else if (auto account = lists.LoadById(RefId(ar));
             !account || account->account_type != "AccountsReceivable") {
    return MakeStatus(kInvalidReference, {"Account", RefName(ar), txn.kind->stem});
  }
  return {};
}

std::vector<std::string> CustomerFamily(TxnStore& store, std::string_view customer_id) {
  std::vector<std::string> ids{std::string(customer_id)};
  auto customer = store.lists().LoadById(customer_id);
  if (!customer) return ids;
  // Its jobs' full names run from "Name:" up to "Name;" (';' follows ':'), in the index's order.
  auto& st = store.company().db().Prepare(
      "SELECT list_id FROM list_records WHERE list_type='Customer' AND full_name>=? COLLATE "
      "NOCASE AND full_name<? COLLATE NOCASE");
  st.Bind(1, customer->full_name + ":").Bind(2, customer->full_name + ";");
  while (st.Step()) ids.emplace_back(st.Text(0));
  return ids;
}

std::vector<std::pair<std::string, int64_t>> OpenReceivables(
    TxnStore& store, std::string_view customer_id, std::span<const std::string_view> kinds,
    bool positive) {
  struct Open {
    std::string date;
    int64_t row;
    std::string txn_id;
    int64_t balance;
  };
  std::vector<Open> found;
  for (auto& [id, balance] :
       store.ledger().OpenAgainst(CustomerFamily(store, customer_id), "AccountsReceivable")) {
    if (positive ? balance <= 0 : balance >= 0) continue;
    auto txn = store.LoadById(id);  // an opening balance is open under its record, no transaction
    if (!txn || txn->voided ||
        std::find(kinds.begin(), kinds.end(), txn->kind->stem) == kinds.end())
      continue;
    found.push_back({txn->txn_date, txn->row, id, balance});
  }
  std::sort(found.begin(), found.end(), [](const Open& a, const Open& b) {
    return a.date != b.date ? a.date < b.date : a.row < b.row;
  });
  std::vector<std::pair<std::string, int64_t>> out;
  out.reserve(found.size());
  for (auto& o : found) out.emplace_back(std::move(o.txn_id), o.balance);
  return out;
}

}  // namespace brennock::simulator
