#include "simulator/ledger/ledger.h"

#include <algorithm>
#include <map>
#include <stdexcept>

namespace brennock::simulator {
int64_t RoundedDivide(__int128 numerator, __int128 denominator) {
  if (denominator < 0) numerator = -numerator, denominator = -denominator;
  __int128 half = denominator / 2;
  __int128 q =
      numerator >= 0 ? (numerator + half) / denominator : -((-numerator + half) / denominator);
  // An odd denominator has no exact half; an even one rounds its half away from zero above.
  return static_cast<int64_t>(q);
}

bool Ledger::CreditNormal(std::string_view type) {
  return type == "AccountsPayable" || type == "CreditCard" || type == "OtherCurrentLiability" ||
         type == "LongTermLiability" || type == "Equity" || type == "Income" ||
         type == "OtherIncome";
}

const Ledger::Facts& Ledger::Record(const std::string& list_id) {
  auto it = records_.find(list_id);
  if (it != records_.end()) return it->second;
  auto& st = company_.db().Prepare(
      "SELECT coalesce(parent_id,''),coalesce(account_type,'') FROM list_records WHERE list_id=?");
  st.Bind(1, list_id);
  Facts facts;
  if (st.Step()) facts = {std::string(st.Text(0)), std::string(st.Text(1))};
  st.Reset();
  return records_.emplace(list_id, std::move(facts)).first->second;
}

void Ledger::AddToAncestors(std::string_view id, int64_t amount,
                            std::vector<std::pair<std::string, Delta>>& deltas) {
  std::string at(id);
  for (int guard = 0; guard < 100; ++guard) {
    at = Parent(at);
    if (at.empty()) return;
    auto slot = std::find_if(deltas.begin(), deltas.end(), [&](auto& d) { return d.first == at; });
    if (slot == deltas.end()) slot = deltas.insert(deltas.end(), {at, Delta{}});
    slot->second.total += amount;
  }
}

void Ledger::Collect(const Posting& p, int sign,
                     std::vector<std::pair<std::string, Delta>>& deltas) {
  auto slot = [&](const std::string& id) -> Delta& {
    for (auto& [key, delta] : deltas)
      if (key == id) return delta;
    return deltas.emplace_back(id, Delta{}).second;
  };
  const int64_t amount = sign * p.amount;
  Delta& account = slot(p.account_id);
  account.balance += amount;
  account.total += amount;
  account.postings += sign;
  AddToAncestors(p.account_id, amount, deltas);
  if (!p.entity_id.empty()) {
    const std::string& type = AccountType(p.account_id);
    bool open = type == "AccountsReceivable" || type == "AccountsPayable";
    Delta& entity = slot(p.entity_id);
    entity.postings += sign;
    if (open) {
      entity.balance += amount;
      entity.total += amount;
      AddToAncestors(p.entity_id, amount, deltas);
    }
  }
  if (!p.item_id.empty()) {
    Delta& item = slot(p.item_id);
    item.balance += amount;  // the stock's value
    item.total += amount;
    item.quantity += sign * p.quantity;
    item.postings += sign;
  }
}

void Ledger::Apply(const std::vector<std::pair<std::string, Delta>>& deltas) {
  auto& st = company_.db().Prepare(
      "INSERT INTO ledger_totals(list_id,balance,total,quantity,postings) VALUES(?1,?2,?3,?4,?5) "
      "ON CONFLICT(list_id) DO UPDATE SET balance=balance+?2,total=total+?3,"
      "quantity=quantity+?4,postings=postings+?5");
  for (const auto& [id, d] : deltas) {
    if (d.balance == 0 && d.total == 0 && d.quantity == 0 && d.postings == 0) continue;
    st.Reset();
    st.Bind(1, id).Bind(2, d.balance).Bind(3, d.total).Bind(4, d.quantity).Bind(5, d.postings);
    st.Run();
  }
}

void Ledger::Post(std::string_view source_id, const std::vector<Posting>& lines) {
  // Lines of one source to the same account, name, item and open transaction are kept as one
  // posting: the balances are the same, and the books grow less.
  std::vector<Posting> postings;
  postings.reserve(lines.size());
  for (const auto& line : lines) {
    auto same = std::find_if(postings.begin(), postings.end(), [&](const Posting& p) {
      return p.account_id == line.account_id && p.entity_id == line.entity_id &&
             p.item_id == line.item_id && p.open_id == line.open_id;
    });
    if (same == postings.end()) {
      postings.push_back(line);
    } else {
      same->amount += line.amount;
      same->quantity += line.quantity;
    }
  }
  std::erase_if(postings, [](const Posting& p) {
    return p.amount == 0 && p.quantity == 0 && p.open_id.empty();
  });
  int64_t sum = 0;
  for (const auto& p : postings) sum += p.amount;
  if (sum != 0)
    throw std::logic_error("postings of " + std::string(source_id) + " do not balance by " +
                           std::to_string(sum));
  if (postings.empty()) return;
  // One statement for all of them (statements are kept by their text, one per count).
  std::string sql =
      "INSERT INTO postings(source_id,account_id,amount,entity_id,item_id,quantity,open_id) "
      "VALUES";
  for (size_t i = 0; i < postings.size(); ++i) sql += i ? ",(?,?,?,?,?,?,?)" : "(?,?,?,?,?,?,?)";
  auto& st = company_.db().Prepare(sql);
  std::vector<std::pair<std::string, Delta>> deltas;
  int n = 1;
  for (const auto& p : postings) {
    st.Bind(n++, source_id);
    st.Bind(n++, p.account_id);
    st.Bind(n++, p.amount);
    if (p.entity_id.empty())
      st.BindNull(n++);
    else
      st.Bind(n++, p.entity_id);
    if (p.item_id.empty())
      st.BindNull(n++);
    else
      st.Bind(n++, p.item_id);
    st.Bind(n++, p.quantity);
    if (p.open_id.empty())
      st.BindNull(n++);
    else
      st.Bind(n++, p.open_id);
    Collect(p, 1, deltas);
  }
  st.Run();
  Apply(deltas);
}

std::vector<Posting> Ledger::PostingsOf(std::string_view source_id) {
  auto& st = company_.db().Prepare(
      "SELECT account_id,amount,coalesce(entity_id,''),coalesce(item_id,''),quantity,"
      "coalesce(open_id,'') FROM postings WHERE source_id=? ORDER BY id");
  st.Bind(1, source_id);
  std::vector<Posting> out;
  while (st.Step())
    out.push_back(Posting::To(std::string(st.Text(0)), st.Int(1))
                      .Against(std::string(st.Text(2)))
                      .Stock(std::string(st.Text(3)), st.Int(4))
                      .Opens(std::string(st.Text(5))));
  return out;
}

size_t Ledger::Unpost(std::string_view source_id) {
  std::vector<Posting> postings = PostingsOf(source_id);
  if (postings.empty()) return 0;
  std::vector<std::pair<std::string, Delta>> deltas;
  for (const auto& p : postings) Collect(p, -1, deltas);
  Apply(deltas);
  company_.db().Prepare("DELETE FROM postings WHERE source_id=?").Bind(1, source_id).Run();
  return postings.size();
}

Ledger::Totals Ledger::Of(std::string_view list_id) {
  auto& st = company_.db().Prepare(
      "SELECT balance,total,quantity,postings FROM ledger_totals WHERE list_id=?");
  st.Bind(1, list_id);
  Totals t;
  if (st.Step()) t = {st.Int(0), st.Int(1), st.Int(2), st.Int(3)};
  st.Reset();
  return t;
}

int64_t Ledger::OpenBalance(std::string_view open_id) {
  auto& st = company_.db().Prepare("SELECT coalesce(sum(amount),0) FROM postings WHERE open_id=?");
  st.Bind(1, open_id);
  int64_t sum = st.Step() ? st.Int(0) : 0;
  st.Reset();
  return sum;
}

std::vector<std::pair<std::string, int64_t>> Ledger::AppliedBy(std::string_view open_id) {
  auto& st = company_.db().Prepare(
      "SELECT source_id,sum(amount) FROM postings WHERE open_id=?1 AND source_id<>?1 "
      "GROUP BY source_id ORDER BY min(id)");
  st.Bind(1, open_id);
  std::vector<std::pair<std::string, int64_t>> out;
  while (st.Step()) out.emplace_back(std::string(st.Text(0)), st.Int(1));
  return out;
}

void Ledger::Reparent(std::string_view list_id, std::string_view old_parent,
                      std::string_view new_parent) {
  records_.clear();
  int64_t total = Of(list_id).total;
  if (total == 0) return;
  std::vector<std::pair<std::string, Delta>> deltas;
  // The record's own row is already under the new parent in list_records; walk from the parents.
  if (!old_parent.empty()) {
    deltas.emplace_back(std::string(old_parent), Delta{0, -total, 0, 0});
    AddToAncestors(old_parent, -total, deltas);
  }
  if (!new_parent.empty()) {
    std::string id(new_parent);
    auto slot = std::find_if(deltas.begin(), deltas.end(), [&](auto& d) { return d.first == id; });
    if (slot == deltas.end()) slot = deltas.insert(deltas.end(), {id, Delta{}});
    slot->second.total += total;
    AddToAncestors(new_parent, total, deltas);
  }
  Apply(deltas);
}

std::vector<std::string> Ledger::VerifyTotals() {
  records_.clear();
  std::vector<Posting> all;
  {
    auto& st = company_.db().Prepare(
        "SELECT account_id,amount,coalesce(entity_id,''),coalesce(item_id,''),quantity "
        "FROM postings");
    while (st.Step())
      all.push_back(Posting::To(std::string(st.Text(0)), st.Int(1))
                        .Against(std::string(st.Text(2)))
                        .Stock(std::string(st.Text(3)), st.Int(4)));
  }
  std::vector<std::pair<std::string, Delta>> expected;
  for (const auto& p : all) Collect(p, 1, expected);
  std::map<std::string, Delta> want(expected.begin(), expected.end());
  std::map<std::string, Delta> have;
  auto& st =
      company_.db().Prepare("SELECT list_id,balance,total,quantity,postings FROM ledger_totals");
  while (st.Step()) have[std::string(st.Text(0))] = {st.Int(1), st.Int(2), st.Int(3), st.Int(4)};
  std::vector<std::string> differences;
  auto same = [](const Delta& a, const Delta& b) {
    return a.balance == b.balance && a.total == b.total && a.quantity == b.quantity &&
           a.postings == b.postings;
  };
  auto describe = [](const std::string& id, const Delta& d) {
    return id + " balance " + std::to_string(d.balance) + " total " + std::to_string(d.total) +
           " quantity " + std::to_string(d.quantity) + " postings " + std::to_string(d.postings);
  };
  for (const auto& [id, d] : want)
    if (!same(d, have[id])) differences.push_back("expected " + describe(id, d));
  for (const auto& [id, d] : have)
    if (!want.count(id) && !same(d, Delta{})) differences.push_back("stray " + describe(id, d));
  return differences;
}

}  // namespace brennock::simulator
