#pragma once

#include <compare>
#include <cstdint>

namespace brennock {

// A date and time as automation clients hold it (the OLE automation date): a double counting days
// from 30 December 1899, whose fraction is the time of day. Before that day the whole part counts
// back while the fraction still runs forward from midnight: -1.25 is 29 December 1899 06:00.
// The zero value, qbNullDate, stands for "no date" in records.
//
// Calendar fields round the time to the nearest second. Comparisons are chronological (so -0.5
// and 0.5, both noon of 30 December 1899, are equal). Builders and arithmetic accept the years
// 100 to 9999 and raise AutomationError 5 "Invalid procedure call or argument" outside them or
// for impossible fields.
class Date {
 public:
  static constexpr int kMinYear = 100;
  static constexpr int kMaxYear = 9999;

  constexpr Date() noexcept = default;
  constexpr explicit Date(double oleValue) noexcept : value_(oleValue) {}

  // The stored day count (CDbl of the date).
  constexpr double Value() const noexcept { return value_; }
  constexpr bool IsNull() const noexcept { return value_ == 0; }

  static bool IsValidDate(int year, int month, int day) noexcept;
  static bool IsValidTime(int hour, int minute, int second) noexcept;
  // The date at midnight / at the given time; raise 5 for fields that name no real moment.
  static Date FromDate(int year, int month, int day);
  static Date FromDateTime(int year, int month, int day, int hour, int minute, int second);
  // Like DateSerial: a month outside 1-12 or a day outside the month rolls into the next or
  // previous ones (month 13 of 2004 is January 2005, day 0 is the last day of the month before).
  static Date Serial(int year, int month, int day);
  // The local date at midnight, and the local date and time to the second.
  static Date Today();
  static Date Now();

  struct Fields {
    int year;
    int month;   // 1-12
    int day;     // 1-31
    int hour;    // 0-23
    int minute;  // 0-59
    int second;  // 0-59
  };
  // All calendar fields at once (cheaper than the single accessors when several are needed).
  Fields Split() const noexcept;

  int Year() const noexcept { return Split().year; }
  int Month() const noexcept { return Split().month; }
  int Day() const noexcept { return Split().day; }
  int Hour() const noexcept { return Split().hour; }
  int Minute() const noexcept { return Split().minute; }
  int Second() const noexcept { return Split().second; }
  // As Weekday: 1 Sunday ... 7 Saturday.
  int DayOfWeek() const noexcept;

  // Calendar days since 30 December 1899, negative before it (the day this moment falls on).
  int64_t DayNumber() const noexcept;
  // The same day at midnight (DateValue).
  Date DatePart() const noexcept;
  // The time of day as a fraction of a day in [0, 1).
  double TimeFraction() const noexcept;

  // As DateAdd with "d", "s" and "m": whole days and seconds move the moment; months keep the
  // day of the month, cut back to the last day of a shorter month (31 January + 1 month is
  // 28 or 29 February). Raise 5 when the result leaves the supported years.
  Date AddDays(int64_t days) const;
  Date AddSeconds(int64_t seconds) const;
  Date AddMonths(int64_t months) const;

  friend bool operator==(Date a, Date b) noexcept { return a.Timeline() == b.Timeline(); }
  friend auto operator<=>(Date a, Date b) noexcept { return a.Timeline() <=> b.Timeline(); }

 private:
  // Days on a line that runs forward everywhere (the stored value differs before 1899-12-30).
  double Timeline() const noexcept;
  static Date FromTimeline(double timeline);

  double value_ = 0;
};

// The zero date (30 December 1899, 00:00): the value of a date that is not set.
inline constexpr Date qbNullDate{};

}  // namespace brennock
