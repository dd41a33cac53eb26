#include "brennock/reports/report.h"

#include <array>

#include "brennock/enums/enumerations.h"
#include "brennock/enums/report_catalogue.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/reports/report_xml.h"
#include "brennock/session/xml_bldr.h"

namespace brennock {

Report::Report()
    : columnHeaders_(std::make_shared<rptColumnHeaders>()),
      reportRows_(std::make_shared<rptRows>()),
      filters_(std::make_shared<rptFilters>()),
      errors_(std::make_shared<qcErrors>()) {}

Report::~Report() = default;

void Report::SetBasis(const std::string& value) {
  const std::string upper = AsciiUpper(value);
  if (upper == "CASH")
    basis_ = "Cash";
  else if (upper == "ACCRUAL")
    basis_ = "Accrual";
  else if (upper.empty() || upper == "NONE")
    basis_.clear();
  else
    RaiseLibraryError(errInvalidReportBasis);
}

void Report::SetDateMacro(qbEnumReportDateMacro value) {
  dateMacro_ = value;
  ReportMacroDates(value, Date::Today(), startDate_, endDate_);
}

namespace {

// The first day of the quarter `offset` quarters from the one `day` is in.
Date QuarterStart(Date day, int offset) {
  const Date::Fields f = day.Split();
  return Date::Serial(f.year, ((f.month - 1) / 3 + offset) * 3 + 1, 1);
}

}  // namespace

bool ReportMacroDates(qbEnumReportDateMacro macro, Date today, Date& start, Date& end) {
  today = today.DatePart();
  const Date::Fields f = today.Split();
  const Date sunday = today.AddDays(1 - today.DayOfWeek());
  const Date monthStart = Date::Serial(f.year, f.month, 1);
  auto monthEnd = [&](int offset) { return Date::Serial(f.year, f.month + offset + 1, 0); };
  auto set = [&](Date from, Date to) {
    start = from;
    end = to;
    return true;
  };
  switch (macro) {
    case qbReportDateMacroToday:
      return set(today, today);
    case qbReportDateMacroThisWeek:
      return set(sunday, sunday.AddDays(6));
    case qbReportDateMacroThisWeekToDate:
      return set(sunday, today);
    case qbReportDateMacroThisMonth:
      return set(monthStart, monthEnd(0));
    case qbReportDateMacroThisMonthToDate:
      return set(monthStart, today);
    case qbReportDateMacroThisQuarter:
      return set(QuarterStart(today, 0), QuarterStart(today, 1).AddDays(-1));
    case qbReportDateMacroThisQuarterToDate:
      return set(QuarterStart(today, 0), today);
    case qbReportDateMacroThisYear:
      return set(Date::Serial(f.year, 1, 1), Date::Serial(f.year, 12, 31));
    case qbReportDateMacroThisYearToDate:
      return set(Date::Serial(f.year, 1, 1), today);
    case qbReportDateMacroYesterday:
      return set(today.AddDays(-1), today.AddDays(-1));
    case qbReportDateMacroLastWeek:
      return set(sunday.AddDays(-7), sunday.AddDays(-1));
    case qbReportDateMacroLastWeekToDate:
      return set(sunday.AddDays(-7), today);
    case qbReportDateMacroLastMonth:
      return set(Date::Serial(f.year, f.month - 1, 1), monthEnd(-1));
    case qbReportDateMacroLastMonthToDate:
      return set(Date::Serial(f.year, f.month - 1, 1), today);
    case qbReportDateMacroLastQuarter:
      return set(QuarterStart(today, -1), QuarterStart(today, 0).AddDays(-1));
    case qbReportDateMacroLastQuarterToDate:
      return set(QuarterStart(today, -1), today);
    case qbReportDateMacroLastYear:
      return set(Date::Serial(f.year - 1, 1, 1), Date::Serial(f.year - 1, 12, 31));
    case qbReportDateMacroLastYearToDate:
      return set(Date::Serial(f.year - 1, 1, 1), today);
    case qbReportDateMacroNextWeek:
      return set(sunday.AddDays(7), sunday.AddDays(13));
    case qbReportDateMacroNextFourWeeks:
      return set(today.AddDays(1), today.AddDays(28));
    case qbReportDateMacroNextMonth:
      return set(Date::Serial(f.year, f.month + 1, 1), monthEnd(1));
    case qbReportDateMacroNextQuarter:
      return set(QuarterStart(today, 1), QuarterStart(today, 2).AddDays(-1));
    case qbReportDateMacroNextYear:
      return set(Date::Serial(f.year + 1, 1, 1), Date::Serial(f.year + 1, 12, 31));
    default:
      return false;
  }
}

}  // namespace brennock
