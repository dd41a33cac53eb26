#include "brennock/values/date.h"

#include <cmath>
#include <ctime>

#include "brennock/internal/errors/value_errors.h"
#include "brennock/internal/values/date_on_day.h"

namespace brennock {
namespace {

constexpr int64_t kSecondsPerDay = 86400;
// Day numbers of 1 January 100 and 31 December 9999.
constexpr int64_t kFirstDay = -657434;
constexpr int64_t kLastDay = 2958465;

// Days from 30 December 1899 to the given proleptic Gregorian date (the civil-days algorithm on
// eras of 400 years, moved from its 1 March origin).
constexpr int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) noexcept {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468 + 25569;
}

struct Civil {
  int year;
  int month;
  int day;
};

constexpr Civil CivilFromDays(int64_t dayNumber) noexcept {
  const int64_t z = dayNumber - 25569 + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int64_t d = doy - (153 * mp + 2) / 5 + 1;
  const int64_t m = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<int>(yoe + era * 400 + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

static_assert(DaysFromCivil(1899, 12, 30) == 0);
static_assert(DaysFromCivil(1900, 1, 1) == 2);
static_assert(DaysFromCivil(100, 1, 1) == kFirstDay);
static_assert(DaysFromCivil(9999, 12, 31) == kLastDay);

constexpr bool IsLeapYear(int64_t y) noexcept {
  return y % 4 == 0 && (y % 100 != 0 || y % 400 == 0);
}

constexpr int DaysInMonth(int64_t y, int m) noexcept {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeapYear(y) ? 29 : kDays[m - 1];
}

// The stored value of a day number and a time fraction (fraction measured forward from midnight).
double Compose(int64_t dayNumber, double fraction) noexcept {
  const double day = static_cast<double>(dayNumber);
  return dayNumber >= 0 ? day + fraction : day - fraction;
}

// The part of a day a time of day is.
double DayFraction(int hour, int minute, int second) noexcept {
  const int64_t seconds = int64_t{hour} * 3600 + minute * 60 + second;
  return static_cast<double>(seconds) / static_cast<double>(kSecondsPerDay);
}

void CheckDayInRange(int64_t dayNumber) {
  if (dayNumber < kFirstDay || dayNumber > kLastDay) RaiseInvalidArgument();
}

// Whole day and forward fraction of a stored value; non-finite or absurd values read as zero so
// that accessors never misbehave on a value that did not come from a builder.
void Decompose(double value, int64_t& dayNumber, double& fraction) noexcept {
  if (!(std::fabs(value) < 1e12)) value = 0;
  const double whole = std::trunc(value);
  dayNumber = static_cast<int64_t>(whole);
  fraction = std::fabs(value - whole);
}

Date FromLocal(bool withTime) {
  // New records take today's date, thousands of them in a second when a response is loaded: the
  // local time is worked out once per second and thread.
  thread_local std::time_t lastSecond = -1;
  thread_local std::tm lastLocal{};
  const std::time_t now = std::time(nullptr);
  if (now != lastSecond) {
    std::tm fresh{};
    localtime_r(&now, &fresh);
    lastLocal = fresh;
    lastSecond = now;
  }
  const std::tm& local = lastLocal;
  if (!withTime) return Date::FromDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
  // A leap second (60) is folded into the last second of the minute.
  return Date::FromDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                            local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec);
}

}  // namespace

bool Date::IsValidDate(int year, int month, int day) noexcept {
  return year >= kMinYear && year <= kMaxYear && month >= 1 && month <= 12 && day >= 1 &&
         day <= DaysInMonth(year, month);
}

bool Date::IsValidTime(int hour, int minute, int second) noexcept {
  return hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= 59;
}

Date Date::FromDate(int year, int month, int day) {
  if (!IsValidDate(year, month, day)) RaiseInvalidArgument();
  return Date(static_cast<double>(DaysFromCivil(year, month, day)));
}

Date Date::FromDateTime(int year, int month, int day, int hour, int minute, int second) {
  if (!IsValidDate(year, month, day) || !IsValidTime(hour, minute, second)) RaiseInvalidArgument();
  return Date(Compose(DaysFromCivil(year, month, day), DayFraction(hour, minute, second)));
}

Date DateOnDayAt(Date midnight, int hour, int minute, int second) noexcept {
  return Date(Compose(static_cast<int64_t>(midnight.Value()), DayFraction(hour, minute, second)));
}

Date Date::Serial(int year, int month, int day) {
  // Months counted from year 0 keep the arithmetic free of negative remainders below.
  const int64_t months = int64_t{year} * 12 + (month - 1);
  const int64_t y = months >= 0 ? months / 12 : (months - 11) / 12;
  const int m = static_cast<int>(months - y * 12) + 1;
  if (y < kMinYear || y > kMaxYear) RaiseInvalidArgument();
  const int64_t dayNumber = DaysFromCivil(y, m, 1) + (int64_t{day} - 1);
  CheckDayInRange(dayNumber);
  return Date(static_cast<double>(dayNumber));
}

Date Date::Today() { return FromLocal(false); }

Date Date::Now() { return FromLocal(true); }

Date::Fields Date::Split() const noexcept {
  int64_t dayNumber;
  double fraction;
  Decompose(value_, dayNumber, fraction);
  int64_t seconds = std::llround(fraction * static_cast<double>(kSecondsPerDay));
  if (seconds >= kSecondsPerDay) {  // rounded up to the next midnight
    seconds -= kSecondsPerDay;
    ++dayNumber;
  }
  const Civil civil = CivilFromDays(dayNumber);
  const int s = static_cast<int>(seconds);
  return {civil.year, civil.month, civil.day, s / 3600, s / 60 % 60, s % 60};
}

int Date::DayOfWeek() const noexcept {
  // Day 0 was a Saturday.
  const int64_t r = DayNumber() % 7;
  return static_cast<int>((r + 7) % 7 + 6) % 7 + 1;
}

int64_t Date::DayNumber() const noexcept {
  int64_t dayNumber;
  double fraction;
  Decompose(value_, dayNumber, fraction);
  return dayNumber;
}

Date Date::DatePart() const noexcept { return Date(static_cast<double>(DayNumber())); }

double Date::TimeFraction() const noexcept {
  int64_t dayNumber;
  double fraction;
  Decompose(value_, dayNumber, fraction);
  return fraction;
}

double Date::Timeline() const noexcept {
  int64_t dayNumber;
  double fraction;
  Decompose(value_, dayNumber, fraction);
  return static_cast<double>(dayNumber) + fraction;
}

Date Date::FromTimeline(double timeline) {
  const double day = std::floor(timeline);
  const int64_t dayNumber = static_cast<int64_t>(day);
  CheckDayInRange(dayNumber);
  return Date(Compose(dayNumber, timeline - day));
}

Date Date::AddDays(int64_t days) const {
  if (days < -kLastDay * 2 || days > kLastDay * 2) RaiseInvalidArgument();
  return FromTimeline(Timeline() + static_cast<double>(days));
}

Date Date::AddSeconds(int64_t seconds) const {
  const int64_t limit = kLastDay * 2 * kSecondsPerDay;
  if (seconds < -limit || seconds > limit) RaiseInvalidArgument();
  // Work in whole seconds so that repeated additions do not drift.
  int64_t dayNumber;
  double fraction;
  Decompose(value_, dayNumber, fraction);
  const double total = fraction * kSecondsPerDay + static_cast<double>(seconds);
  const double days = std::floor(total / kSecondsPerDay);
  const double rest = total - days * kSecondsPerDay;
  const int64_t newDay = dayNumber + static_cast<int64_t>(days);
  CheckDayInRange(newDay);
  return Date(Compose(newDay, rest / kSecondsPerDay));
}

Date Date::AddMonths(int64_t months) const {
  if (months < -kMaxYear * 12 || months > kMaxYear * 12) RaiseInvalidArgument();
  int64_t dayNumber;
  double fraction;
  Decompose(value_, dayNumber, fraction);
  const Civil civil = CivilFromDays(dayNumber);
  const int64_t total = int64_t{civil.year} * 12 + (civil.month - 1) + months;
  const int64_t y = total / 12;  // total stays positive within the supported years
  const int m = static_cast<int>(total % 12) + 1;
  if (total < 0 || y < kMinYear || y > kMaxYear) RaiseInvalidArgument();
  const int d = civil.day < DaysInMonth(y, m) ? civil.day : DaysInMonth(y, m);
  return Date(Compose(DaysFromCivil(y, m, d), fraction));
}

}  // namespace brennock
