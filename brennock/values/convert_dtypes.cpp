#include "brennock/values/convert_dtypes.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "brennock/internal/errors/value_errors.h"
#include "brennock/internal/util/text.h"
#include "brennock/internal/values/date_on_day.h"

namespace brennock::ModConvertDtypes {
namespace {

// ---- fixed-point text from a decimal digit string
// ------------------------------------------------

// A float as sign, significant digits and a power of ten: value = digits * 10^exponent.
struct Decimal {
  bool negative = false;
  char digits[12];  // a float needs at most 9 significant digits
  int count = 0;
  int exponent = 0;
};

// The shortest digits that read back as the same float, so that 0.1f is written as 0.1 and not
// as the binary value 0.100000001490116.
Decimal DecimalOf(float value) {
  if (!std::isfinite(value)) RaiseOverflow();
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::scientific);
  Decimal d;
  const char* p = text;
  if (*p == '-') {
    d.negative = true;
    ++p;
  }
  for (; *p != 'e'; ++p) {
    if (*p != '.') d.digits[d.count++] = *p;
  }
  int exponent = 0;
  std::from_chars(*(p + 1) == '+' ? p + 2 : p + 1, result.ptr, exponent);
  d.exponent = exponent - (d.count - 1);
  return d;
}

// Appends the number rounded half away from zero to `decimals` places, as Format does, with at
// least `minIntegerDigits` integer digits, optionally grouped by thousands. A value that rounds to
// zero has no sign.
void AppendFixed(std::string& out, const Decimal& d, int minIntegerDigits, int decimals,
                 bool grouping) {
  // The digits of value * 10^decimals, rounded to an integer.
  char scaled[64];
  int count = 0;
  const int keep = d.count + d.exponent + decimals;
  if (keep <= 0) {
    if (keep == 0 && d.digits[0] >= '5') scaled[count++] = '1';
  } else {
    const int kept = keep < d.count ? keep : d.count;
    for (int i = 0; i < kept; ++i) scaled[count++] = d.digits[i];
    for (int i = kept; i < keep; ++i) scaled[count++] = '0';
    if (keep < d.count && d.digits[keep] >= '5') {
      int i = count - 1;
      while (i >= 0 && scaled[i] == '9') scaled[i--] = '0';
      if (i >= 0) {
        ++scaled[i];
      } else {
        for (int j = count; j > 0; --j) scaled[j] = scaled[j - 1];
        scaled[0] = '1';
        ++count;
      }
    }
  }
  int first = 0;
  while (first < count && scaled[first] == '0') ++first;
  const bool zero = first == count;

  const int integerDigits = count - decimals > 0 ? count - decimals : 0;
  const int width = integerDigits > minIntegerDigits ? integerDigits : minIntegerDigits;
  // Composed in place and appended once: sign, up to 40 digits with separators, point, decimals.
  char text[96];
  char* p = text;
  if (d.negative && !zero) *p++ = '-';
  for (int i = 0; i < width; ++i) {
    if (grouping && i > 0 && (width - i) % 3 == 0) *p++ = ',';
    const int source = integerDigits - width + i;  // position in scaled, negative = leading zero
    *p++ = source >= 0 ? scaled[source] : '0';
  }
  if (decimals > 0) {
    *p++ = '.';
    for (int i = 0; i < decimals; ++i) {
      const int source = count - decimals + i;
      *p++ = source >= 0 ? scaled[source] : '0';
    }
  }
  out.append(text, p);
}

// Appends an exact fixed-point number: units = magnitude / 10^decimals, written with at least
// `minIntegerDigits` integer digits and optional thousands separators. Zero has no sign.
void AppendExact(std::string& out, bool negative, uint64_t magnitude, int decimals,
                 int minIntegerDigits, bool grouping) {
  char digits[24];  // magnitude's digits, right-aligned
  char* const digitsEnd = digits + sizeof digits;
  char* first = digitsEnd;
  for (uint64_t v = magnitude; v != 0; v /= 10) *--first = static_cast<char>('0' + v % 10);
  const int count = static_cast<int>(digitsEnd - first);
  const int integerDigits = count > decimals ? count - decimals : 0;
  const int width = integerDigits > minIntegerDigits ? integerDigits : minIntegerDigits;

  char text[48];
  char* p = text;
  if (negative && magnitude != 0) *p++ = '-';
  for (int i = 0; i < width; ++i) {
    if (grouping && i > 0 && (width - i) % 3 == 0) *p++ = ',';
    const int fromEnd = width - i + decimals;  // 1-based position counted from the last digit
    *p++ = fromEnd <= count ? digitsEnd[-fromEnd] : '0';
  }
  if (decimals > 0) {
    *p++ = '.';
    for (int fromEnd = decimals; fromEnd > 0; --fromEnd) {
      *p++ = fromEnd <= count ? digitsEnd[-fromEnd] : '0';
    }
  }
  out.append(text, p);
}

uint64_t Magnitude(int64_t value) {
  return value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
}

// ---- dates
// ---------------------------------------------------------------------------------------

char* WriteDigits(char* p, int value, int width) {
  for (int i = width - 1; i >= 0; --i) {
    p[i] = static_cast<char>('0' + value % 10);
    value /= 10;
  }
  return p + width;
}

// "yyyy-mm-dd", then "Thh:mm:ss" when asked, appended at once.
void AppendDateFields(std::string& out, const Date::Fields& f, bool withTime) {
  // A four-digit year cannot show anything else; cutting digits would write a wrong date.
  if (f.year < 1 || f.year > Date::kMaxYear) RaiseInvalidArgument();
  char text[19];
  char* p = WriteDigits(text, f.year, 4);
  *p++ = '-';
  p = WriteDigits(p, f.month, 2);
  *p++ = '-';
  p = WriteDigits(p, f.day, 2);
  if (withTime) {
    *p++ = 'T';
    p = WriteDigits(p, f.hour, 2);
    *p++ = ':';
    p = WriteDigits(p, f.minute, 2);
    *p++ = ':';
    p = WriteDigits(p, f.second, 2);
  }
  out.append(text, p);
}

bool SessionWritesTimes() { return SessionQbxmlVersion() >= Currency(2); }

// The number written by the Width digits at text, or -1 when any of them is not a digit. The
// digits are tested together rather than one branch each: every date read from a response passes
// here six times.
template <size_t Width>
int DigitsAt(const char* text) noexcept {
  int value = 0;
  bool digits = true;
  for (size_t i = 0; i < Width; ++i) {
    const unsigned digit = static_cast<unsigned char>(text[i]) - unsigned{'0'};
    digits &= digit <= 9;
    value = value * 10 + static_cast<int>(digit & 0xF);
  }
  return digits ? value : -1;
}

// ---- reading numbers
// -----------------------------------------------------------------------------

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view WithoutPercent(std::string_view text) {
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  if (!text.empty() && text.back() == '%') text.remove_suffix(1);
  return text;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A whole text as a double (optional blanks and sign, digits, point, exponent); false when it
// is not a number. Too large raises Overflow; too small reads as 0.
// Digits with at most one point and no more than 15 digits in all, as amounts, prices and
// quantities are written: the whole number they make and the power of ten below it are both exact
// doubles, so one division gives the correctly rounded value from_chars would give.
bool PlainDecimal(std::string_view body, double& out) {
  static constexpr double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  if (body.size() > 16) return false;
  uint64_t whole = 0;
  size_t digits = 0, point = body.size();
  for (size_t i = 0; i < body.size(); ++i) {
    const char c = body[i];
    if (IsDigit(c)) {
      whole = whole * 10 + static_cast<uint64_t>(c - '0');
      ++digits;
    } else if (c == '.' && point == body.size()) {
      point = i;
    } else {
      return false;
    }
  }
  if (digits == 0 || digits > 15) return false;
  const size_t decimals = point == body.size() ? 0 : body.size() - point - 1;
  out = static_cast<double>(whole) / kPowers[decimals];
  return true;
}

bool ReadDouble(std::string_view text, double& out) {
  text = Trimmed(text);
  std::string_view body = text;
  if (!body.empty() && (body.front() == '+' || body.front() == '-')) body.remove_prefix(1);
  // from_chars would also take "inf", "nan" and hexadecimal forms.
  if (body.empty() || !(IsDigit(body.front()) || body.front() == '.')) return false;
  if (PlainDecimal(body, out)) {
    if (text.front() == '-') out = -out;
    return true;
  }
  if (text.front() == '+') text.remove_prefix(1);
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, out, std::chars_format::general);
  if (result.ptr != end) return false;
  if (result.ec == std::errc::result_out_of_range) {
    const auto mark = body.find_first_of("eE");
    if (mark == std::string_view::npos || body[mark + 1] != '-') RaiseOverflow();
    out = 0;
    return true;
  }
  return result.ec == std::errc();
}

int64_t TextToInteger(std::string_view text, int64_t min, int64_t max) {
  const std::string_view trimmed = Trimmed(text);
  if (trimmed.empty()) {
    if (text.empty()) return 0;
    RaiseTypeMismatch();
  }
  std::string_view digits = trimmed;
  // from_chars takes a "-" but no "+"; a "+" may not be followed by another sign.
  if (digits.front() == '+') {
    digits.remove_prefix(1);
    if (!digits.empty() && digits.front() == '-') RaiseTypeMismatch();
  }
  int64_t value = 0;
  const char* end = digits.data() + digits.size();
  const auto result = std::from_chars(digits.data(), end, value);
  if (result.ptr != end || result.ec == std::errc::invalid_argument) {
    // Not a plain integer: a decimal fraction rounds half to even.
    double number;
    if (!ReadDouble(trimmed, number)) RaiseTypeMismatch();
    const double rounded = std::nearbyint(number);
    if (!(rounded >= static_cast<double>(min) && rounded <= static_cast<double>(max))) {
      RaiseOverflow();
    }
    return static_cast<int64_t>(rounded);
  }
  if (result.ec == std::errc::result_out_of_range || value < min || value > max) RaiseOverflow();
  return value;
}

// ---- words
// ---------------------------------------------------------------------------------------

constexpr std::string_view kWords[28] = {
    "Zero",     "One",     "Two",     "Three",     "Four",     "Five",     "Six",
    "Seven",    "Eight",   "Nine",    "Ten",       "Eleven",   "Twelve",   "Thirteen",
    "Fourteen", "Fifteen", "Sixteen", "Seventeen", "Eighteen", "Nineteen", "Twenty",
    "Thirty",   "Forty",   "Fifty",   "Sixty",     "Seventy",  "Eighty",   "Ninety"};

// A group of 0-999 in words; nothing for 0. "Thirty " keeps its blank when no unit follows.
void AppendGroup(std::string& out, int64_t n) {
  const int64_t hundreds = n / 100;
  if (hundreds > 0) {
    out += kWords[hundreds];
    out += " Hundred ";
    n %= 100;
  }
  const int64_t tens = n / 10;
  if (tens >= 2) {
    out += kWords[tens + 18];
    out += ' ';
    n %= 10;
  } else if (tens == 1) {
    out += kWords[n];
    n = 0;
  }
  if (n % 10 != 0) out += kWords[n % 10];
}

// Appends the group text of n followed by `suffix`, unless the group is empty.
void AppendNamedGroup(std::string& out, int64_t n, std::string_view suffix) {
  const size_t before = out.size();
  AppendGroup(out, n);
  if (out.size() != before) out += suffix;
}

}  // namespace

std::string DateToText(Date value) {
  std::string out;
  AppendDateText(out, value);
  return out;
}

void AppendDateText(std::string& out, Date value) {
  if (value.IsNull()) {
    out += "None";
    return;
  }
  AppendDateFields(out, value.Split(), false);
}

std::string DateTimeToText(Date value) {
  std::string out;
  AppendDateTimeText(out, value);
  return out;
}

void AppendDateTimeText(std::string& out, Date value) {
  if (value.IsNull()) {
    out += "None";
    return;
  }
  AppendDateFields(out, value.Split(), SessionWritesTimes());
}

std::string PriceToText(Currency value) {
  std::string out;
  AppendPriceText(out, value);
  return out;
}

void AppendPriceText(std::string& out, Currency value) {
  AppendExact(out, value.Scaled() < 0, Magnitude(value.Scaled()), 4, 7, false);
}

std::string PriceToText(float value) {
  std::string out;
  AppendPriceText(out, value);
  return out;
}

void AppendPriceText(std::string& out, float value) {
  AppendFixed(out, DecimalOf(value), 7, 4, false);
}

std::string QuantityToText(float value) {
  std::string out;
  AppendQuantityText(out, value);
  return out;
}

void AppendQuantityText(std::string& out, float value) {
  AppendFixed(out, DecimalOf(value), 7, 5, false);
}

std::string QuantityToText(Currency value) {
  std::string out;
  AppendQuantityText(out, value);
  return out;
}

void AppendQuantityText(std::string& out, Currency value) {
  // Currency holds four decimals; the fifth is always zero.
  AppendExact(out, value.Scaled() < 0, Magnitude(value.Scaled()), 4, 7, false);
  out += '0';
}

std::string AmountToText(Currency value) {
  std::string out;
  AppendAmountText(out, value);
  return out;
}

void AppendAmountText(std::string& out, Currency value) {
  // The added thousandth pushes a half cent up before the rounding to even. Widened: added to
  // the largest amounts it would overflow, and they still have a text to the cent.
  const __int128 scaled = static_cast<__int128>(value.Scaled()) + 10;
  int64_t cents = static_cast<int64_t>(scaled / 100);
  const int64_t rest = static_cast<int64_t>(scaled % 100);
  const int64_t absRest = rest < 0 ? -rest : rest;
  if (absRest > 50 || (absRest == 50 && (cents & 1) != 0)) cents += rest < 0 ? -1 : 1;
  AppendExact(out, cents < 0, Magnitude(cents), 2, 1, false);
}

std::string AmountForDisplay(Currency value) {
  // Format rounds half away from zero.
  const uint64_t cents = (Magnitude(value.Scaled()) + 50) / 100;
  std::string out;
  AppendExact(out, value.Scaled() < 0, cents, 2, 1, true);
  return out;
}

std::string QuantityForDisplay(float value) {
  // Five decimals, halves away from zero, as Format rounds.
  const double scaled = std::fabs(static_cast<double>(value)) * 100000.0 + 0.5;
  const auto magnitude = static_cast<uint64_t>(scaled);
  std::string out;
  AppendExact(out, value < 0, magnitude, 5, 0, true);
  while (out.back() == '0') out.pop_back();
  return out;
}

std::string TwoDecimals(float value) {
  const double scaled = std::fabs(static_cast<double>(value)) * 100.0 + 0.5;
  std::string out;
  AppendExact(out, value < 0, static_cast<uint64_t>(scaled), 2, 1, false);
  return out;
}

std::string DateForDisplay(Date value) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d/%02d/%04d", value.Month(), value.Day(), value.Year());
  return text;
}

bool TryReadUserDate(std::string_view text, Date& out) {
  int year = 0, month = 0, day = 0;
  char sep1 = 0, sep2 = 0, extra = 0;
  const std::string copy(text);
  const bool iso = std::sscanf(copy.c_str(), "%4d%c%2d%c%2d%c", &year, &sep1, &month, &sep2, &day,
                               &extra) == 5 &&
                   sep1 == '-' && sep2 == '-';
  const bool us = !iso &&
                  std::sscanf(copy.c_str(), "%2d%c%2d%c%4d%c", &month, &sep1, &day, &sep2, &year,
                              &extra) == 5 &&
                  sep1 == '/' && sep2 == '/';
  if ((!iso && !us) || year < 100 || !Date::IsValidDate(year, month, day)) return false;
  out = Date::FromDate(year, month, day);
  return true;
}

std::string IntegerToText(int64_t value) {
  std::string out;
  AppendIntegerText(out, value);
  return out;
}

void AppendIntegerText(std::string& out, int64_t value) {
  char text[24];
  const auto result = std::to_chars(text, text + sizeof text, value);
  out.append(text, result.ptr);
}

std::string AmountInWords(Currency value) {
  const int64_t scaled = value.Scaled();
  const uint64_t magnitude = scaled < 0 ? 0 - static_cast<uint64_t>(scaled) : scaled;
  const int64_t cents = static_cast<int64_t>(magnitude % 10000 / 100);
  int64_t amount = static_cast<int64_t>(magnitude / 10000);

  std::string out;
  out.reserve(96);
  const int64_t millions = amount / 1000000;
  if (millions > 999) {
    AppendNamedGroup(out, millions / 1000, " thousand ");
    const size_t before = out.size();
    AppendGroup(out, millions % 1000);
    if (out.size() != before) out += ' ';
    out += "million ";
  } else {
    AppendNamedGroup(out, millions, " million ");
  }
  amount %= 1000000;
  AppendNamedGroup(out, amount / 1000, " thousand ");
  amount %= 1000;
  AppendNamedGroup(out, amount, " ");
  if (out.empty()) out = "Zero ";
  out += "and ";
  AppendIntegerText(out, cents);
  out += "/100";
  return out;
}

Currency TextToCurrency(std::string_view text) {
  if (text.empty()) return Currency();
  return Currency::Parse(WithoutPercent(text));
}

float TextToSingle(std::string_view text) {
  if (text.empty()) return 0;
  double value;
  if (!ReadDouble(WithoutPercent(text), value)) RaiseTypeMismatch();
  if (std::fabs(value) > 3.4028234663852886e38) RaiseOverflow();
  return static_cast<float>(value);
}

float TextToSingleThroughCurrency(std::string_view text) {
  if (text.empty()) return 0;
  return static_cast<float>(Currency::Parse(text).ToDouble());
}

Date TextToDate(std::string_view text) {
  if (text.empty() || text == "None") return Date();
  // Too short for the day (10 characters) or, past the date, for the seconds (19): a field is
  // missing, which is a damaged value.
  if (text.size() < 10) RaiseTypeMismatch();
  // The records of a response are stamped on a few days: the last day read is kept, checked and
  // counted, so the next stamp of that day only reads its time.
  struct LastDay {
    char text[10];
    double midnight;
    bool known = false;
  };
  thread_local LastDay last;
  const char* at = text.data();
  if (!last.known || std::memcmp(at, last.text, sizeof last.text) != 0) {
    const int year = DigitsAt<4>(at);
    const int month = DigitsAt<2>(at + 5);
    const int day = DigitsAt<2>(at + 8);
    if (!Date::IsValidDate(year, month, day)) RaiseTypeMismatch();
    std::memcpy(last.text, at, sizeof last.text);
    last.midnight = Date::FromDate(year, month, day).Value();
    last.known = true;
  }
  if (text.size() < 11) return Date(last.midnight);
  if (text.size() < 19) RaiseTypeMismatch();
  const int hour = DigitsAt<2>(at + 11);
  const int minute = DigitsAt<2>(at + 14);
  const int second = DigitsAt<2>(at + 17);
  if (!Date::IsValidTime(hour, minute, second)) RaiseTypeMismatch();
  return DateOnDayAt(Date(last.midnight), hour, minute, second);
}

bool TryReadNumber(std::string_view text, double& out) { return ReadDouble(text, out); }

bool TextToBool(std::string_view text) {
  if (text.empty()) return false;
  const std::string_view trimmed = Trimmed(text);
  if (AsciiEqualsIgnoreCase(trimmed, "true")) return true;
  if (AsciiEqualsIgnoreCase(trimmed, "false")) return false;
  double number;
  if (!ReadDouble(trimmed, number)) RaiseTypeMismatch();
  return number != 0;
}

int16_t TextToInt16(std::string_view text) {
  return static_cast<int16_t>(TextToInteger(text, INT16_MIN, INT16_MAX));
}

int32_t TextToInt32(std::string_view text) {
  return static_cast<int32_t>(TextToInteger(text, INT32_MIN, INT32_MAX));
}

}  // namespace brennock::ModConvertDtypes
