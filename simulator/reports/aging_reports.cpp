// What is still open in accounts receivable and payable: aging by 30-day buckets, open invoices,
// unpaid bills, balances by name.
#include <array>
#include <map>

#include "simulator/reports/report_builders.h"

namespace brennock::simulator {

namespace {

struct OpenItem {
  const TxnFacts* txn = nullptr;
  std::string entity;
  int64_t amount = 0;  // open at the report date, natural sign (owed to or by the company)
  int64_t days = 0;    // past due (or since the transaction, by the aging preference)
};

constexpr const char* kBuckets[] = {"Current", "1 - 30", "31 - 60", "61 - 90", "> 90"};

int Bucket(int64_t days) {
  if (days <= 0) return 0;
  if (days <= 30) return 1;
  if (days <= 60) return 2;
  if (days <= 90) return 3;
  return 4;
}

std::vector<OpenItem> OpenItems(Books& books, bool receivable, const std::string& as_of) {
  const bool from_due =
      books.lists().company().SettingOr("pref.ReportsPreferences.AgingReportBasis",
                                        "AgeFromDueDate") == "AgeFromDueDate";
  std::map<std::string, OpenItem> items;
  std::vector<std::string> order;
  for (const BookLine& line : books.Lines()) {
    const AccountInfo* account = books.Account(line.account);
    if (!account || line.open.empty() || line.txn->date > as_of) continue;
    if (account->type != (receivable ? "AccountsReceivable" : "AccountsPayable")) continue;
    if (!books.Passes(line)) continue;
    auto [it, added] = items.try_emplace(line.open);
    if (added) order.push_back(line.open);
    it->second.amount += receivable ? line.amount : -line.amount;
    if (line.txn->id == line.open) {
      it->second.txn = line.txn;
      it->second.entity = line.entity;
    }
  }
  std::vector<OpenItem> out;
  for (const std::string& id : order) {
    OpenItem item = items[id];
    if (item.amount == 0 || !item.txn) continue;
    const std::string& start =
        from_due && !item.txn->due_date.empty() ? item.txn->due_date : item.txn->date;
    item.days = DaysBetween(start, as_of);
    out.push_back(item);
  }
  std::stable_sort(out.begin(), out.end(), [&](const OpenItem& a, const OpenItem& b) {
    return books.NameOf(a.entity) < books.NameOf(b.entity);
  });
  return out;
}

void AgingSummary(Books& books, const std::vector<OpenItem>& items, ReportTable& table) {
  table.AddColumn({}, "Blank", "STRTYPE");
  for (const char* bucket : kBuckets) table.AddColumn(bucket, "Amount", "AMTTYPE");
  table.AddColumn("TOTAL", "Total", "AMTTYPE");
  std::map<std::string, std::array<int64_t, 6>> by_name;
  std::array<int64_t, 6> total{};
  for (const OpenItem& item : items) {
    auto& figures = by_name[books.NameOf(item.entity)];
    figures[static_cast<size_t>(Bucket(item.days))] += item.amount;
    figures[5] += item.amount;
    total[static_cast<size_t>(Bucket(item.days))] += item.amount;
    total[5] += item.amount;
  }
  auto cells = [](ReportRow& row, const std::string& label, const std::array<int64_t, 6>& f) {
    row.cells.emplace_back(1, label);
    for (size_t i = 0; i < f.size(); ++i)
      row.cells.emplace_back(static_cast<int>(i + 2), Money(f[i]));
  };
  for (const auto& [name, figures] : by_name)
    cells(table.Row(ReportRow::Kind::kData, "name", name), name, figures);
  cells(table.Row(ReportRow::Kind::kTotal), "TOTAL", total);
}

// Open items listed under a heading each (an aging bucket or a name), with subtotals.
void OpenList(Books& books, const std::vector<OpenItem>& items, ReportTable& table,
              bool by_bucket) {
  table.AddColumn({}, "Blank", "STRTYPE");
  table.AddColumn("Type", "TxnType", "STRTYPE");
  table.AddColumn("Date", "Date", "DATETYPE");
  table.AddColumn("Num", "RefNumber", "STRTYPE");
  table.AddColumn("Name", "Name", "STRTYPE");
  table.AddColumn("Terms", "Terms", "STRTYPE");
  table.AddColumn("Due Date", "DueDate", "DATETYPE");
  table.AddColumn("Aging", "Aging", "INTTYPE");
  table.AddColumn("Open Balance", "OpenBalance", "AMTTYPE");
  std::map<std::string, std::vector<const OpenItem*>> groups;
  for (const OpenItem& item : items)
    groups[by_bucket ? std::to_string(Bucket(item.days)) : books.NameOf(item.entity)].push_back(
        &item);
  int64_t total = 0;
  for (const auto& [key, members] : groups) {
    const std::string label = by_bucket ? kBuckets[std::stoi(key)] : key;
    table.Text(label);
    int64_t sum = 0;
    for (const OpenItem* item : members) {
      auto& row = table.Row(ReportRow::Kind::kData, "name", books.NameOf(item->entity));
      row.cells = {{2, Books::TypeText(item->txn->type)},
                   {3, item->txn->date},
                   {4, item->txn->ref},
                   {5, books.NameOf(item->entity)}};
      if (!item->txn->terms.empty()) row.cells.emplace_back(6, item->txn->terms);
      if (!item->txn->due_date.empty()) row.cells.emplace_back(7, item->txn->due_date);
      if (item->days > 0) row.cells.emplace_back(8, std::to_string(item->days));
      row.cells.emplace_back(9, Money(item->amount));
      sum += item->amount;
    }
    auto& subtotal = table.Row(ReportRow::Kind::kSubtotal);
    subtotal.cells = {{1, "Total " + label}, {9, Money(sum)}};
    total += sum;
  }
  auto& row = table.Row(ReportRow::Kind::kTotal);
  row.cells = {{1, "TOTAL"}, {9, Money(total)}};
}

void BalanceSummary(Books& books, const std::vector<OpenItem>& items, ReportTable& table) {
  table.AddColumn({}, "Blank", "STRTYPE");
  table.AddColumn("TOTAL", "Total", "AMTTYPE");
  std::map<std::string, int64_t> by_name;
  int64_t total = 0;
  for (const OpenItem& item : items) {
    by_name[books.NameOf(item.entity)] += item.amount;
    total += item.amount;
  }
  for (const auto& [name, amount] : by_name) {
    auto& row = table.Row(ReportRow::Kind::kData, "name", name);
    row.cells = {{1, name}, {2, Money(amount)}};
  }
  auto& row = table.Row(ReportRow::Kind::kTotal);
  row.cells = {{1, "TOTAL"}, {2, Money(total)}};
}

}  // namespace

bool BuildAgingReport(Books& books, const ReportQuery& q, ReportTable& table) {
  const std::string& r = q.report;
  const std::string as_of = q.to.empty() ? q.today : q.to;
  const bool receivable = r.starts_with("AR") || r == "OpenInvoices" || r == "CollectionsReport" ||
                          r == "CustomerBalanceSummary";
  const bool payable =
      r.starts_with("AP") || r == "UnpaidBillsDetail" || r == "VendorBalanceSummary";
  if (!receivable && !payable) return false;
  std::vector<OpenItem> items = OpenItems(books, receivable, as_of);
  if (r == "ARAgingSummary" || r == "APAgingSummary") {
    AgingSummary(books, items, table);
  } else if (r == "ARAgingDetail" || r == "APAgingDetail") {
    OpenList(books, items, table, true);
  } else if (r == "CustomerBalanceSummary" || r == "VendorBalanceSummary") {
    BalanceSummary(books, items, table);
  } else {
    if (r == "CollectionsReport")
      std::erase_if(items, [](const OpenItem& item) { return item.days <= 0; });
    OpenList(books, items, table, false);
  }
  table.subtitle = AsOfText(as_of);
  return true;
}

}  // namespace brennock::simulator
