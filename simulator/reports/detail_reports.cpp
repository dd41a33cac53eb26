// Detail reports: one row per posting (or transaction), grouped by account, name, class or
// transaction, with the columns the report or the request chooses.
#include <functional>
#include <map>

#include "simulator/reports/report_builders.h"

namespace brennock::simulator {

namespace {

struct FieldInfo {
  std::string_view col_type, title, data_type;
};

// The columns a detail report can show, by their ColType.
const FieldInfo* Field(std::string_view col_type) {
  static constexpr FieldInfo kFields[] = {
      {"TxnType", "Type", "STRTYPE"},
      {"Date", "Date", "DATETYPE"},
      {"TxnNumber", "Trans #", "INTTYPE"},
      {"RefNumber", "Num", "STRTYPE"},
      {"Name", "Name", "STRTYPE"},
      {"Memo", "Memo", "STRTYPE"},
      {"Account", "Account", "STRTYPE"},
      {"Class", "Class", "STRTYPE"},
      {"ClearedStatus", "Clr", "STRTYPE"},
      {"SplitAccount", "Split", "STRTYPE"},
      {"Debit", "Debit", "AMTTYPE"},
      {"Credit", "Credit", "AMTTYPE"},
      {"Amount", "Amount", "AMTTYPE"},
      {"RunningBalance", "Balance", "AMTTYPE"},
      {"OpenBalance", "Open Balance", "AMTTYPE"},
      {"DueDate", "Due Date", "DATETYPE"},
      {"Terms", "Terms", "STRTYPE"},
      {"Item", "Item", "STRTYPE"},
      {"Quantity", "Qty", "QUANTYPE"},
      {"TxnID", "Txn ID", "STRTYPE"},
      {"PaidStatus", "Paid", "STRTYPE"},
      {"SourceName", "Source Name", "STRTYPE"},
  };
  for (const FieldInfo& f : kFields)
    if (f.col_type == col_type) return &f;
  return nullptr;
}

struct Detail {
  std::vector<std::string> fields;
  std::string group;     // "Account", "Txn", "Customer", "Vendor", "Class", "Name" or "" (flat)
  bool opening = false;  // a beginning balance row per account
  std::function<bool(const AccountInfo&)> accounts = [](const AccountInfo&) { return true; };
};

class DetailWriter {
 public:
  DetailWriter(Books& books, const ReportQuery& q, ReportTable& table, const Detail& d)
      : books_(books), q_(q), table_(table), d_(d) {}

  void Run() {
    table_.AddColumn({}, "Blank", "STRTYPE");
    for (const std::string& f : d_.fields) {
      const FieldInfo* info = Field(f);
      table_.AddColumn(info ? std::string(info->title) : f, f,
                       info ? std::string(info->data_type) : "STRTYPE");
    }
    // Postings of each transaction, for the split column.
    for (const BookLine& line : books_.Lines()) by_txn_[line.txn].push_back(&line);
    std::map<std::string, std::vector<const BookLine*>> groups;  // ordered by group label
    std::map<std::string, int64_t> opening;
    std::vector<std::string> order;
    for (const BookLine& line : books_.Lines()) {
      const AccountInfo* account = books_.Account(line.account);
      if (!account || !d_.accounts(*account) || !books_.Passes(line)) continue;
      const std::string key = GroupKey(line, *account);
      if (!q_.from.empty() && line.txn->date < q_.from) {
        opening[key] += line.amount;
        continue;
      }
      if (!q_.to.empty() && line.txn->date > q_.to) continue;
      if (!groups.count(key)) order.push_back(key);
      groups[key].push_back(&line);
    }
    if (d_.group == "Account") {
      order.clear();
      for (const AccountInfo& a : books_.Accounts())
        if (groups.count(a.full_name) || (d_.opening && opening[a.full_name] != 0))
          order.push_back(a.full_name);
    } else if (d_.group != "Txn") {
      std::sort(order.begin(), order.end());
    }
    int64_t debits = 0, credits = 0;
    for (const std::string& key : order) {
      const auto& lines = groups[key];
      const bool grouped = !d_.group.empty() && d_.group != "Txn";
      if (grouped) table_.Text(key.empty() ? "No " + d_.group : key);
      int64_t balance = d_.opening ? opening[key] : 0, group_debits = 0, group_credits = 0;
      if (grouped && d_.opening && !q_.from.empty()) {
        auto& row = table_.Row(ReportRow::Kind::kData);
        row.cells.emplace_back(1, "Beginning Balance");
        Put(row, "RunningBalance", Money(balance));
      }
      for (const BookLine* line : lines) {
        balance += line->amount;
        (line->amount >= 0 ? group_debits : group_credits) += line->amount;
        auto& row = table_.Row(ReportRow::Kind::kData, d_.group == "Txn" ? "name" : "account",
                               d_.group == "Txn" ? books_.NameOf(Entity(*line)) : key);
        Fill(row, *line, balance);
      }
      debits += group_debits;
      credits += group_credits;
      if (grouped || d_.group == "Txn") {
        auto& total = table_.Row(ReportRow::Kind::kSubtotal);
        total.cells.emplace_back(1, grouped ? "Total " + Leaf(key) : std::string());
        Totals(total, group_debits, group_credits, balance);
      }
    }
    auto& total = table_.Row(ReportRow::Kind::kTotal);
    total.cells.emplace_back(1, "TOTAL");
    Totals(total, debits, credits, debits + credits);
  }

 private:
  static std::string Leaf(const std::string& full_name) {
    auto colon = full_name.rfind(':');
    return colon == std::string::npos ? full_name : full_name.substr(colon + 1);
  }
  std::string Entity(const BookLine& line) {
    return line.txn->entity.empty() ? line.entity : line.txn->entity;
  }
  std::string GroupKey(const BookLine& line, const AccountInfo& account) {
    if (d_.group == "Account") return account.full_name;
    if (d_.group == "Txn") return line.txn->id;
    if (d_.group == "Class") return books_.NameOf(line.txn->class_id);
    if (d_.group.empty()) return {};
    const std::string entity = Entity(line);
    if (d_.group == "Name") return books_.NameOf(entity);
    if (d_.group == "SalesRep")
      return line.txn->record ? std::string(RefName(line.txn->record->Field("SalesRepRef"))) : "";
    return books_.ListTypeOf(entity) == d_.group ? books_.NameOf(entity) : std::string();
  }
  void Put(ReportRow& row, std::string_view field, std::string value) {
    if (value.empty()) return;
    for (size_t i = 0; i < d_.fields.size(); ++i)
      if (d_.fields[i] == field) row.cells.emplace_back(static_cast<int>(i + 2), std::move(value));
  }
  void Totals(ReportRow& row, int64_t debits, int64_t credits, int64_t balance) {
    Put(row, "Debit", Money(debits));
    Put(row, "Credit", Money(-credits));
    Put(row, "Amount", Money(debits + credits));
    Put(row, "RunningBalance", Money(balance));
  }
  std::string Split(const BookLine& line) {
    const BookLine* other = nullptr;
    for (const BookLine* l : by_txn_[line.txn]) {
      if (l->account == line.account) continue;
      if (other && other->account != l->account) return "-SPLIT-";
      other = l;
    }
    const AccountInfo* account = other ? books_.Account(other->account) : nullptr;
    return account ? account->full_name : std::string();
  }
  void Fill(ReportRow& row, const BookLine& line, int64_t balance) {
    const TxnFacts& txn = *line.txn;
    const AccountInfo* account = books_.Account(line.account);
    for (const std::string& f : d_.fields) {
      if (f == "TxnType")
        Put(row, f, Books::TypeText(txn.type));
      else if (f == "Date")
        Put(row, f, txn.date);
      else if (f == "TxnNumber")
        Put(row, f, txn.number ? std::to_string(txn.number) : "");
      else if (f == "RefNumber")
        Put(row, f, txn.ref);
      else if (f == "Name")
        Put(row, f, books_.NameOf(Entity(line)));
      else if (f == "Memo")
        Put(row, f, txn.memo);
      else if (f == "Account")
        Put(row, f, account ? account->full_name : "");
      else if (f == "Class")
        Put(row, f, books_.NameOf(txn.class_id));
      else if (f == "SplitAccount")
        Put(row, f, Split(line));
      else if (f == "Debit")
        Put(row, f, line.amount > 0 ? Money(line.amount) : "");
      else if (f == "Credit")
        Put(row, f, line.amount < 0 ? Money(-line.amount) : "");
      else if (f == "Amount")
        Put(row, f, Money(line.amount));
      else if (f == "RunningBalance")
        Put(row, f, Money(balance));
      else if (f == "OpenBalance")
        Put(row, f, line.open.empty() ? "" : Money(OpenOf(line.open)));
      else if (f == "DueDate")
        Put(row, f, txn.due_date);
      else if (f == "Terms")
        Put(row, f, txn.terms);
      else if (f == "Item")
        Put(row, f, books_.NameOf(line.item));
      else if (f == "Quantity")
        Put(row, f, line.quantity ? Units(line.quantity) : "");
      else if (f == "TxnID")
        Put(row, f, txn.id);
    }
  }
  int64_t OpenOf(const std::string& open_id) {
    auto it = open_.find(open_id);
    if (it != open_.end()) return it->second;
    int64_t sum = 0;
    const std::string as_of = q_.to.empty() ? q_.today : q_.to;
    for (const BookLine& l : books_.Lines())
      if (l.open == open_id && (!q_.open_balance_as_of_end || l.txn->date <= as_of))
        sum += l.amount;
    return open_[open_id] = sum;
  }

  Books& books_;
  const ReportQuery& q_;
  ReportTable& table_;
  const Detail& d_;
  std::map<const TxnFacts*, std::vector<const BookLine*>> by_txn_;
  std::map<std::string, int64_t> open_;
};

bool BalanceSheetAccount(const AccountInfo& a) { return !Books::ProfitAndLoss(a.type); }
bool ProfitAndLossAccount(const AccountInfo& a) { return Books::ProfitAndLoss(a.type); }

}  // namespace

bool BuildDetailReport(Books& books, const ReportQuery& q, ReportTable& table) {
  const std::string& r = q.report;
  Detail d;
  const std::vector<std::string> ledger = {"TxnType", "Date",   "RefNumber",
                                           "Name",    "Memo",   "SplitAccount",
                                           "Debit",   "Credit", "RunningBalance"};
  if (r == "GeneralLedger") {
    d = {ledger, "Account", true};
  } else if (r == "TxnDetailByAccount") {
    d = {{"TxnType", "Date", "RefNumber", "Name", "Memo", "Class", "SplitAccount", "Amount",
          "RunningBalance"},
         "Account",
         false};
  } else if (r == "BalanceSheetDetail") {
    d = {ledger, "Account", true};
    d.accounts = BalanceSheetAccount;
  } else if (r == "ProfitAndLossDetail") {
    d = {{"TxnType", "Date", "RefNumber", "Name", "Memo", "Class", "SplitAccount", "Amount",
          "RunningBalance"},
         "Account",
         false};
    d.accounts = ProfitAndLossAccount;
  } else if (r == "Journal") {
    d = {
        {"TxnNumber", "TxnType", "Date", "RefNumber", "Name", "Memo", "Account", "Debit", "Credit"},
        "Txn",
        false};
  } else if (r == "TxnListByDate" || r == "AuditTrail") {
    d = {{"TxnType", "Date", "RefNumber", "Name", "Memo", "Account", "SplitAccount", "Amount"},
         {},
         false};
  } else if (r == "TxnListByCustomer" || r == "TxnListByVendor") {
    d = {{"TxnType", "Date", "RefNumber", "Memo", "Account", "SplitAccount", "Amount"},
         r == "TxnListByCustomer" ? "Customer" : "Vendor",
         false};
  } else if (r == "CustomTxnDetail") {
    d.fields = q.include_columns;
    if (d.fields.empty())
      d.fields = {"TxnType", "Date",          "TxnNumber",    "Name",  "Memo",   "Account",
                  "Class",   "ClearedStatus", "SplitAccount", "Debit", "Credit", "OpenBalance"};
    const std::string& by = q.rows_by;
    d.group = by == "Account"    ? "Account"
              : by == "Class"    ? "Class"
              : by == "Customer" ? "Customer"
              : by == "Vendor"   ? "Vendor"
              : by == "Payee"    ? "Name"
                                 : "";
  } else if (r == "CustomerBalanceDetail" || r == "VendorBalanceDetail") {
    const bool customers = r == "CustomerBalanceDetail";
    d = {{"TxnType", "Date", "RefNumber", "Account", "Amount", "RunningBalance"},
         customers ? "Customer" : "Vendor",
         false};
    d.accounts = [customers](const AccountInfo& a) {
      return a.type == (customers ? "AccountsReceivable" : "AccountsPayable");
    };
  } else if (r == "SalesByCustomerDetail" || r == "SalesByRepDetail" ||
             r == "IncomeByCustomerDetail") {
    d = {{"TxnType", "Date", "RefNumber", "Memo", "Account", "Item", "Quantity", "Amount",
          "RunningBalance"},
         r == "SalesByRepDetail" ? "SalesRep" : "Customer",
         false};
    d.accounts = [&r](const AccountInfo& a) {
      return a.type == "Income" || (r == "IncomeByCustomerDetail" && Books::ProfitAndLoss(a.type));
    };
  } else if (r == "ExpenseByVendorDetail" || r == "PurchaseByVendorDetail" || r == "1099Detail") {
    d = {{"TxnType", "Date", "RefNumber", "Memo", "Account", "Amount", "RunningBalance"},
         "Vendor",
         false};
    d.accounts = [&r](const AccountInfo& a) {
      return a.type == "Expense" || a.type == "CostOfGoodsSold" || a.type == "OtherExpense" ||
             (r == "PurchaseByVendorDetail" && a.type == "OtherCurrentAsset");
    };
  } else if (r == "CheckDetail" || r == "DepositDetail") {
    d = {{"TxnType", "Date", "RefNumber", "Name", "Account", "Amount"}, "Txn", false};
    d.accounts = [](const AccountInfo& a) { return a.type == "Bank"; };
  } else {
    return false;
  }
  DetailWriter(books, q, table, d).Run();
  table.subtitle = PeriodText(q.from, q.to);
  return true;
}

}  // namespace brennock::simulator
