#include "brennock/values/variant.h"

#include <charconv>
#include <cmath>

#include "brennock/internal/errors/value_errors.h"
#include "brennock/internal/util/text.h"
#include "brennock/values/convert_dtypes.h"

namespace brennock {
namespace {

template <class... F>
struct Overloaded : F... {
  using F::operator()...;
};
// Spelled out for clang before 17, which does not deduce aggregate template arguments.
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

int64_t InRange(int64_t value, int64_t min, int64_t max) {
  if (value < min || value > max) RaiseOverflow();
  return value;
}

// A double rounded half to even to a 64-bit integer.
int64_t Rounded(double value) {
  const double rounded = std::nearbyint(value);
  // 2^63 is exactly representable and already out of range; NaN fails both tests.
  if (!(rounded >= -9223372036854775808.0 && rounded < 9223372036854775808.0)) RaiseOverflow();
  return static_cast<int64_t>(rounded);
}

// Digits as %.{precision}G prints them, the exponent in capitals ("1E+20").
std::string GeneralText(double value, int precision) {
  char text[40];
  const auto result =
      std::to_chars(text, text + sizeof text, value, std::chars_format::general, precision);
  for (char* p = text; p != result.ptr; ++p) {
    if (*p == 'e') *p = 'E';
  }
  return std::string(text, result.ptr);
}

// "True" / "False" in any case.
bool ReadBoolText(std::string_view text, bool& value) {
  const auto is = [&](std::string_view word) { return AsciiEqualsIgnoreCase(text, word); };
  if (is("true")) {
    value = true;
    return true;
  }
  if (is("false")) {
    value = false;
    return true;
  }
  return false;
}

// A text as a number: Booleans count -1 and 0, anything else that is no number is a mismatch.
double TextNumber(const std::string& text) {
  bool flag;
  if (ReadBoolText(text, flag)) return flag ? -1.0 : 0.0;
  double number;
  if (!ModConvertDtypes::TryReadNumber(text, number)) RaiseTypeMismatch();
  return number;
}

void AppendTwoDigits(std::string& out, int value) {
  out += static_cast<char>('0' + value / 10);
  out += static_cast<char>('0' + value % 10);
}

std::string DateText(Date value) {
  const Date::Fields f = value.Split();
  if (f.year < 1 || f.year > Date::kMaxYear) RaiseInvalidArgument();
  std::string text;
  text.reserve(19);
  AppendTwoDigits(text, f.year / 100);
  AppendTwoDigits(text, f.year % 100);
  text += '-';
  AppendTwoDigits(text, f.month);
  text += '-';
  AppendTwoDigits(text, f.day);
  if (f.hour != 0 || f.minute != 0 || f.second != 0) {
    text += ' ';
    AppendTwoDigits(text, f.hour);
    text += ':';
    AppendTwoDigits(text, f.minute);
    text += ':';
    AppendTwoDigits(text, f.second);
  }
  return text;
}

}  // namespace

VbVarType Variant::VarType() const noexcept {
  return std::visit(Overloaded{
                        [](std::monostate) { return vbEmpty; },
                        [](bool) { return vbBoolean; },
                        [](int16_t) { return vbInteger; },
                        [](int32_t) { return vbLong; },
                        [](int64_t) { return vbLongLong; },
                        [](float) { return vbSingle; },
                        [](double) { return vbDouble; },
                        [](Currency) { return vbCurrency; },
                        [](Date) { return vbDate; },
                        [](const std::string&) { return vbString; },
                        [](const ObjectRef&) { return vbObject; },
                    },
                    value_);
}

bool Variant::IsNumber() const noexcept {
  switch (VarType()) {
    case vbInteger:
    case vbLong:
    case vbLongLong:
    case vbSingle:
    case vbDouble:
    case vbCurrency:
      return true;
    default:
      return false;
  }
}

std::string Variant::ToString() const {
  return std::visit(Overloaded{
                        [](std::monostate) { return std::string(); },
                        [](bool v) { return std::string(v ? "True" : "False"); },
                        [](int16_t v) { return ModConvertDtypes::IntegerToText(v); },
                        [](int32_t v) { return ModConvertDtypes::IntegerToText(v); },
                        [](int64_t v) { return ModConvertDtypes::IntegerToText(v); },
                        [](float v) { return GeneralText(v, 7); },
                        [](double v) { return GeneralText(v, 15); },
                        [](Currency v) { return v.ToString(); },
                        [](Date v) { return DateText(v); },
                        [](const std::string& v) { return v; },
                        [](const ObjectRef&) -> std::string { RaiseTypeMismatch(); },
                    },
                    value_);
}

bool Variant::ToBool() const {
  return std::visit(Overloaded{
                        [](std::monostate) { return false; },
                        [](bool v) { return v; },
                        [](Currency v) { return v != Currency(); },
                        [](Date v) { return v.Value() != 0; },
                        [](const std::string& v) { return TextNumber(v) != 0; },
                        [](const ObjectRef&) -> bool { RaiseTypeMismatch(); },
                        [](auto number) { return number != 0; },
                    },
                    value_);
}

int64_t Variant::ToInt64() const {
  return std::visit(Overloaded{
                        [](std::monostate) { return int64_t{0}; },
                        [](bool v) { return v ? int64_t{-1} : int64_t{0}; },
                        [](int16_t v) { return int64_t{v}; },
                        [](int32_t v) { return int64_t{v}; },
                        [](int64_t v) { return v; },
                        [](float v) { return Rounded(v); },
                        [](double v) { return Rounded(v); },
                        [](Currency v) { return v.ToInteger(); },
                        [](Date v) { return Rounded(v.Value()); },
                        [](const std::string& v) {
                          // Whole numbers are read exactly, beyond what a double holds.
                          std::string_view digits = v;
                          if (!digits.empty() && digits.front() == '+') {
                            digits.remove_prefix(1);
                            if (!digits.empty() && digits.front() == '-') RaiseTypeMismatch();
                          }
                          int64_t whole;
                          const char* end = digits.data() + digits.size();
                          const auto result = std::from_chars(digits.data(), end, whole);
                          if (result.ec == std::errc() && result.ptr == end) return whole;
                          return Rounded(TextNumber(v));
                        },
                        [](const ObjectRef&) -> int64_t { RaiseTypeMismatch(); },
                    },
                    value_);
}

int32_t Variant::ToInt32() const {
  return static_cast<int32_t>(InRange(ToInt64(), INT32_MIN, INT32_MAX));
}

int16_t Variant::ToInt16() const {
  return static_cast<int16_t>(InRange(ToInt64(), INT16_MIN, INT16_MAX));
}

double Variant::ToDouble() const {
  return std::visit(Overloaded{
                        [](std::monostate) { return 0.0; },
                        [](bool v) { return v ? -1.0 : 0.0; },
                        [](Currency v) { return v.ToDouble(); },
                        [](Date v) { return v.Value(); },
                        [](const std::string& v) { return TextNumber(v); },
                        [](const ObjectRef&) -> double { RaiseTypeMismatch(); },
                        [](auto number) { return static_cast<double>(number); },
                    },
                    value_);
}

float Variant::ToSingle() const {
  const double value = ToDouble();
  if (std::fabs(value) > 3.4028234663852886e38) RaiseOverflow();
  return static_cast<float>(value);
}

Currency Variant::ToCurrency() const {
  return std::visit(Overloaded{
                        [](std::monostate) { return Currency(); },
                        [](bool v) { return Currency(v ? -1 : 0); },
                        [](float v) { return Currency(static_cast<double>(v)); },
                        [](double v) { return Currency(v); },
                        [](Currency v) { return v; },
                        [](Date v) { return Currency(v.Value()); },
                        [](const std::string& v) {
                          Currency exact;
                          if (Currency::TryParse(v, exact)) return exact;
                          return Currency(TextNumber(v));
                        },
                        [](const ObjectRef&) -> Currency { RaiseTypeMismatch(); },
                        [](auto integer) { return Currency(integer); },
                    },
                    value_);
}

Date Variant::ToDate() const {
  if (const auto* date = std::get_if<Date>(&value_)) return *date;
  if (const auto* text = std::get_if<std::string>(&value_)) {
    return ModConvertDtypes::TextToDate(*text);
  }
  return Date(ToDouble());
}

std::shared_ptr<void> Variant::ToObject() const {
  if (IsEmpty()) return nullptr;
  const auto* ref = std::get_if<ObjectRef>(&value_);
  if (ref == nullptr) RaiseTypeMismatch();
  return ref->object;
}

bool operator==(const Variant& a, const Variant& b) noexcept { return a.value_ == b.value_; }

}  // namespace brennock
