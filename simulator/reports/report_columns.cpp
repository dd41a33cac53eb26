// Columns of summary reports (periods or names), period texts and report titles.
#include <array>
#include <cstdio>

#include "simulator/reports/report_builders.h"

namespace brennock::simulator {

namespace {

struct Ymd {
  int y, m, d;
};

Ymd Parse(const std::string& date) {
  Ymd out{1900, 1, 1};
  if (date.size() >= 10) std::sscanf(date.c_str(), "%d-%d-%d", &out.y, &out.m, &out.d);
  return out;
}

// Days since 1970-01-01 of a civil date, and back (proleptic Gregorian calendar).
int64_t DaysOf(Ymd v) {
  const int y = v.y - (v.m <= 2);
  const int era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (v.m + (v.m > 2 ? -3 : 9)) + 2) / 5 + v.d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097LL + static_cast<int64_t>(doe) - 719468;
}

Ymd FromDays(int64_t z) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  return {static_cast<int>(era * 400 + yoe) + (m <= 2), m, d};
}

std::string Format(Ymd v) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", v.y, v.m, v.d);
  return buffer;
}

constexpr std::array<const char*, 12> kMonths = {"January",   "February", "March",    "April",
                                                 "May",       "June",     "July",     "August",
                                                 "September", "October",  "November", "December"};

std::string ShortMonth(int m) {
  return std::string(kMonths[static_cast<size_t>(m - 1)]).substr(0, 3);
}
std::string ShortYear(int y) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "%02d", y % 100);
  return buffer;
}

std::string StartOfMonth(int y, int m) { return Format({y, m, 1}); }

std::string EndOfMonth(int y, int m) {
  const int ny = m == 12 ? y + 1 : y, nm = m == 12 ? 1 : m + 1;
  return Format(FromDays(DaysOf({ny, nm, 1}) - 1));
}

}  // namespace

int64_t DaysBetween(const std::string& from, const std::string& to) {
  return DaysOf(Parse(to)) - DaysOf(Parse(from));
}

std::string ShiftYears(const std::string& date, int years) {
  if (date.empty()) return date;
  Ymd v = Parse(date);
  v.y += years;
  if (v.m == 2 && v.d == 29) v.d = 28;
  return Format(v);
}

std::string FiscalYearStart(const std::string& date, int first_month) {
  Ymd v = Parse(date);
  int y = v.m >= first_month ? v.y : v.y - 1;
  return Format({y, first_month, 1});
}

std::string PeriodText(const std::string& from, const std::string& to) {
  if (from.empty() && to.empty()) return "All Transactions";
  if (from.empty()) return AsOfText(to);
  const Ymd a = Parse(from), b = Parse(to.empty() ? from : to);
  const std::string ma = kMonths[static_cast<size_t>(a.m - 1)],
                    mb = kMonths[static_cast<size_t>(b.m - 1)];
  if (a.y == b.y && a.m == b.m)
    return ma + " " + std::to_string(a.d) + " - " + std::to_string(b.d) + ", " +
           std::to_string(a.y);
  if (a.y == b.y)
    return ma + " " + std::to_string(a.d) + " - " + mb + " " + std::to_string(b.d) + ", " +
           std::to_string(a.y);
  return ma + " " + std::to_string(a.d) + ", " + std::to_string(a.y) + " - " + mb + " " +
         std::to_string(b.d) + ", " + std::to_string(b.y);
}

std::string AsOfText(const std::string& date) {
  const Ymd v = Parse(date);
  return "As of " + std::string(kMonths[static_cast<size_t>(v.m - 1)]) + " " + std::to_string(v.d) +
         ", " + std::to_string(v.y);
}

std::vector<FigureColumn> FigureColumns(Books& books, const ReportQuery& q) {
  std::vector<FigureColumn> columns;
  const std::string& by = q.columns_by;
  std::string from = q.from, to = q.to.empty() ? q.today : q.to;
  if (from.empty()) {
    for (const BookLine& line : books.Lines())
      if (!line.txn->date.empty()) {
        from = line.txn->date;
        break;
      }
    if (from.empty()) from = to;
  }
  auto period = [&](std::string title, std::string a, std::string b) {
    if (b > to) b = to;
    columns.push_back({std::move(title), std::move(a), std::move(b), {}, false, false});
  };
  if (by == "Month" || by == "Quarter" || by == "Year" || by == "HalfMonth") {
    const int step = by == "Month" || by == "HalfMonth" ? 1 : by == "Quarter" ? 3 : 12;
    Ymd at = Parse(from);
    int y = at.y, m = by == "Year" ? 1 : by == "Quarter" ? (at.m - 1) / 3 * 3 + 1 : at.m;
    for (int guard = 0; guard < 600 && StartOfMonth(y, m) <= to; ++guard) {
      int ey = y, em = m + step - 1;
      while (em > 12) em -= 12, ++ey;
      std::string a = std::max(StartOfMonth(y, m), from);
      std::string title = step == 1 ? ShortMonth(m) + " " + ShortYear(y)
                          : step == 12
                              ? "Jan - Dec " + ShortYear(y)
                              : ShortMonth(m) + " - " + ShortMonth(em) + " " + ShortYear(ey);
      period(std::move(title), a, EndOfMonth(ey, em));
      m += step;
      while (m > 12) m -= 12, ++y;
    }
  } else if (by == "Week" || by == "TwoWeek" || by == "FourWeek" || by == "Day") {
    const int days = by == "Day" ? 1 : by == "Week" ? 7 : by == "TwoWeek" ? 14 : 28;
    int64_t start = DaysOf(Parse(from));
    if (days > 1) start -= (start + 4) % 7;  // back to Sunday (1970-01-01 was a Thursday)
    for (int guard = 0; guard < 2000 && Format(FromDays(start)) <= to; ++guard, start += days) {
      std::string a = std::max(Format(FromDays(start)), from);
      std::string b = Format(FromDays(start + days - 1));
      const Ymd ya = Parse(a);
      period(ShortMonth(ya.m) + " " + std::to_string(ya.d) + ", " + ShortYear(ya.y), a, b);
    }
  } else if (!by.empty() && by != "TotalOnly" && by != "Account" && by != "IncomeStatement" &&
             by != "BalanceSheet") {
    std::vector<std::string> keys;
    std::unordered_set<std::string> seen;
    for (const BookLine& line : books.Lines()) {
      std::string key = ColumnKeyOf(books, q, line);
      if (seen.insert(key).second) keys.push_back(std::move(key));
    }
    std::sort(keys.begin(), keys.end(), [&](const std::string& a, const std::string& b) {
      if (a.empty() != b.empty()) return b.empty();
      return books.NameOf(a) < books.NameOf(b);
    });
    for (const std::string& key : keys) {
      std::string title = key.empty() ? "No " + by : books.NameOf(key);
      if (key.empty() && by == "Class") title = "Unclassified";
      columns.push_back({std::move(title), {}, {}, key, true, false});
    }
  }
  if (columns.size() != 1) columns.push_back({"TOTAL", {}, {}, {}, false, true});
  return columns;
}

std::string ColumnKeyOf(Books& books, const ReportQuery& q, const BookLine& line) {
  const std::string& by = q.columns_by;
  const TxnFacts& txn = *line.txn;
  if (by == "Class") return txn.class_id;
  if (by == "Customer" || by == "Vendor" || by == "Employee" || by == "Payee") {
    std::string entity = txn.entity.empty() ? line.entity : txn.entity;
    if (by == "Payee") return entity;
    return books.ListTypeOf(entity) == by ? entity : std::string();
  }
  if (!txn.record) return {};
  // Names the transaction's header refers to: SalesRepRef, TermsRef, ShipMethodRef ...
  const std::string field = by == "SalesTaxCode" ? "CustomerSalesTaxCodeRef" : by + "Ref";
  return std::string(RefId(txn.record->Field(field)));
}

bool InColumn(const FigureColumn& column, const std::string& key, const BookLine& line) {
  if (column.total) return true;
  if (column.by_name) return column.key == key;
  if (column.from.empty()) return true;
  return line.txn->date >= column.from && line.txn->date <= column.to;
}

std::string ReportTitle(std::string_view report) {
  struct Title {
    std::string_view tag, title;
  };
  static constexpr Title kTitles[] = {
      {"ProfitAndLossStandard", "Profit & Loss"},
      {"ProfitAndLossDetail", "Profit & Loss Detail"},
      {"ProfitAndLossByClass", "Profit & Loss by Class"},
      {"ProfitAndLossByJob", "Profit & Loss by Job"},
      {"ProfitAndLossPrevYearComp", "Profit & Loss Prev Year Comparison"},
      {"ProfitAndLossYTDComp", "Profit & Loss YTD Comparison"},
      {"BalanceSheetStandard", "Balance Sheet"},
      {"BalanceSheetSummary", "Summary Balance Sheet"},
      {"BalanceSheetDetail", "Balance Sheet Detail"},
      {"BalanceSheetPrevYearComp", "Balance Sheet Prev Year Comparison"},
      {"ARAgingSummary", "A/R Aging Summary"},
      {"ARAgingDetail", "A/R Aging Detail"},
      {"APAgingSummary", "A/P Aging Summary"},
      {"APAgingDetail", "A/P Aging Detail"},
      {"TxnDetailByAccount", "Transaction Detail By Account"},
      {"TxnListByCustomer", "Transaction List by Customer"},
      {"TxnListByDate", "Transaction List by Date"},
      {"TxnListByVendor", "Transaction List by Vendor"},
      {"OpenPOs", "Open Purchase Orders"},
      {"OpenPOsByJob", "Open Purchase Orders by Job"},
      {"CustomTxnDetail", "Custom Transaction Detail Report"},
      {"CustomSummary", "Custom Summary Report"},
      {"InventoryStockStatusByItem", "Inventory Stock Status by Item"},
      {"InventoryStockStatusByVendor", "Inventory Stock Status by Vendor"},
      {"SalesTaxLiability", "Sales Tax Liability"},
  };
  for (const Title& t : kTitles)
    if (t.tag == report) return std::string(t.title);
  // Otherwise the tag in words: "SalesByCustomerSummary" -> "Sales By Customer Summary".
  std::string out;
  for (size_t i = 0; i < report.size(); ++i) {
    const char c = report[i];
    if (i > 0 && c >= 'A' && c <= 'Z' && !(report[i - 1] >= 'A' && report[i - 1] <= 'Z'))
      out += ' ';
    out += c;
  }
  return out;
}

}  // namespace brennock::simulator
