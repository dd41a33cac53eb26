#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "simulator/store/company_db.h"

namespace brennock::simulator {

// One line of a double entry. Amounts are cents, debits positive and credits negative, so the
// postings of every source add up to zero.
struct Posting {
  std::string account_id;  // the account's ListID
  int64_t amount = 0;
  std::string entity_id;  // the customer, job or vendor the line is against, if any
  std::string item_id;    // a stock posting: the item whose quantity and value move
  int64_t quantity = 0;   // a stock posting: units in hundred-thousandths (5 decimals)
  std::string open_id;    // the transaction whose open balance this posting moves (A/R, A/P)

  static Posting To(std::string account, int64_t amount) {
    Posting p;
    p.account_id = std::move(account);
    p.amount = amount;
    return p;
  }
  Posting Against(std::string entity) && {
    entity_id = std::move(entity);
    return std::move(*this);
  }
  Posting Opens(std::string txn) && {
    open_id = std::move(txn);
    return std::move(*this);
  }
  Posting Stock(std::string item, int64_t units) && {
    item_id = std::move(item);
    quantity = units;
    return std::move(*this);
  }
};

inline constexpr int64_t kQuantityScale = 100000;

// The company's books: the postings of every transaction and opening balance, and every balance
// derived from them. Nothing else in the simulator keeps a balance.
//
// So that a query of a hundred thousand customers reads balances cheaply, the ledger keeps a
// summary per record (ledger_totals), changed only here and only together with the postings, in
// the same SQLite transaction; VerifyTotals recomputes it from the postings alone.
//
// A posting moves the balance of its account (and the totals of the account's parents), of its
// entity when the account is accounts receivable or payable (and the entity's parents' totals),
// and the quantity on hand and value of its item. One instance serves one request document.
class Ledger {
 public:
  explicit Ledger(CompanyDb& company) : company_(company) {}

  // Records the postings of one source (a TxnID, or the ListID of a record's opening balance).
  // Throws std::logic_error when they do not balance: a posting rule is wrong, not the request.
  void Post(std::string_view source_id, const std::vector<Posting>& lines);
  // Takes back every posting of a source; returns how many there were.
  size_t Unpost(std::string_view source_id);
  std::vector<Posting> PostingsOf(std::string_view source_id);

  struct Totals {
    int64_t balance = 0;   // the record's own postings, debits positive
    int64_t total = 0;     // with those of its sub-records (jobs, subaccounts)
    int64_t quantity = 0;  // items: units on hand in hundred-thousandths
    int64_t postings = 0;  // how many postings name the record (it is in use)
  };
  Totals Of(std::string_view list_id);
  // What a transaction still has open: the sum of the postings that move its open balance.
  int64_t OpenBalance(std::string_view open_id);
  // The other sources that moved a transaction's open balance (payments, credits applied), each
  // with the sum of its postings to it, in the order they were posted.
  std::vector<std::pair<std::string, int64_t>> AppliedBy(std::string_view open_id);
  // The same in one account only: a payment's unused part in accounts receivable, or what of it
  // is still in undeposited funds.
  int64_t OpenBalanceIn(std::string_view open_id, std::string_view account_id);
  // Every transaction with something open in one account, and how much, in posting order.
  std::vector<std::pair<std::string, int64_t>> OpenIn(std::string_view account_id);
  // What is open against any of these names in accounts of one type (a customer's and its jobs'
  // receivables): each transaction and how much.
  std::vector<std::pair<std::string, int64_t>> OpenAgainst(const std::vector<std::string>& entities,
                                                           std::string_view account_type);

  // A record moved to another parent: its total leaves the old parents and joins the new ones.
  void Reparent(std::string_view list_id, std::string_view old_parent, std::string_view new_parent);
  // The account types whose balances are credits: a natural balance is -debits for these.
  static bool CreditNormal(std::string_view account_type);

  // SQL for the list store's queries: joined as "LEFT JOIN ledger_totals t ON t.list_id=...",
  // these columns give a record's figures (zero without postings).
  static constexpr const char* kTotalsColumns =
      "coalesce(t.balance,0),coalesce(t.total,0),coalesce(t.quantity,0)";
  static constexpr const char* kTotalsJoin = " LEFT JOIN ledger_totals t ON t.list_id=r.list_id";

  // Every posting in the order it was made, with the source it belongs to (reports read the
  // books through this; it changes nothing).
  void ForEachPosting(const std::function<void(std::string_view source_id, const Posting&)>& visit);

  // The summary recomputed from the postings; each difference described (empty: consistent).
  std::vector<std::string> VerifyTotals();

  // The open items (open_items): one row per transaction and account with something open there,
  // kept with the postings as ledger_totals is and gone when it closes, so that what is open
  // is found without adding up every posting. A company file older than the table gets it,
  // filled from its postings, with its first posting.
  static void CreateOpenItems(Database& db);

 private:
  struct Delta {
    int64_t balance = 0, total = 0, quantity = 0, postings = 0;
    bool moves() const { return balance != 0 || total != 0 || quantity != 0 || postings != 0; }
  };
  void Collect(const Posting& p, int sign, std::vector<std::pair<std::string, Delta>>& deltas);
  void AddToAncestors(std::string_view id, int64_t amount,
                      std::vector<std::pair<std::string, Delta>>& deltas);
  void Apply(const std::vector<std::pair<std::string, Delta>>& deltas);
  // Moves the open items by the postings' open amounts (sign -1 takes them back).
  void ApplyOpen(const std::vector<Posting>& postings, int sign);
  bool OpenItemsExist();
  // A record's parent and, for an account, its type; kept with the session's list facts.
  struct Facts {
    std::string parent, account_type;
  };
  using FactsById = std::unordered_map<std::string, Facts>;
  const Facts& Record(const std::string& list_id);
  const std::string& AccountType(const std::string& id) { return Record(id).account_type; }
  const std::string& Parent(const std::string& id) { return Record(id).parent; }

  CompanyDb& company_;
  int open_items_ = -1;  // whether the file has the open items table: -1 not asked yet
};

// Rounds a ratio to whole cents, half away from zero, as QuickBooks rounds amounts.
int64_t RoundedDivide(__int128 numerator, __int128 denominator);

}  // namespace brennock::simulator
