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

namespace {

// "INSERT ... VALUES(?,?),(?,?)" for rows of columns parameters, so that one statement takes a
// whole posting (statements are kept by their text, one per count).
std::string InsertRows(std::string_view head, size_t rows, size_t columns) {
  std::string sql(head);
  sql += " VALUES";
  for (size_t r = 0; r < rows; ++r) {
    sql += r ? ",(?" : "(?";
    for (size_t c = 1; c < columns; ++c) sql += ",?";
    sql += ')';
  }
  return sql;
}

}  // namespace

bool Ledger::CreditNormal(std::string_view type) {
  return type == "AccountsPayable" || type == "CreditCard" || type == "OtherCurrentLiability" ||
         type == "LongTermLiability" || type == "Equity" || type == "Income" ||
         type == "OtherIncome";
}

const Ledger::Facts& Ledger::Record(const std::string& list_id) {
  auto& records = company_.facts().Get<FactsById>();
  auto it = records.find(list_id);
  if (it != records.end()) return it->second;
  auto& st = company_.db().Prepare(
      "SELECT coalesce(parent_id,''),coalesce(account_type,'') FROM list_records WHERE list_id=?");
  st.Bind(1, list_id);
  Facts facts;
  if (st.Step()) facts = {std::string(st.Text(0)), std::string(st.Text(1))};
  st.Reset();
  return records.emplace(list_id, std::move(facts)).first->second;
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
  size_t count = 0;
  for (const auto& entry : deltas)
    if (entry.second.moves()) ++count;
  if (count == 0) return;
  std::string sql =
      InsertRows("INSERT INTO ledger_totals(list_id,balance,total,quantity,postings)", count, 5);
  sql +=
      " ON CONFLICT(list_id) DO UPDATE SET balance=balance+excluded.balance,"
      "total=total+excluded.total,quantity=quantity+excluded.quantity,"
      "postings=postings+excluded.postings";
  auto& st = company_.db().Prepare(sql);
  int n = 0;
  for (const auto& [id, d] : deltas) {
    if (!d.moves()) continue;
    st.Bind(n + 1, id).Bind(n + 2, d.balance).Bind(n + 3, d.total).Bind(n + 4, d.quantity);
    st.Bind(n + 5, d.postings);
    n += 5;
  }
  st.Run();
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
  auto& st = company_.db().Prepare(InsertRows(
      "INSERT INTO postings(source_id,account_id,amount,entity_id,item_id,quantity,open_id)",
      postings.size(), 7));
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
  ApplyOpen(postings, 1);
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
  ApplyOpen(postings, -1);
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

void Ledger::CreateOpenItems(Database& db) {
  db.Exec(
      // Keyed by account first: what is open in an account is read without another index (files
      // made before keep theirs, keyed by open transaction, with an index by account).
      "CREATE TABLE IF NOT EXISTS open_items(open_id TEXT NOT NULL, account_id TEXT NOT NULL, "
      "entity_id TEXT NOT NULL, balance INTEGER NOT NULL, PRIMARY KEY(account_id, open_id)) "
      "WITHOUT ROWID;"
      "CREATE INDEX IF NOT EXISTS open_items_by_entity ON open_items(entity_id, account_id);");
}

bool Ledger::OpenItemsExist() {
  if (open_items_ < 0) open_items_ = company_.HasTable("open_items") ? 1 : 0;
  return open_items_ == 1;
}

void Ledger::ApplyOpen(const std::vector<Posting>& postings, int sign) {
  if (!OpenItemsExist()) {
    // A file from before the table: made now, from every posting but these, then moved by them.
    CreateOpenItems(company_.db());
    company_.facts().Clear();
    company_.db().Exec(
        "INSERT INTO open_items(open_id,account_id,entity_id,balance) SELECT open_id,account_id,"
        "coalesce(min(entity_id),''),sum(amount) FROM postings WHERE open_id IS NOT NULL GROUP BY "
        "open_id,account_id HAVING sum(amount)<>0");
    open_items_ = 1;
    if (sign > 0) return;  // the postings are in the table already
  }
  auto& move = company_.db().Prepare(
      "INSERT INTO open_items(open_id,account_id,entity_id,balance) VALUES(?1,?2,?3,?4) "
      "ON CONFLICT(open_id,account_id) DO UPDATE SET balance=balance+?4 RETURNING balance");
  for (const auto& p : postings) {
    if (p.open_id.empty() || p.amount == 0) continue;
    move.Reset();
    move.Bind(1, p.open_id).Bind(2, p.account_id).Bind(3, p.entity_id).Bind(4, sign * p.amount);
    const bool settled = move.Step() && move.Int(0) == 0;
    move.Reset();
    if (settled)
      company_.db()
          .Prepare("DELETE FROM open_items WHERE open_id=? AND account_id=?")
          .Bind(1, p.open_id)
          .Bind(2, p.account_id)
          .Run();
  }
}

int64_t Ledger::OpenBalanceIn(std::string_view open_id, std::string_view account_id) {
  auto& st = company_.db().Prepare(
      OpenItemsExist()
          ? "SELECT coalesce(sum(balance),0) FROM open_items WHERE open_id=? AND account_id=?"
          : "SELECT coalesce(sum(amount),0) FROM postings WHERE open_id=? AND account_id=?");
  st.Bind(1, open_id).Bind(2, account_id);
  int64_t sum = st.Step() ? st.Int(0) : 0;
  st.Reset();
  return sum;
}

std::vector<std::pair<std::string, int64_t>> Ledger::OpenIn(std::string_view account_id) {
  auto& st = company_.db().Prepare(
      OpenItemsExist()
          ? "SELECT open_id,balance FROM open_items WHERE account_id=?"
          : "SELECT open_id,sum(amount) FROM postings WHERE account_id=? AND open_id IS NOT NULL "
            "GROUP BY open_id HAVING sum(amount)<>0");
  st.Bind(1, account_id);
  std::vector<std::pair<std::string, int64_t>> out;
  while (st.Step()) out.emplace_back(std::string(st.Text(0)), st.Int(1));
  return out;
}

std::vector<std::pair<std::string, int64_t>> Ledger::OpenAgainst(
    const std::vector<std::string>& entities, std::string_view account_type) {
  std::string in;
  for (size_t i = 0; i < entities.size(); ++i) in += i ? ",?" : "?";
  std::string sql =
      OpenItemsExist()
          // By name and account: a customer's many payments waiting in undeposited funds are
          // not looked at for its receivables.
          ? "SELECT open_id,sum(balance) FROM open_items WHERE account_id IN (SELECT list_id FROM "
            "list_records WHERE list_type='Account' AND account_type=?) AND entity_id IN (" +
                in + ") GROUP BY open_id"
          : "SELECT p.open_id,sum(p.amount) FROM postings p JOIN list_records a ON "
            "a.list_id=p.account_id WHERE a.account_type=? AND p.open_id IN (SELECT open_id FROM "
            "postings WHERE entity_id IN (" +
                in + ") AND open_id IS NOT NULL) GROUP BY p.open_id HAVING sum(p.amount)<>0";
  auto& st = company_.db().Prepare(sql);
  int n = 1;
  st.Bind(n++, account_type);
  for (const auto& e : entities) st.Bind(n++, e);
  std::vector<std::pair<std::string, int64_t>> out;
  while (st.Step()) out.emplace_back(std::string(st.Text(0)), st.Int(1));
  return out;
}

void Ledger::Reparent(std::string_view list_id, std::string_view old_parent,
                      std::string_view new_parent) {
  company_.facts().Clear();  // the record's parent changed
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

void Ledger::ForEachPosting(
    const std::function<void(std::string_view source_id, const Posting&)>& visit) {
  auto& st = company_.db().Prepare(
      "SELECT source_id,account_id,amount,coalesce(entity_id,''),coalesce(item_id,''),quantity,"
      "coalesce(open_id,'') FROM postings ORDER BY id");
  Posting p;
  while (st.Step()) {
    p.account_id.assign(st.Text(1));
    p.amount = st.Int(2);
    p.entity_id.assign(st.Text(3));
    p.item_id.assign(st.Text(4));
    p.quantity = st.Int(5);
    p.open_id.assign(st.Text(6));
    visit(st.Text(0), p);
  }
}

std::vector<std::string> Ledger::VerifyTotals() {
  company_.facts().Get<FactsById>().clear();
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
  if (OpenItemsExist()) {
    // The open items against the postings' open amounts.
    auto& open = company_.db().Prepare(
        "SELECT 'open '||coalesce(p.open_id,o.open_id)||' in '||coalesce(p.account_id,"
        "o.account_id)||' is '||coalesce(p.balance,0)||', kept as '||coalesce(o.balance,0) FROM "
        "(SELECT open_id,account_id,sum(amount) AS balance FROM postings WHERE open_id IS NOT "
        "NULL GROUP BY open_id,account_id HAVING sum(amount)<>0) p FULL OUTER JOIN open_items o "
        "ON o.open_id=p.open_id AND o.account_id=p.account_id WHERE coalesce(p.balance,0)<>"
        "coalesce(o.balance,0)");
    while (open.Step()) differences.emplace_back(open.Text(0));
  }
  return differences;
}

}  // namespace brennock::simulator
