// Profit and loss, balance sheets, the trial balance and the custom summary report: accounts as
// rows in QuickBooks' sections, figures in columns of periods or names.
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>

#include "simulator/reports/report_builders.h"

namespace brennock::simulator {

namespace {

using Figures = std::vector<int64_t>;

// A section of a financial statement: the account types it holds or its subsections, and the
// texts of its heading and closing rows.
struct Section {
  std::string heading;  // text row; empty: none
  std::string closing;  // subtotal row; empty: none
  std::vector<std::string_view> types;
  std::vector<Section> parts;
  bool total_row = false;  // closes with a TotalRow instead of a SubtotalRow
};

Section Group(std::string heading, std::string closing, std::vector<std::string_view> types) {
  return {std::move(heading), std::move(closing), std::move(types), {}, false};
}

class Statement {
 public:
  Statement(Books& books, const ReportQuery& q, ReportTable& table)
      : books_(books), q_(q), table_(table) {}

  std::vector<FigureColumn> columns;
  // Figures per account, natural sign (credits positive for credit-normal types on the balance
  // sheet; profit contribution on the profit and loss).
  std::map<std::string, Figures> own;

  void Sum(std::function<int64_t(const BookLine&, const AccountInfo&, const FigureColumn&)> value) {
    for (const BookLine& line : books_.Lines()) {
      const AccountInfo* account = books_.Account(line.account);
      if (!account || !books_.Passes(line)) continue;
      const std::string key = ColumnKeyOf(books_, q_, line);
      for (size_t c = 0; c < columns.size(); ++c) {
        if (!InColumn(columns[c], key, line)) continue;
        int64_t v = value(line, *account, columns[c]);
        if (v == 0) continue;
        auto& figures = own[account->id];
        figures.resize(columns.size());
        figures[c] += v;
      }
    }
  }

  Figures Emit(const Section& section) {
    Figures total(columns.size());
    const size_t mark = table_.rows.size();
    if (!section.heading.empty()) table_.Text(section.heading);
    bool any = false;
    for (const Section& part : section.parts) {
      const size_t before = table_.rows.size();
      Figures f = Emit(part);
      any |= table_.rows.size() != before;
      Add(total, f);
    }
    for (std::string_view type : section.types) {
      for (const AccountInfo& account : books_.Accounts()) {
        if (account.type != type || !account.parent.empty() || !Wanted(account)) continue;
        Add(total, EmitAccount(account));
        any = true;
      }
    }
    if (!any && q_.return_rows != "All") {
      table_.rows.resize(mark);
      return total;
    }
    if (!section.closing.empty()) {
      auto& row =
          table_.Row(section.total_row ? ReportRow::Kind::kTotal : ReportRow::Kind::kSubtotal);
      Cells(row, section.closing, total);
    }
    return total;
  }

  void Line(ReportRow::Kind kind, const std::string& label, const Figures& figures) {
    Cells(table_.Row(kind), label, figures);
  }

  static void Add(Figures& to, const Figures& from) {
    for (size_t i = 0; i < from.size() && i < to.size(); ++i) to[i] += from[i];
  }

 private:
  Figures Subtree(const AccountInfo& account) {
    Figures total = Own(account.id);
    for (const AccountInfo& child : books_.Accounts())
      if (child.parent == account.id) Add(total, Subtree(child));
    return total;
  }
  Figures Own(const std::string& id) {
    auto it = own.find(id);
    return it == own.end() ? Figures(columns.size()) : it->second;
  }
  bool NonZero(const Figures& f) const {
    for (int64_t v : f)
      if (v) return true;
    return false;
  }
  bool Wanted(const AccountInfo& account) {
    if (q_.accounts.given && q_.accounts.type.empty()) {
      bool inside = false;
      std::function<bool(const AccountInfo&)> named = [&](const AccountInfo& a) {
        if (q_.accounts.ids.count(a.id)) return true;
        for (const AccountInfo& child : books_.Accounts())
          if (child.parent == a.id && named(child)) return true;
        return false;
      };
      inside = named(account);
      if (!inside) return false;
    }
    if (q_.return_rows == "All") return true;
    return NonZero(Subtree(account));
  }
  Figures EmitAccount(const AccountInfo& account) {
    std::vector<const AccountInfo*> children;
    for (const AccountInfo& child : books_.Accounts())
      if (child.parent == account.id && Wanted(child)) children.push_back(&child);
    Figures mine = Own(account.id);
    if (children.empty()) {
      Cells(table_.Row(ReportRow::Kind::kData, "account", account.full_name), account.name, mine);
      return mine;
    }
    table_.Text(account.name);
    Figures total = mine;
    for (const AccountInfo* child : children) Add(total, EmitAccount(*child));
    if (NonZero(mine))
      Cells(table_.Row(ReportRow::Kind::kData, "account", account.full_name),
            account.name + " - Other", mine);
    Cells(table_.Row(ReportRow::Kind::kSubtotal, "account", account.full_name),
          "Total " + account.name, total);
    return total;
  }
  void Cells(ReportRow& row, const std::string& label, const Figures& figures) {
    row.cells.emplace_back(1, label);
    for (size_t c = 0; c < columns.size(); ++c)
      row.cells.emplace_back(static_cast<int>(c + 2), Money(c < figures.size() ? figures[c] : 0));
  }

  Books& books_;
  const ReportQuery& q_;
  ReportTable& table_;
};

void FigureHeaders(ReportTable& table, const std::vector<FigureColumn>& columns) {
  table.AddColumn({}, "Blank", "STRTYPE");
  for (const FigureColumn& column : columns)
    table.AddColumn(column.title, column.total || columns.size() == 1 ? "Total" : "Amount",
                    "AMTTYPE");
}

Section ProfitAndLossSections() {
  Section ordinary{"Ordinary Income/Expense", "Net Ordinary Income", {}, {}, false};
  ordinary.parts = {Group("Income", "Total Income", {"Income"}),
                    Group("Cost of Goods Sold", "Total COGS", {"CostOfGoodsSold"}),
                    Group("Expense", "Total Expense", {"Expense"})};
  Section other{"Other Income/Expense", "Net Other Income", {}, {}, false};
  other.parts = {Group("Other Income", "Total Other Income", {"OtherIncome"}),
                 Group("Other Expense", "Total Other Expense", {"OtherExpense"})};
  Section all;
  all.parts = {ordinary, other};
  return all;
}

// Profit and loss over each column's period: income and expense as profit contributions.
void ProfitAndLoss(Books& books, const ReportQuery& q, ReportTable& table) {
  Statement s(books, q, table);
  s.columns = FigureColumns(books, q);
  FigureHeaders(table, s.columns);
  s.Sum([&](const BookLine& line, const AccountInfo& account, const FigureColumn& column) {
    if (!Books::ProfitAndLoss(account.type)) return int64_t{0};
    if (!column.by_name && !column.from.empty()) return -line.amount;
    if (!q.from.empty() && line.txn->date < q.from) return int64_t{0};
    if (!q.to.empty() && line.txn->date > q.to) return int64_t{0};
    return -line.amount;
  });
  // Sections show expenses as positive figures: flip costs back inside their own groups.
  for (auto& [id, figures] : s.own) {
    const AccountInfo* account = books.Account(id);
    if (account->type == "CostOfGoodsSold" || account->type == "Expense" ||
        account->type == "OtherExpense")
      for (int64_t& v : figures) v = -v;
  }
  Section sections = ProfitAndLossSections();
  Figures income = s.Emit(sections.parts[0].parts[0]);
  const size_t before_cogs = table.rows.size();
  Figures cogs = s.Emit(sections.parts[0].parts[1]);
  Figures gross = income;
  for (size_t i = 0; i < gross.size(); ++i) gross[i] -= cogs[i];
  if (table.rows.size() != before_cogs) s.Line(ReportRow::Kind::kSubtotal, "Gross Profit", gross);
  Figures expense = s.Emit(sections.parts[0].parts[2]);
  Figures ordinary = gross;
  for (size_t i = 0; i < ordinary.size(); ++i) ordinary[i] -= expense[i];
  // Headings around the ordinary part, as QuickBooks writes them.
  table.rows.insert(table.rows.begin(),
                    ReportRow{ReportRow::Kind::kText, "Ordinary Income/Expense", {}, {}, {}});
  s.Line(ReportRow::Kind::kSubtotal, "Net Ordinary Income", ordinary);
  const size_t other_mark = table.rows.size();
  table.Text("Other Income/Expense");
  const size_t inner = table.rows.size();
  Figures other_income = s.Emit(sections.parts[1].parts[0]);
  Figures other_expense = s.Emit(sections.parts[1].parts[1]);
  Figures net_other = other_income;
  for (size_t i = 0; i < net_other.size(); ++i) net_other[i] -= other_expense[i];
  if (table.rows.size() == inner)
    table.rows.resize(other_mark);
  else
    s.Line(ReportRow::Kind::kSubtotal, "Net Other Income", net_other);
  Figures net = ordinary;
  for (size_t i = 0; i < net.size(); ++i) net[i] += net_other[i];
  s.Line(ReportRow::Kind::kTotal, "Net Income", net);
}

// Balances at the end of each column's period; retained earnings and this year's net income
// join equity, so assets equal liabilities and equity.
void BalanceSheet(Books& books, const ReportQuery& q, ReportTable& table, bool summary) {
  ReportQuery as_of = q;
  Statement s(books, as_of, table);
  s.columns = FigureColumns(books, q);
  if (s.columns.size() > 1 && !s.columns.front().by_name)
    s.columns.pop_back();  // no TOTAL of balances
  for (FigureColumn& c : s.columns) {
    if (c.to.empty()) c.to = q.to.empty() ? q.today : q.to;
    c.from.clear();
  }
  FigureHeaders(table, s.columns);
  std::vector<std::string> ends;
  for (const FigureColumn& c : s.columns) ends.push_back(c.to);
  // Net income of each column's fiscal year, and earlier years' for retained earnings.
  Figures net(s.columns.size()), retained(s.columns.size());
  std::string retained_id;
  for (const AccountInfo& a : books.Accounts())
    if (a.type == "Equity" && a.name == "Retained Earnings") retained_id = a.id;
  for (const BookLine& line : books.Lines()) {
    const AccountInfo* account = books.Account(line.account);
    if (!account || !books.Passes(line)) continue;
    const std::string key = ColumnKeyOf(books, q, line);
    for (size_t c = 0; c < s.columns.size(); ++c) {
      FigureColumn& column = s.columns[c];
      if (line.txn->date > ends[c]) continue;
      if (column.by_name && column.key != key) continue;
      if (Books::ProfitAndLoss(account->type)) {
        const std::string year = FiscalYearStart(ends[c], q.fiscal_first_month);
        (line.txn->date >= year ? net : retained)[c] -= line.amount;
        continue;
      }
      auto& f = s.own[account->id];
      f.resize(s.columns.size());
      f[c] += Ledger::CreditNormal(account->type) ? -line.amount : line.amount;
    }
  }
  if (!retained_id.empty()) {
    auto& f = s.own[retained_id];
    f.resize(s.columns.size());
    Statement::Add(f, retained);
  }
  Section assets{"ASSETS", "TOTAL ASSETS", {}, {}, true};
  Section current{"Current Assets", "Total Current Assets", {}, {}, false};
  current.parts = {
      Group("Checking/Savings", "Total Checking/Savings", {"Bank"}),
      Group("Accounts Receivable", "Total Accounts Receivable", {"AccountsReceivable"}),
      Group("Other Current Assets", "Total Other Current Assets", {"OtherCurrentAsset"})};
  assets.parts = {current, Group("Fixed Assets", "Total Fixed Assets", {"FixedAsset"}),
                  Group("Other Assets", "Total Other Assets", {"OtherAsset"})};
  Section current_liabilities{"Current Liabilities", "Total Current Liabilities", {}, {}, false};
  current_liabilities.parts = {
      Group("Accounts Payable", "Total Accounts Payable", {"AccountsPayable"}),
      Group("Credit Cards", "Total Credit Cards", {"CreditCard"}),
      Group("Other Current Liabilities", "Total Other Current Liabilities",
            {"OtherCurrentLiability"})};
  Section liabilities{"Liabilities", "Total Liabilities", {}, {}, false};
  liabilities.parts = {
      current_liabilities,
      Group("Long Term Liabilities", "Total Long Term Liabilities", {"LongTermLiability"})};
  s.Emit(assets);
  table.Text("LIABILITIES & EQUITY");
  Figures total = s.Emit(liabilities);
  table.Text("Equity");
  Figures equity = s.Emit(Group({}, {}, {"Equity"}));
  if (retained_id.empty() && (q.return_rows == "All" || retained != Figures(retained.size()))) {
    s.Line(ReportRow::Kind::kData, "Retained Earnings", retained);
    Statement::Add(equity, retained);
  }
  s.Line(ReportRow::Kind::kData, "Net Income", net);
  Statement::Add(equity, net);
  s.Line(ReportRow::Kind::kSubtotal, "Total Equity", equity);
  Statement::Add(total, equity);
  s.Line(ReportRow::Kind::kTotal, "TOTAL LIABILITIES & EQUITY", total);
  if (summary) {
    // The summary keeps the section rows and drops the accounts inside them.
    std::vector<ReportRow> kept;
    for (ReportRow& row : table.rows)
      if (row.row_type != "account") kept.push_back(std::move(row));
    table.rows = std::move(kept);
  }
}

// Every account's balance as a debit or a credit at the end date; income and expense accounts
// count from the start of the fiscal year, earlier years in retained earnings.
void TrialBalance(Books& books, const ReportQuery& q, ReportTable& table) {
  const std::string end = q.to.empty() ? q.today : q.to;
  const std::string year = FiscalYearStart(end, q.fiscal_first_month);
  table.AddColumn({}, "Blank", "STRTYPE");
  table.AddColumn("Debit", "Debit", "AMTTYPE");
  table.AddColumn("Credit", "Credit", "AMTTYPE");
  std::map<std::string, int64_t> balance;
  std::string retained_id;
  for (const AccountInfo& a : books.Accounts())
    if (a.type == "Equity" && a.name == "Retained Earnings") retained_id = a.id;
  int64_t retained = 0;
  for (const BookLine& line : books.Lines()) {
    const AccountInfo* account = books.Account(line.account);
    if (!account || line.txn->date > end || !books.Passes(line)) continue;
    if (Books::ProfitAndLoss(account->type) && line.txn->date < year)
      retained += line.amount;
    else
      balance[account->id] += line.amount;
  }
  if (!retained_id.empty()) balance[retained_id] += retained;
  int64_t debits = 0, credits = 0;
  auto row = [&](const std::string& full_name, const std::string& label, int64_t amount) {
    auto& r = table.Row(ReportRow::Kind::kData, "account", full_name);
    r.cells.emplace_back(1, label);
    if (amount >= 0) {
      r.cells.emplace_back(2, Money(amount));
      debits += amount;
    } else {
      r.cells.emplace_back(3, Money(-amount));
      credits -= amount;
    }
  };
  for (const AccountInfo& account : books.Accounts()) {
    auto it = balance.find(account.id);
    const int64_t amount = it == balance.end() ? 0 : it->second;
    if (amount == 0 && q.return_rows != "All") continue;
    row(account.full_name, account.full_name, amount);
  }
  if (retained_id.empty() && retained != 0) row("Retained Earnings", "Retained Earnings", retained);
  auto& total = table.Row(ReportRow::Kind::kTotal);
  total.cells = {{1, "TOTAL"}, {2, Money(debits)}, {3, Money(credits)}};
}

// A comparison: the period's figures beside the same period a year earlier (or the year to date),
// with the change in money and per cent.
void Comparison(Books& books, const ReportQuery& q, ReportTable& table, bool balance_sheet,
                bool year_to_date) {
  ReportQuery now = q;
  if (now.to.empty()) now.to = q.today;
  ReportQuery then = now;
  if (year_to_date) {
    then.from = FiscalYearStart(now.to, q.fiscal_first_month);
  } else {
    then.from = ShiftYears(now.from, -1);
    then.to = ShiftYears(now.to, -1);
  }
  now.columns_by = then.columns_by = "TotalOnly";
  ReportTable a, b;
  if (balance_sheet) {
    BalanceSheet(books, now, a, false);
    BalanceSheet(books, then, b, false);
  } else {
    ProfitAndLoss(books, now, a);
    ProfitAndLoss(books, then, b);
  }
  // Rows are matched by their label path; rows only in the earlier period are left out.
  std::map<std::string, std::string> earlier;
  std::string path;
  for (const ReportRow& row : b.rows)
    if (!row.cells.empty())
      earlier[row.row_value + "|" + row.cells[0].second] = row.cells[1].second;
  table.AddColumn({}, "Blank", "STRTYPE");
  table.AddColumn(year_to_date ? PeriodText(now.from, now.to) : PeriodText(now.from, now.to),
                  "Amount", "AMTTYPE");
  table.AddColumn(year_to_date ? "YTD" : PeriodText(then.from, then.to), "Amount", "AMTTYPE");
  table.AddColumn("$ Change", "AmountDifference", "AMTTYPE");
  table.AddColumn("% Change", "PercentChange", "PERCENTTYPE");
  for (ReportRow row : a.rows) {
    if (!row.cells.empty()) {
      const std::string current = row.cells[1].second;
      auto it = earlier.find(row.row_value + "|" + row.cells[0].second);
      const std::string before = it == earlier.end() ? "0.00" : it->second;
      const int64_t x = static_cast<int64_t>(std::llround(std::stod(current) * 100));
      const int64_t y = static_cast<int64_t>(std::llround(std::stod(before) * 100));
      row.cells.resize(1);
      row.cells.emplace_back(2, current);
      row.cells.emplace_back(3, before);
      row.cells.emplace_back(4, Money(x - y));
      if (y != 0) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.1f",
                      100.0 * static_cast<double>(x - y) / static_cast<double>(y < 0 ? -y : y));
        row.cells.emplace_back(5, buffer);
      }
    }
    table.rows.push_back(std::move(row));
  }
}

}  // namespace

bool BuildFinancialReport(Books& books, const ReportQuery& q, ReportTable& table) {
  const std::string& r = q.report;
  ReportQuery query = q;
  if (r == "ProfitAndLossStandard" || r == "CustomSummary") {
    if (r == "CustomSummary" && q.rows_by == "BalanceSheet") {
      BalanceSheet(books, query, table, false);
    } else {
      ProfitAndLoss(books, query, table);
    }
  } else if (r == "ProfitAndLossByClass") {
    query.columns_by = "Class";
    ProfitAndLoss(books, query, table);
  } else if (r == "ProfitAndLossByJob") {
    query.columns_by = "Customer";
    ProfitAndLoss(books, query, table);
  } else if (r == "ProfitAndLossPrevYearComp") {
    Comparison(books, query, table, false, false);
  } else if (r == "ProfitAndLossYTDComp") {
    Comparison(books, query, table, false, true);
  } else if (r == "BalanceSheetStandard" || r == "BalanceSheetSummary") {
    BalanceSheet(books, query, table, r == "BalanceSheetSummary");
  } else if (r == "BalanceSheetPrevYearComp") {
    Comparison(books, query, table, true, false);
  } else if (r == "TrialBalance") {
    TrialBalance(books, query, table);
  } else {
    return false;
  }
  const bool as_of = r.starts_with("BalanceSheet") || r == "TrialBalance";
  table.subtitle = as_of ? AsOfText(q.to.empty() ? q.today : q.to) : PeriodText(q.from, q.to);
  return true;
}

}  // namespace brennock::simulator
