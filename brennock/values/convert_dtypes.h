#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "brennock/values/currency.h"
#include "brennock/values/date.h"

// Conversions between record values and qbXML element text, shared by every record so that all
// of them format numbers, dates and Booleans alike. The period is the decimal separator, nothing
// depends on the locale, and no writer uses iostreams: each has a form that appends to a string
// the caller owns (the request builder's fast path) and one that returns a new string.
namespace brennock {

// The qbXML version of this thread's session; provided by the session layer, which sits above the
// value types.
Currency SessionQbxmlVersion();

}  // namespace brennock

namespace brennock::ModConvertDtypes {

// ---- record values to qbXML text ----------------------------------------------------------------

// "1" / "0": flags in Add and Mod requests.
constexpr std::string_view BoolToRequestText(bool value) noexcept { return value ? "1" : "0"; }
// "true" / "false": flags in the query-result form of a record.
constexpr std::string_view BoolToResponseText(bool value) noexcept {
  return value ? "true" : "false";
}

// "yyyy-mm-dd"; the zero date gives "None". Both date writers raise AutomationError 5 for a
// stored value whose year does not fit four digits.
std::string DateToText(Date value);
void AppendDateText(std::string& out, Date value);

// "yyyy-mm-ddThh:mm:ss" (24-hour clock) when the session's qbXML version is 2.0 or higher, else
// "yyyy-mm-dd"; the zero date gives "None". Both date writers raise AutomationError 5 for a
// stored value whose year does not fit four digits.
// Date-times carry their time from qbXML 2.0 on: the version is this thread's session's, which the
// session layer provides (SessionQbxmlVersion).
std::string DateTimeToText(Date value);
void AppendDateTimeText(std::string& out, Date value);

// Price pattern "0000000.0000": at least seven integer digits, four decimals ("0000012.5000").
std::string PriceToText(Currency value);
void AppendPriceText(std::string& out, Currency value);
std::string PriceToText(float value);
void AppendPriceText(std::string& out, float value);

// Quantity or rate pattern "0000000.00000": at least seven integer digits, five decimals.
std::string QuantityToText(float value);
void AppendQuantityText(std::string& out, float value);
std::string QuantityToText(Currency value);
void AppendQuantityText(std::string& out, Currency value);

// Amount: the value plus 0.001, rounded half to even at two decimals, then "#######0.00"
// (2.005 -> "2.01", -12.5 -> "-12.50", no grouping).
std::string AmountToText(Currency value);
void AppendAmountText(std::string& out, Currency value);

// Amount for people: "#,##0.00" with thousands separators ("1,234,567.89").
std::string AmountForDisplay(Currency value);

// Grid pictures of transaction lines. A quantity as "#,###,###.#####": thousands grouped, no
// leading zero, up to five decimals without trailing zeros, the point always shown (2 -> "2.",
// 0.5 -> ".5", 1234.25 -> "1,234.25").
std::string QuantityForDisplay(float value);
// "0.00" (12.5 -> "12.50"; halves away from zero, as Format rounds).
std::string TwoDecimals(float value);
// "mm/dd/yyyy".
std::string DateForDisplay(Date value);
// A date a person typed: "yyyy-mm-dd" or "m/d/yyyy"; false for anything else or no real date.
bool TryReadUserDate(std::string_view text, Date& out);

// Plain decimal ("-42"); 16-bit values use the same writer.
std::string IntegerToText(int64_t value);
void AppendIntegerText(std::string& out, int64_t value);

// The amount in words for a check: "One thousand Two Hundred Thirty Four and 56/100". The blanks
// fall as the check writer has always placed them ("One Hundred  and 0/100"). The sign is
// ignored; cents are the first two decimals, not rounded. Counts of millions above 999 are spelled
// as thousands of millions ("One thousand Five million and 0/100").
std::string AmountInWords(Currency value);

// ---- qbXML text to record values ----------------------------------------------------------------
//
// Empty text reads as 0, False or the zero date. Text that is not a value of the kind asked for
// raises AutomationError 13 "Type mismatch"; a number outside the type's range raises 6
// "Overflow" (value_errors.h).

// A trailing "%" (blanks around it allowed) is dropped first ("7.5%" -> 7.5); then a plain
// decimal (Currency::Parse).
Currency TextToCurrency(std::string_view text);
// A trailing "%" is dropped first; then a floating-point number ("1.5", "-2e3").
float TextToSingle(std::string_view text);
// Read as currency (four decimals, rounded half to even), then converted to single.
float TextToSingleThroughCurrency(std::string_view text);

// "None" is the zero date. Shorter than 11 characters: a date, year in characters 1-4, month
// 6-7, day 9-10. Otherwise a date and time: hour 12-13, minute 15-16, second 18-19; anything after
// the 19th character (a time-zone offset such as "-08:00") is ignored, so the result is the clock
// time QuickBooks wrote. Separators are not checked. When a field position holds anything but
// digits, or the fields name no real date or time (month 13, 30 February, hour 24), the text
// raises Type mismatch rather than reading as "no date", so a damaged value is never lost quietly.
Date TextToDate(std::string_view text);

// A whole text as a double: optional blanks and sign, digits with a point, an optional exponent
// ("12.5", "-3", "1e3"). Answers false when the text is no number; too large raises Overflow.
bool TryReadNumber(std::string_view text, double& out);

// "true" / "false" in any case; otherwise a number, True when not zero.
bool TextToBool(std::string_view text);

// A decimal integer ("42", "-7", " +3 "); a fraction is rounded half to even as CInt does.
int16_t TextToInt16(std::string_view text);
int32_t TextToInt32(std::string_view text);

}  // namespace brennock::ModConvertDtypes
