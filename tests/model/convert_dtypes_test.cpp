#include "brennock/values/convert_dtypes.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "brennock/errors/automation_error.h"
#include "brennock/internal/session/session_state.h"

namespace brennock {
namespace {

using namespace ModConvertDtypes;

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

// Sets the session's qbXML version number for one test and puts the old one back.
class QbxmlVersion {
 public:
  explicit QbxmlVersion(std::string_view version) : saved_(Session().qbxmlVersionNumber) {
    Session().qbxmlVersionNumber = C(version);
  }
  ~QbxmlVersion() { Session().qbxmlVersionNumber = saved_; }

 private:
  Currency saved_;
};

TEST(ConvertNumbersTest, PriceAndQuantityPatterns) {
  EXPECT_EQ(PriceToText(C("12.5")), "0000012.5000");
  EXPECT_EQ(PriceToText(C("-12.5")), "-0000012.5000");
  EXPECT_EQ(PriceToText(C("12345678.0001")), "12345678.0001");
  EXPECT_EQ(PriceToText(12.5f), "0000012.5000");
  EXPECT_EQ(PriceToText(0.00005f), "0000000.0001");  // Format rounds halves away from zero
  EXPECT_EQ(QuantityToText(3.0f), "0000003.00000");
  EXPECT_EQ(QuantityToText(0.1f), "0000000.10000");
  EXPECT_EQ(QuantityToText(-2.5f), "-0000002.50000");
  EXPECT_EQ(QuantityToText(0.000005f), "0000000.00001");
  EXPECT_EQ(QuantityToText(0.000004f), "0000000.00000");
  EXPECT_EQ(QuantityToText(-0.000004f), "0000000.00000");
  EXPECT_EQ(QuantityToText(999999.5f), "0999999.50000");
  EXPECT_EQ(QuantityToText(1e10f), "10000000000.00000");
  EXPECT_EQ(QuantityToText(C("3")), "0000003.00000");
  EXPECT_EQ(QuantityToText(Currency::FromScaled(INT64_MIN)), "-922337203685477.58080");
  EXPECT_EQ(PriceToText(Currency::FromScaled(-1)), "-0000000.0001");
  EXPECT_EQ(AmountForDisplay(Currency::FromScaled(INT64_MAX)), "922,337,203,685,477.58");
  EXPECT_EQ(RaisedNumber([] { return QuantityToText(1.0f / 0.0f); }), 6);
}

TEST(ConvertNumbersTest, AmountsAddAThousandthThenRoundToEvenCents) {
  EXPECT_EQ(AmountToText(C("2.005")), "2.01");
  EXPECT_EQ(AmountToText(C("1234567.891")), "1234567.89");
  EXPECT_EQ(AmountToText(C("2.004")), "2.00");  // 2.005 after the nudge: ties go to even
  EXPECT_EQ(AmountToText(C("2.0149")), "2.02");
  EXPECT_EQ(AmountToText(C("0")), "0.00");
  EXPECT_EQ(AmountToText(C("-12.5")), "-12.50");
  EXPECT_EQ(AmountToText(C("-2.005")), "-2.00");
  EXPECT_EQ(AmountToText(C("-0.001")), "0.00");
  EXPECT_EQ(AmountToText(C("-1234567.891")), "-1234567.89");
  // The ends of the currency range have a text too (the nudge once overflowed; found by fuzzing).
  EXPECT_EQ(AmountToText(Currency::FromScaled(INT64_MAX)), "922337203685477.58");
  EXPECT_EQ(AmountToText(C("922337203685477.58")), "922337203685477.58");
  EXPECT_EQ(AmountToText(Currency::FromScaled(INT64_MIN)), "-922337203685477.58");
  std::string request = "<Amount>";
  AppendAmountText(request, C("7"));
  EXPECT_EQ(request, "<Amount>7.00");

  EXPECT_EQ(AmountForDisplay(C("1234567.891")), "1,234,567.89");
  EXPECT_EQ(AmountForDisplay(C("123456")), "123,456.00");
  EXPECT_EQ(AmountForDisplay(C("999.995")), "1,000.00");
  EXPECT_EQ(AmountForDisplay(C("-1234.5")), "-1,234.50");
  EXPECT_EQ(AmountForDisplay(C("0.5")), "0.50");
  EXPECT_EQ(IntegerToText(-42), "-42");
  EXPECT_EQ(BoolToRequestText(true), "1");
  EXPECT_EQ(BoolToResponseText(false), "false");
}

TEST(ConvertNumbersTest, ReadsNumbersPercentagesAndBooleans) {
  EXPECT_EQ(TextToCurrency("7.5%"), C("7.5"));
  EXPECT_EQ(TextToCurrency(" 7.5 % "), C("7.5"));
  EXPECT_EQ(TextToCurrency(""), Currency());
  EXPECT_EQ(TextToCurrency("-1234.56"), C("-1234.56"));
  EXPECT_EQ(TextToSingle("7.5%"), 7.5f);
  EXPECT_EQ(TextToSingle(""), 0.0f);
  EXPECT_EQ(TextToSingle("-2e3"), -2000.0f);
  EXPECT_EQ(TextToSingleThroughCurrency("1.23456"), 1.2346f);
  EXPECT_EQ(TextToSingleThroughCurrency(""), 0.0f);
  for (const char* bad : {"abc", "%", "1.5.0", "inf", "nan", "--1"}) {
    EXPECT_EQ(RaisedNumber([&] { return TextToSingle(bad); }), 13) << bad;
    EXPECT_EQ(RaisedNumber([&] { return TextToCurrency(bad); }), 13) << bad;
  }
  EXPECT_EQ(RaisedNumber([] { return TextToSingle("1e39"); }), 6);

  EXPECT_TRUE(TextToBool("TRUE"));
  EXPECT_FALSE(TextToBool("False"));
  EXPECT_TRUE(TextToBool("-1"));
  EXPECT_TRUE(TextToBool("2.5"));
  EXPECT_FALSE(TextToBool("0"));
  EXPECT_FALSE(TextToBool(""));
  EXPECT_EQ(RaisedNumber([] { return TextToBool("yes"); }), 13);

  EXPECT_EQ(TextToInt16(" +3 "), 3);
  EXPECT_EQ(TextToInt32("-70000"), -70000);
  EXPECT_EQ(TextToInt32("2.5"), 2);
  EXPECT_EQ(TextToInt32("3.5"), 4);
  EXPECT_EQ(TextToInt32(""), 0);
  EXPECT_EQ(RaisedNumber([] { return TextToInt16("40000"); }), 6);
  EXPECT_EQ(RaisedNumber([] { return TextToInt32("99999999999"); }), 6);
  EXPECT_EQ(RaisedNumber([] { return TextToInt32("12abc"); }), 13);
  EXPECT_EQ(RaisedNumber([] { return TextToInt32(" "); }), 13);
  EXPECT_EQ(RaisedNumber([] { return TextToInt32("+-3"); }), 13);
}

// Plain decimals take a shortcut past from_chars; both must give the same double, bit for bit.
TEST(ConvertNumbersTest, PlainDecimalsReadAsFromCharsReadsThem) {
  std::mt19937_64 random(7);
  std::vector<std::string> texts = {"0",
                                    "-0",
                                    "5.",
                                    ".5",
                                    "-.25",
                                    "+12.50",
                                    "999999999999999",
                                    "0.000000000000001",
                                    "9007199254740993",
                                    "1234567890.12345",
                                    "0.1",
                                    "0.3",
                                    "2.675",
                                    "1.0000000000000002"};
  for (int i = 0; i < 20000; ++i) {
    std::string digits = std::to_string(random() % 1000000000000000ull);
    digits.insert(random() % (digits.size() + 1), ".");
    texts.push_back((random() % 2 ? "-" : "") + digits);
  }
  for (const std::string& text : texts) {
    double shortcut = 0, expected = 0;
    ASSERT_TRUE(TryReadNumber(text, shortcut)) << text;
    const char* begin = text.data() + (text.front() == '+');
    std::from_chars(begin, text.data() + text.size(), expected);
    EXPECT_EQ(std::memcmp(&shortcut, &expected, sizeof expected), 0) << text;
  }
}

TEST(ConvertDatesTest, ReadsDatesAndDateTimesByPosition) {
  EXPECT_EQ(TextToDate("2005-03-04T10:11:12-08:00"), Date::FromDateTime(2005, 3, 4, 10, 11, 12));
  EXPECT_EQ(TextToDate("2005-03-04T10:11:12"), Date::FromDateTime(2005, 3, 4, 10, 11, 12));
  EXPECT_EQ(TextToDate("2005-03-04"), Date::FromDate(2005, 3, 4));
  EXPECT_EQ(TextToDate("2005/03/04"), Date::FromDate(2005, 3, 4));  // separators are not read
  EXPECT_EQ(TextToDate("2004-02-29"), Date::FromDate(2004, 2, 29));
  EXPECT_TRUE(TextToDate("None").IsNull());
  EXPECT_TRUE(TextToDate("").IsNull());
  // Digit positions without a number, or no real date: an error, not a silent "no date".
  for (const char* bad : {"2005-3-4", "abcd-ef-gh", "2005-02-30", "2005-13-01", "none",
                          "2005-03-04T25:00:00", "2005-03-04T10:11", "2005-03-04Tab:cd:ef"}) {
    EXPECT_EQ(RaisedNumber([&] { return TextToDate(bad); }), 13) << bad;
  }
}

// Stamps of the same day reuse the day read last; every stamp must still read as the date and time
// it names, bit for bit, on either side of day zero and after a bad text of the same day.
TEST(ConvertDatesTest, StampsOfTheSameDayReadAlike) {
  struct Case {
    const char* text;
    int y, mo, d, h, mi, s;
  };
  const Case cases[] = {{"2022-03-04T00:24:19-08:00", 2022, 3, 4, 0, 24, 19},
                        {"2022-03-04T23:59:59", 2022, 3, 4, 23, 59, 59},
                        {"2022-03-05T00:00:00", 2022, 3, 5, 0, 0, 0},
                        {"1899-12-29T06:00:00", 1899, 12, 29, 6, 0, 0},
                        {"1899-12-29T18:30:00", 1899, 12, 29, 18, 30, 0},
                        {"1899-12-30T12:00:00", 1899, 12, 30, 12, 0, 0},
                        {"1700-01-01T01:02:03", 1700, 1, 1, 1, 2, 3}};
  for (int round = 0; round < 2; ++round) {
    for (const Case& c : cases) {
      const double read = TextToDate(c.text).Value();
      const double made = Date::FromDateTime(c.y, c.mo, c.d, c.h, c.mi, c.s).Value();
      EXPECT_EQ(std::memcmp(&read, &made, sizeof read), 0) << c.text;
    }
  }
  EXPECT_EQ(TextToDate("2022-03-04"), Date::FromDate(2022, 3, 4));
  EXPECT_EQ(RaisedNumber([] { return TextToDate("2022-03-04T24:00:00"); }), 13);
  EXPECT_EQ(RaisedNumber([] { return TextToDate("2022-03-0"); }), 13);
  EXPECT_EQ(TextToDate("2022-03-04T01:00:00"), Date::FromDateTime(2022, 3, 4, 1, 0, 0));
}

TEST(ConvertDatesTest, WritesDatesAndVersionGatedDateTimes) {
  const Date moment = Date::FromDateTime(2005, 3, 4, 10, 11, 12);
  EXPECT_EQ(DateToText(moment), "2005-03-04");
  EXPECT_EQ(DateToText(qbNullDate), "None");
  EXPECT_TRUE(TextToDate(DateToText(qbNullDate)).IsNull());
  {
    QbxmlVersion version("2.0");
    EXPECT_EQ(DateTimeToText(moment), "2005-03-04T10:11:12");
    EXPECT_EQ(DateTimeToText(Date::FromDate(1999, 12, 31)), "1999-12-31T00:00:00");
    EXPECT_EQ(DateTimeToText(qbNullDate), "None");
    EXPECT_EQ(TextToDate(DateTimeToText(moment)), moment);
  }
  {
    QbxmlVersion version("1.1");
    EXPECT_EQ(DateTimeToText(moment), "2005-03-04");
    std::string request = "<FromModifiedDate>";
    AppendDateTimeText(request, moment);
    EXPECT_EQ(request, "<FromModifiedDate>2005-03-04");
  }
  EXPECT_EQ(DateToText(Date::FromDate(100, 1, 1)), "0100-01-01");
  EXPECT_EQ(RaisedNumber([] { return DateToText(Date(1e9)); }), 5);
  EXPECT_EQ(DateToText(Date::FromDateTime(1899, 12, 29, 6, 0, 0)), "1899-12-29");
}

TEST(AmountInWordsTest, FollowsTheCheckWritersSpelling) {
  EXPECT_EQ(AmountInWords(C("1234.56")), "One thousand Two Hundred Thirty Four and 56/100");
  EXPECT_EQ(AmountInWords(C("0.05")), "Zero and 5/100");
  EXPECT_EQ(AmountInWords(C("1000")), "One thousand and 0/100");
  EXPECT_EQ(AmountInWords(C("100")), "One Hundred  and 0/100");
  EXPECT_EQ(AmountInWords(C("30")), "Thirty  and 0/100");
  EXPECT_EQ(AmountInWords(C("15.999")), "Fifteen and 99/100");
  EXPECT_EQ(AmountInWords(C("2005001.10")), "Two million Five thousand One and 10/100");
  EXPECT_EQ(AmountInWords(C("1000000")), "One million and 0/100");
  EXPECT_EQ(AmountInWords(C("919919")),
            "Nine Hundred Nineteen thousand Nine Hundred Nineteen and 0/100");
  EXPECT_EQ(AmountInWords(C("-5")), "Five and 0/100");
  EXPECT_EQ(AmountInWords(C("1005000000")), "One thousand Five million and 0/100");
}

}  // namespace
}  // namespace brennock
