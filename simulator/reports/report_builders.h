#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "simulator/reports/books.h"
#include "simulator/reports/report_query.h"
#include "simulator/reports/report_table.h"

namespace brennock::simulator {

// One column of figures of a summary report: a period, or one value of what the columns are
// summarized by (a class, a customer ...).
struct FigureColumn {
  std::string title;
  std::string from, to;  // a period column; empty: the report's period
  std::string key;       // a name column: the ListID it sums; "" with by_name: none given
  bool by_name = false;
  bool total = false;  // the TOTAL column (sums every other column)
};

// The figure columns SummarizeColumnsBy asks for over the report's period, with the TOTAL column
// last when there is more than one.
std::vector<FigureColumn> FigureColumns(Books& books, const ReportQuery& q);
// The name a posting is summarized under for a name column ("Class" -> its class ...).
std::string ColumnKeyOf(Books& books, const ReportQuery& q, const BookLine& line);
// Which figure columns a posting adds to (period and name columns).
bool InColumn(const FigureColumn& column, const std::string& key, const BookLine& line);

// "January 1 - December 31, 2024", "February 1 - 4, 2011", "As of March 5, 2024".
std::string PeriodText(const std::string& from, const std::string& to);
std::string AsOfText(const std::string& date);
// Days from one date to another; the same date a number of years later (29 February gives 28);
// the first day of the fiscal year a date falls in.
int64_t DaysBetween(const std::string& from, const std::string& to);
std::string ShiftYears(const std::string& date, int years);
std::string FiscalYearStart(const std::string& date, int first_month);

// Each report family builds its table; false when the report is not one of its own.
bool BuildFinancialReport(Books& books, const ReportQuery& q, ReportTable& table);
bool BuildDetailReport(Books& books, const ReportQuery& q, ReportTable& table);
bool BuildNameReport(Books& books, const ReportQuery& q, ReportTable& table);
bool BuildAgingReport(Books& books, const ReportQuery& q, ReportTable& table);
bool BuildItemReport(Books& books, const ReportQuery& q, ReportTable& table);
// Every other report: its columns and title, rows from what the company holds.
void BuildStructuralReport(Books& books, const ReportQuery& q, ReportTable& table);

// The report's title as QuickBooks prints it.
std::string ReportTitle(std::string_view report);

}  // namespace brennock::simulator
