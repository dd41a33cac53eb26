#include "simulator/transactions/receivables.h"

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
  std::string pattern;
  for (char c : customer->full_name + ":") {
    if (c == '%' || c == '_' || c == '\\') pattern += '\\';
    pattern += c;
  }
  auto& st = store.company().db().Prepare(
      "SELECT list_id FROM list_records WHERE list_type='Customer' AND full_name LIKE ? ESCAPE "
      "'\\'");
  st.Bind(1, pattern + "%");
  while (st.Step()) ids.emplace_back(st.Text(0));
  return ids;
}

std::vector<std::string> OpenReceivables(TxnStore& store, std::string_view customer_id,
                                         std::span<const std::string_view> kinds, bool positive) {
  std::vector<std::string> family = CustomerFamily(store, customer_id);
  std::string sql = "SELECT r.txn_id FROM txn_records r WHERE r.voided=0 AND r.txn_type IN (";
  for (size_t i = 0; i < kinds.size(); ++i) sql += i ? ",?" : "?";
  sql += ") AND r.entity_id IN (";
  for (size_t i = 0; i < family.size(); ++i) sql += i ? ",?" : "?";
  sql +=
      ") AND (SELECT coalesce(sum(p.amount),0) FROM postings p JOIN list_records a ON "
      "a.list_id=p.account_id WHERE p.open_id=r.txn_id AND "
      "a.account_type='AccountsReceivable')";
  sql += positive ? ">0" : "<0";
  sql += " ORDER BY r.txn_date,r.id";
  auto& st = store.company().db().Prepare(sql);
  int n = 1;
  for (auto kind : kinds) st.Bind(n++, kind);
  for (const auto& id : family) st.Bind(n++, id);
  std::vector<std::string> out;
  while (st.Step()) out.emplace_back(st.Text(0));
  return out;
}

}  // namespace brennock::simulator
