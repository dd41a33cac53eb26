#include "simulator/transactions/date_macros.h"

#include <array>
#include <cstdio>

#include "brennock/values/date.h"

namespace brennock::simulator {
namespace {

std::string Text(Date d) {
  Date::Fields f = d.Split();
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", f.year, f.month, f.day);
  return buf;
}

// A period of whole months: its first day, and how many months it lasts.
struct Months {
  int year, month, length;
  Date First() const { return Date::Serial(year, month, 1); }
  Date Last() const { return Date::Serial(year, month + length, 0); }
  Months Shift(int periods) const { return {year, month + periods * length, length}; }
};

}  // namespace

int MonthNumber(std::string_view name) {
  static constexpr std::array<std::string_view, 12> kMonths = {
      "January", "February", "March",     "April",   "May",      "June",
      "July",    "August",   "September", "October", "November", "December"};
  for (size_t i = 0; i < kMonths.size(); ++i)
    if (kMonths[i] == name) return static_cast<int>(i) + 1;
  return 1;
}

std::optional<std::pair<std::string, std::string>> DateMacroRange(std::string_view macro,
                                                                  const SimulatorTime& now,
                                                                  int fiscal_first_month) {
  const int64_t local = now.unix_seconds + int64_t{now.utc_offset_minutes} * 60;
  const int64_t days_since_epoch = local >= 0 ? local / 86400 : (local - 86399) / 86400;
  // Day 25569 of the automation calendar is 1 January 1970.
  const Date today = Date::FromDate(1970, 1, 1).AddDays(days_since_epoch);
  const Date::Fields t = today.Split();
  const int64_t weekday = (today.DayNumber() + 6) % 7;  // 0 Sunday: day 0 was a Saturday
  const Date week = today.AddDays(-weekday);
  const int fiscal = fiscal_first_month < 1 || fiscal_first_month > 12 ? 1 : fiscal_first_month;
  const Months month{t.year, t.month, 1};
  const Months quarter{t.year, (t.month - 1) / 3 * 3 + 1, 3};
  const Months year{t.year, 1, 12};
  const int into_fiscal = (t.month - fiscal + 12) % 12;
  const Months fiscal_year{t.month >= fiscal ? t.year : t.year - 1, fiscal, 12};
  const Months fiscal_quarter{fiscal_year.year, fiscal + into_fiscal / 3 * 3, 3};

  auto range = [](Date a, Date b) { return std::pair{Text(a), Text(b)}; };
  // The part of the previous period that today's part of this one matches.
  auto last_to_date = [&](const Months& current) {
    Months previous = current.Shift(-1);
    Date end = previous.First().AddDays(today.DayNumber() - current.First().DayNumber());
    if (end.DayNumber() > previous.Last().DayNumber()) end = previous.Last();
    return range(previous.First(), end);
  };
  std::string m(macro);
  if (m == "Today") return range(today, today);
  if (m == "Yesterday") return range(today.AddDays(-1), today.AddDays(-1));
  if (m == "ThisWeek") return range(week, week.AddDays(6));
  if (m == "ThisWeekToDate") return range(week, today);
  if (m == "LastWeek") return range(week.AddDays(-7), week.AddDays(-1));
  if (m == "LastWeekToDate") return range(week.AddDays(-7), today.AddDays(-7));
  if (m == "NextWeek") return range(week.AddDays(7), week.AddDays(13));
  if (m == "NextFourWeeks") return range(week.AddDays(7), week.AddDays(34));
  struct Named {
    const char* name;
    const Months* period;
  };
  const Named periods[] = {{"Month", &month},
                           {"CalendarQuarter", &quarter},
                           {"CalendarYear", &year},
                           {"FiscalQuarter", &fiscal_quarter},
                           {"FiscalYear", &fiscal_year}};
  for (const auto& [name, period] : periods) {
    std::string n(name);
    if (m == "This" + n) return range(period->First(), period->Last());
    if (m == "This" + n + "ToDate") return range(period->First(), today);
    if (m == "Last" + n) return range(period->Shift(-1).First(), period->Shift(-1).Last());
    if (m == "Last" + n + "ToDate") return last_to_date(*period);
    if (m == "Next" + n) return range(period->Shift(1).First(), period->Shift(1).Last());
  }
  return std::nullopt;
}

}  // namespace brennock::simulator
