#include "simulator/transactions/undeposited_funds.h"

#include "simulator/transactions/txn_store.h"

namespace brennock::simulator {

Status SettleDepositAccount(TxnStore& store, TxnRecord& txn) {
  ListStore& lists = store.lists();
  std::string_view given = txn.Field("DepositToAccountRef");
  if (given.empty()) {
    std::string id = lists.SpecialAccount("UndepositedFunds");
    txn.SetField("DepositToAccountRef", id + kRefSeparator + store.refs().CurrentFullName(id, {}));
    return {};
  }
  auto account = lists.LoadById(RefId(given));
  std::string_view type = account ? std::string_view(account->account_type) : std::string_view();
  if (type != "Bank" && type != "OtherCurrentAsset" && type != "OtherAsset")
    return MakeStatus(kInvalidReference, {"Account", RefName(given), txn.kind->stem});
  return {};
}

Posting MoneyIn(TxnStore& store, const TxnRecord& txn, int64_t amount) {
  std::string account(RefId(txn.Field("DepositToAccountRef")));
  Posting p = Posting::To(account, amount).Against(txn.entity_id);
  if (account == store.lists().SpecialAccount("UndepositedFunds")) p.open_id = txn.txn_id;
  return p;
}

int64_t Undeposited(TxnStore& store, std::string_view txn_id) {
  return store.ledger().OpenBalanceIn(txn_id, store.lists().SpecialAccount("UndepositedFunds"));
}

bool KeepsDeposited(TxnStore& store, const TxnRecord& changed, int64_t total) {
  auto before = store.LoadById(changed.txn_id);
  if (!before) return true;
  const std::string funds = store.lists().SpecialAccount("UndepositedFunds");
  int64_t received = 0;  // what the receipt itself put into Undeposited Funds
  for (const Posting& p : store.ledger().PostingsOf(changed.txn_id))
    if (p.account_id == funds && p.open_id == changed.txn_id) received += p.amount;
  if (received == Undeposited(store, changed.txn_id)) return true;  // nothing deposited
  return received == total &&
         RefId(before->Field("DepositToAccountRef")) == RefId(changed.Field("DepositToAccountRef"));
}

std::vector<std::pair<std::string, int64_t>> AllUndeposited(TxnStore& store) {
  return store.ledger().OpenIn(store.lists().SpecialAccount("UndepositedFunds"));
}

}  // namespace brennock::simulator
