#include "simulator/lists/field_values.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "simulator/clock.h"

namespace brennock::simulator {

using qbxml::ValueType;

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\n' ||
                           text.front() == '\r'))
    text.remove_prefix(1);
  while (!text.empty() &&
         (text.back() == ' ' || text.back() == '\t' || text.back() == '\n' || text.back() == '\r'))
    text.remove_suffix(1);
  return text;
}

std::optional<int64_t> ParseCents(std::string_view text) {
  text = Trim(text);
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  int64_t whole = 0, fraction = 0;
  int digits = 0;
  size_t i = 0;
  bool any = false;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, any = true) {
    if (whole > 9'000'000'000'000'000 / 10 / 100) return std::nullopt;
    whole = whole * 10 + (text[i] - '0');
  }
  if (i < text.size() && text[i] == '.') {
    for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, any = true) {
      if (digits < 2)
        fraction = fraction * 10 + (text[i] - '0');
      else if (digits == 2 && text[i] >= '5')
        fraction += 1;  // round half up
      ++digits;
    }
  }
  if (!any || i != text.size()) return std::nullopt;
  if (digits == 1) fraction *= 10;
  int64_t cents = whole * 100 + fraction;
  return negative ? -cents : cents;
}

std::string FormatCents(int64_t cents) {
  char buf[32];
  int64_t a = cents < 0 ? -cents : cents;
  std::snprintf(buf, sizeof buf, "%s%lld.%02lld", cents < 0 ? "-" : "",
                static_cast<long long>(a / 100), static_cast<long long>(a % 100));
  return buf;
}

std::optional<std::string> NormalizeValue(ValueType kind, std::string_view text) {
  std::string_view t = Trim(text);
  switch (kind) {
    case ValueType::kBool:
      if (t == "true" || t == "True" || t == "1") return std::string("true");
      if (t == "false" || t == "False" || t == "0") return std::string("false");
      return std::nullopt;
    case ValueType::kAmount: {
      auto cents = ParseCents(t);
      if (!cents) return std::nullopt;
      return FormatCents(*cents);
    }
    case ValueType::kPrice:
    case ValueType::kPercent:
    case ValueType::kQuantity: {
      double value = 0;
      auto r = std::from_chars(t.data(), t.data() + t.size(), value);
      if (t.empty() || r.ec != std::errc() || r.ptr != t.data() + t.size()) return std::nullopt;
      if (kind == ValueType::kPrice) {
        auto cents = ParseCents(t);
        double rounded = std::round(value * 100) / 100;
        if (cents && rounded == value) return FormatCents(*cents);
      }
      return std::string(t);
    }
    case ValueType::kInt: {
      int64_t value = 0;
      auto r = std::from_chars(t.data(), t.data() + t.size(), value);
      if (t.empty() || r.ec != std::errc() || r.ptr != t.data() + t.size()) return std::nullopt;
      return std::to_string(value);
    }
    case ValueType::kDate:
      if (t.size() != 10 || !ParseDateTime(t, 0)) return std::nullopt;
      return std::string(t);
    case ValueType::kDateTime:
      if (!ParseDateTime(t, 0)) return std::nullopt;
      return std::string(t);
    default:
      return std::string(text);
  }
}

std::string_view KindWord(ValueType kind) {
  switch (kind) {
    case ValueType::kBool:
      return "boolean";
    case ValueType::kAmount:
      return "amount";
    case ValueType::kPrice:
      return "price";
    case ValueType::kQuantity:
      return "quantity";
    case ValueType::kPercent:
      return "percent";
    case ValueType::kInt:
      return "integer";
    case ValueType::kDate:
    case ValueType::kDateTime:
      return "date";
    default:
      return "string";
  }
}

}  // namespace brennock::simulator
