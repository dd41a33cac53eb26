#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "brennock/errors/automation_error.h"
#include "brennock/values/currency.h"
#include "brennock/values/date.h"
#include "brennock/values/variant.h"

namespace brennock {
namespace values_test {
namespace {

// The run-time error number an expression raises, or 0 when it raises nothing.
template <typename F>
int32_t RaisedNumber(F&& f) {
  try {
    f();
  } catch (const AutomationError& e) {
    return e.Number();
  }
  return 0;
}

Currency C(std::string_view text) { return Currency::Parse(text); }

TEST(CurrencyTest, ReadsAndWritesShortestDecimalText) {
  EXPECT_EQ(C("12.5").Scaled(), 125000);
  EXPECT_EQ(C(" -0.0001 ").Scaled(), -1);
  EXPECT_EQ(C(".5").Scaled(), 5000);
  EXPECT_EQ(C("+3.").Scaled(), 30000);
  EXPECT_EQ(C("1,234,567.25").Scaled(), 12345672500);
  EXPECT_EQ(C("12.5").ToString(), "12.5");
  EXPECT_EQ(C("-0.0001").ToString(), "-0.0001");
  EXPECT_EQ(Currency().ToString(), "0");
  EXPECT_EQ(Currency(-3).ToString(), "-3");
  EXPECT_EQ(Currency::FromScaled(INT64_MIN).ToString(), "-922337203685477.5808");
  EXPECT_EQ(C("-922337203685477.5808").Scaled(), INT64_MIN);
  EXPECT_EQ(C("922337203685477.5807").Scaled(), INT64_MAX);
}

TEST(CurrencyTest, RoundsHalfToEvenAtTheFourthDecimal) {
  EXPECT_EQ(C("0.00005").Scaled(), 0);
  EXPECT_EQ(C("0.00015").Scaled(), 2);
  EXPECT_EQ(C("0.000051").Scaled(), 1);
  EXPECT_EQ(C("-0.00025").Scaled(), -2);
  EXPECT_EQ(Currency(2.5).Scaled(), 25000);
  EXPECT_EQ(Currency(1234567.891).Scaled(), 12345678910);
  EXPECT_EQ(Currency(-1.23456).Scaled(), -12346);
  EXPECT_EQ(C("2.5").ToInteger(), 2);
  EXPECT_EQ(C("3.5").ToInteger(), 4);
  EXPECT_EQ(C("-2.5").ToInteger(), -2);
  EXPECT_EQ(C("-2.7").Truncated(), -2);
  // Products and quotients keep four decimals, rounding ties to even.
  EXPECT_EQ((C("0.0001") * C("0.5")).Scaled(), 0);
  EXPECT_EQ((C("0.0003") * C("0.5")).Scaled(), 2);
  EXPECT_EQ((C("1.5") * C("-2.25")).ToString(), "-3.375");
  EXPECT_EQ((C("10") / C("3")).ToString(), "3.3333");
  EXPECT_EQ((C("-2") / C("3")).ToString(), "-0.6667");
  EXPECT_EQ((C("0.0001") / C("2")).Scaled(), 0);
  EXPECT_EQ((C("0.0003") / C("2")).Scaled(), 2);
}

TEST(CurrencyTest, RaisesOverflowTypeMismatchAndDivisionByZero) {
  const Currency max = Currency::FromScaled(INT64_MAX);
  EXPECT_EQ(RaisedNumber([&] { return max + Currency::FromScaled(1); }), 6);
  EXPECT_EQ(RaisedNumber([&] { return Currency::FromScaled(INT64_MIN) - Currency::FromScaled(1); }),
            6);
  EXPECT_EQ(RaisedNumber([&] { return -Currency::FromScaled(INT64_MIN); }), 6);
  EXPECT_EQ(RaisedNumber([&] { return max * Currency(2); }), 6);
  EXPECT_EQ(RaisedNumber([&] { return max / C("0.5"); }), 6);
  EXPECT_EQ(RaisedNumber([] { return Currency(int64_t{1} << 50); }), 6);
  EXPECT_EQ(RaisedNumber([] { return Currency(uint64_t{UINT64_MAX}); }), 6);
  EXPECT_EQ(RaisedNumber([] { return Currency(1e16); }), 6);
  EXPECT_EQ(RaisedNumber([] { return Currency(0.0 / 0.0); }), 6);
  EXPECT_EQ(RaisedNumber([] { return C("922337203685477.5808"); }), 6);
  EXPECT_EQ(RaisedNumber([] { return C("99999999999999999999999"); }), 6);
  EXPECT_EQ(RaisedNumber([] { return Currency(1) / Currency(); }), 11);
  for (const char* bad : {"", " ", "-", ".", "1.2.3", "12a", "1e5", "$5", ",5", "5,", "1 2"}) {
    EXPECT_EQ(RaisedNumber([&] { return C(bad); }), 13) << bad;
  }
  try {
    C("abc");
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.Description(), "Type mismatch");
    EXPECT_EQ(e.Source(), "Brennock");
  }
  Currency untouched(7);
  EXPECT_FALSE(Currency::TryParse("x", untouched));
  EXPECT_EQ(untouched, Currency(7));
}

TEST(CurrencyTest, ComparesByValue) {
  EXPECT_LT(C("-1"), C("0.0001"));
  EXPECT_EQ(C("2.0"), Currency(2));
  EXPECT_GE(C("2.5"), Currency(2));
  EXPECT_EQ(Currency(2.5).ToDouble(), 2.5);
}

TEST(DateTest, CalendarRoundTripsIncludingLeapDays) {
  EXPECT_EQ(Date::FromDate(1899, 12, 30).Value(), 0);
  EXPECT_EQ(Date::FromDate(1900, 1, 1).Value(), 2);
  EXPECT_EQ(Date::FromDate(2005, 3, 4).Value(), 38415);
  EXPECT_EQ(Date::FromDate(100, 1, 1).Value(), -657434);
  EXPECT_EQ(Date::FromDate(9999, 12, 31).Value(), 2958465);
  for (int year : {100, 1600, 1899, 1900, 2000, 2004, 2023, 2024, 2100, 9999}) {
    for (int month = 1; month <= 12; ++month) {
      for (int day : {1, 28, 29, 30, 31}) {
        if (!Date::IsValidDate(year, month, day)) continue;
        const auto f = Date::FromDateTime(year, month, day, 23, 59, 58).Split();
        EXPECT_EQ(f.year, year);
        EXPECT_EQ(f.month, month);
        EXPECT_EQ(f.day, day);
        EXPECT_EQ(f.hour * 10000 + f.minute * 100 + f.second, 235958);
      }
    }
  }
  EXPECT_TRUE(Date::IsValidDate(2000, 2, 29));
  EXPECT_TRUE(Date::IsValidDate(2024, 2, 29));
  EXPECT_FALSE(Date::IsValidDate(1900, 2, 29));
  EXPECT_FALSE(Date::IsValidDate(2023, 2, 29));
  EXPECT_FALSE(Date::IsValidDate(2023, 4, 31));
  EXPECT_FALSE(Date::IsValidDate(99, 1, 1));
  EXPECT_EQ(RaisedNumber([] { return Date::FromDate(2023, 2, 29); }), 5);
  EXPECT_EQ(RaisedNumber([] { return Date::FromDateTime(2023, 1, 1, 24, 0, 0); }), 5);
}

TEST(DateTest, NegativeDatesMeasureTheTimeForward) {
  const Date d(-1.25);
  const auto f = d.Split();
  EXPECT_EQ(f.year * 10000 + f.month * 100 + f.day, 18991229);
  EXPECT_EQ(f.hour, 6);
  EXPECT_EQ(Date::FromDateTime(1899, 12, 29, 6, 0, 0).Value(), -1.25);
  EXPECT_EQ(Date::FromDateTime(1800, 1, 1, 18, 0, 0).Value(), -36522.75);
  EXPECT_EQ(d.DayNumber(), -1);
  EXPECT_EQ(d.TimeFraction(), 0.25);
  EXPECT_EQ(d.DatePart().Value(), -1);
  // Chronological order: 06:00 on the 29th is after its midnight and before the 30th.
  EXPECT_LT(Date(-1.0), d);
  EXPECT_LT(d, Date(0.0));
  EXPECT_EQ(Date(-0.5), Date(0.5));
  EXPECT_EQ(d.AddDays(1).Value(), 0.25);
  EXPECT_EQ(Date(0.25).AddDays(-1).Value(), -1.25);
  EXPECT_EQ(d.AddDays(-1).Value(), -2.25);
  EXPECT_EQ(Date(-1.75).AddSeconds(6 * 3600 + 1).Split().hour, 0);
}

TEST(DateTest, SplitRoundsToTheNearestSecond) {
  const Date almostMidnight(38415.0 + 86399.6 / 86400.0);
  const auto f = almostMidnight.Split();
  EXPECT_EQ(f.day, 5);
  EXPECT_EQ(f.hour + f.minute + f.second, 0);
  EXPECT_EQ(Date(-0.999999999).Split().day, 31);
}

TEST(DateTest, AddsMonthsDaysAndSecondsLikeDateAdd) {
  const Date jan31 = Date::FromDateTime(2004, 1, 31, 10, 11, 12);
  EXPECT_EQ(jan31.AddMonths(1), Date::FromDateTime(2004, 2, 29, 10, 11, 12));
  EXPECT_EQ(jan31.AddMonths(13), Date::FromDateTime(2005, 2, 28, 10, 11, 12));
  EXPECT_EQ(jan31.AddMonths(-2), Date::FromDateTime(2003, 11, 30, 10, 11, 12));
  EXPECT_EQ(jan31.AddDays(366), Date::FromDateTime(2005, 1, 31, 10, 11, 12));
  EXPECT_EQ(jan31.AddSeconds(14 * 3600), Date::FromDateTime(2004, 2, 1, 0, 11, 12));
  EXPECT_EQ(Date::Serial(2004, 13, 1), Date::FromDate(2005, 1, 1));
  EXPECT_EQ(Date::Serial(2004, 3, 0), Date::FromDate(2004, 2, 29));
  EXPECT_EQ(Date::Serial(2005, -1, 15), Date::FromDate(2004, 11, 15));
  EXPECT_EQ(RaisedNumber([] { return Date::FromDate(9999, 12, 31).AddDays(1); }), 5);
  EXPECT_EQ(RaisedNumber([] { return Date::FromDate(100, 1, 1).AddMonths(-1); }), 5);
}

TEST(DateTest, WeekdaysTodayAndNull) {
  EXPECT_EQ(Date::FromDate(1899, 12, 30).DayOfWeek(), 7);  // Saturday
  EXPECT_EQ(Date::FromDate(1899, 12, 31).DayOfWeek(), 1);  // Sunday
  EXPECT_EQ(Date::FromDate(2005, 3, 4).DayOfWeek(), 6);    // Friday
  EXPECT_EQ(Date::FromDate(1800, 1, 1).DayOfWeek(), 4);    // Wednesday
  const Date today = Date::Today();
  EXPECT_EQ(today, today.DatePart());
  EXPECT_LE(Date::Today(), Date::Now());
  EXPECT_TRUE(qbNullDate.IsNull());
  EXPECT_EQ(qbNullDate.Split().year, 1899);
}

TEST(VariantTest, EmptyAndKinds) {
  const Variant empty;
  EXPECT_TRUE(empty.IsEmpty());
  EXPECT_EQ(empty.VarType(), vbEmpty);
  EXPECT_EQ(empty.ToString(), "");
  EXPECT_EQ(empty.ToInt32(), 0);
  EXPECT_FALSE(empty.ToBool());
  EXPECT_EQ(Variant(int16_t{1}).VarType(), vbInteger);
  EXPECT_EQ(Variant(1).VarType(), vbLong);
  EXPECT_EQ(Variant(1.5f).VarType(), vbSingle);
  EXPECT_EQ(Variant(Currency(1)).VarType(), vbCurrency);
  EXPECT_EQ(Variant(qbNullDate).VarType(), vbDate);
  EXPECT_EQ(Variant("x").VarType(), vbString);
  EXPECT_EQ(Variant(true).VarType(), vbBoolean);
  EXPECT_TRUE(Variant(Currency(1)).IsNumber());
  EXPECT_FALSE(Variant("1").IsNumber());
}

TEST(VariantTest, ConvertsLikeTheConversionFunctions) {
  EXPECT_EQ(Variant(true).ToInt32(), -1);
  EXPECT_EQ(Variant(true).ToString(), "True");
  EXPECT_EQ(Variant("12.5").ToDouble(), 12.5);
  EXPECT_EQ(Variant("2.5").ToInt32(), 2);
  EXPECT_EQ(Variant(3.5).ToInt16(), 4);
  EXPECT_EQ(Variant("9007199254740993").ToInt64(), 9007199254740993);
  EXPECT_EQ(Variant("tRUE").ToBool(), true);
  EXPECT_EQ(Variant("0").ToBool(), false);
  EXPECT_EQ(Variant("1e3").ToCurrency(), Currency(1000));
  EXPECT_EQ(Variant("0.00015").ToCurrency().Scaled(), 2);
  EXPECT_EQ(Variant(0.1).ToString(), "0.1");
  EXPECT_EQ(Variant(1e20).ToString(), "1E+20");
  EXPECT_EQ(Variant(2.5f).ToString(), "2.5");
  EXPECT_EQ(Variant(Currency::Parse("-0.0001")).ToString(), "-0.0001");
  const Date moment = Date::FromDateTime(2005, 3, 4, 10, 11, 12);
  EXPECT_EQ(Variant(moment).ToString(), "2005-03-04 10:11:12");
  EXPECT_EQ(Variant(moment.DatePart()).ToString(), "2005-03-04");
  EXPECT_EQ(Variant(Variant(moment).ToString()).ToDate(), moment);
  EXPECT_EQ(Variant(38415).ToDate(), Date::FromDate(2005, 3, 4));
  EXPECT_EQ(RaisedNumber([] { return Variant("abc").ToInt32(); }), 13);
  EXPECT_EQ(RaisedNumber([] { return Variant("+-3").ToInt32(); }), 13);
  EXPECT_EQ(RaisedNumber([] { return Variant("").ToDouble(); }), 13);
  EXPECT_EQ(RaisedNumber([] { return Variant(70000).ToInt16(); }), 6);
  EXPECT_EQ(RaisedNumber([] { return Variant(1e300).ToInt64(); }), 6);
  EXPECT_EQ(RaisedNumber([] { return Variant(1e300).ToSingle(); }), 6);
}

TEST(VariantTest, HoldsObjectsByTheirStoredType) {
  auto number = std::make_shared<int>(5);
  const Variant held(number);
  EXPECT_TRUE(held.IsObject());
  EXPECT_EQ(held.VarType(), vbObject);
  EXPECT_EQ(held.ObjectAs<int>(), number);
  EXPECT_EQ(held.ObjectAs<double>(), nullptr);
  EXPECT_EQ(held.ToObject(), number);
  EXPECT_EQ(Variant().ToObject(), nullptr);
  EXPECT_EQ(RaisedNumber([&] { return held.ToString(); }), 13);
  EXPECT_EQ(RaisedNumber([] { return Variant(1).ToObject(); }), 13);
  EXPECT_EQ(held, Variant(number));
  EXPECT_FALSE(held == Variant(std::make_shared<int>(5)));
  EXPECT_EQ(Variant("a"), Variant(std::string("a")));
  EXPECT_FALSE(Variant(1) == Variant(int16_t{1}));
}

}  // namespace
}  // namespace values_test
}  // namespace brennock
