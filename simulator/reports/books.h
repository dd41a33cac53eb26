#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "simulator/lists/list_store.h"
#include "simulator/reports/report_query.h"
#include "simulator/transactions/txn_store.h"

namespace brennock::simulator {

struct AccountInfo {
  std::string id, name, full_name, type, parent, number;
  int sublevel = 0;
  bool active = true;
};

// What reports read of a transaction: its header facts and its stored record (lines ...).
struct TxnFacts {
  std::string id, type, date, ref, entity, memo, class_id, due_date, terms;
  int64_t number = 0;
  bool voided = false;
  std::shared_ptr<const TxnRecord> record;  // null for an opening balance
};

// One posting with the transaction it belongs to.
struct BookLine {
  const TxnFacts* txn = nullptr;
  std::string account, entity, item, open;
  int64_t amount = 0;    // cents, debits positive
  int64_t quantity = 0;  // stock postings, hundred-thousandths
};

// The company's books as one report reads them: the chart of accounts, every posting dated by its
// transaction, and names of records. On the cash basis a transaction that opens a receivable or
// payable counts its income and expense only in the part paid by the report's end date; the
// receivable or payable keeps the rest, so the books still balance.
class Books {
 public:
  Books(ListStore& lists, const ReportQuery& query);

  const std::vector<AccountInfo>& Accounts() const { return accounts_; }
  const AccountInfo* Account(const std::string& id) const;
  const std::vector<BookLine>& Lines() const { return lines_; }
  // Every transaction that has postings or is of a kind without postings (estimates, orders).
  const std::vector<const TxnFacts*>& Transactions();

  // A record's full name (a customer, vendor, item, class ...), "" for an empty id.
  const std::string& NameOf(const std::string& list_id);
  std::optional<ListRecord> Record(const std::string& list_id);
  std::string ListTypeOf(const std::string& list_id);
  ListStore& lists() { return lists_; }
  TxnStore& txns() { return txns_; }

  // The query's account, name, item, class and type filters on one posting.
  bool Passes(const BookLine& line);
  bool PassesTxn(const TxnFacts& txn);
  // True for income, cost of goods sold, expense and other income/expense accounts.
  static bool ProfitAndLoss(std::string_view account_type);
  // The report's name for a transaction kind ("Invoice", "General Journal", "Payment" ...).
  static std::string TypeText(std::string_view stem);

 private:
  const TxnFacts* Facts(std::string_view source_id);
  void ApplyCashBasis(const std::string& to);

  ListStore& lists_;
  TxnStore txns_;
  const ReportQuery& query_;
  std::vector<AccountInfo> accounts_;
  std::unordered_map<std::string, size_t> account_index_;
  std::unordered_map<std::string, std::unique_ptr<TxnFacts>> facts_;
  std::vector<BookLine> lines_;
  std::vector<const TxnFacts*> all_txns_;
  bool all_loaded_ = false;
  std::unordered_map<std::string, std::string> names_, types_;
};

}  // namespace brennock::simulator
