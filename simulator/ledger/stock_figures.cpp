#include "simulator/ledger/stock_figures.h"

#include <cstdio>

#include "simulator/ledger/ledger.h"
#include "simulator/lists/field_values.h"

namespace brennock::simulator {
namespace {

// A decimal text as an integer scaled by 10^digits; more decimals than that are refused.
std::optional<__int128> ParseScaled(std::string_view text, int digits) {
  text = Trim(text);
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  __int128 value = 0;
  int decimals = -1;
  bool any = false;
  for (char c : text) {
    if (c == '.' && decimals < 0) {
      decimals = 0;
      continue;
    }
    if (c < '0' || c > '9') return std::nullopt;
    if (decimals >= digits) {
      if (c != '0') return std::nullopt;
      continue;
    }
    if (value > (__int128{1} << 100)) return std::nullopt;
    value = value * 10 + (c - '0');
    any = true;
    if (decimals >= 0) ++decimals;
  }
  if (!any) return std::nullopt;
  for (int d = decimals < 0 ? 0 : decimals; d < digits; ++d) value *= 10;
  return negative ? -value : value;
}

std::string Decimal(__int128 scaled, int digits, int keep) {
  bool negative = scaled < 0;
  unsigned __int128 a = negative ? -scaled : scaled;
  unsigned __int128 unit = 1;
  for (int i = 0; i < digits; ++i) unit *= 10;
  std::string fraction;
  unsigned __int128 f = a % unit;
  for (int i = 0; i < digits; ++i) {
    fraction.insert(fraction.begin(), static_cast<char>('0' + static_cast<int>(f % 10)));
    f /= 10;
  }
  while (static_cast<int>(fraction.size()) > keep && fraction.back() == '0') fraction.pop_back();
  char whole[48];
  std::snprintf(whole, sizeof whole, "%llu", static_cast<unsigned long long>(a / unit));
  std::string out = negative ? "-" : "";
  out += whole;
  if (!fraction.empty()) out += "." + fraction;
  return out;
}

// numerator / denominator in whole cents, or nothing beyond kMaxCents.
std::optional<int64_t> Bounded(__int128 numerator, __int128 denominator) {
  __int128 limit = __int128{kMaxCents} * denominator;
  if (numerator > limit || numerator < -limit) return std::nullopt;
  return RoundedDivide(numerator, denominator);
}

}  // namespace

std::optional<int64_t> ParseQuantity(std::string_view text) {
  auto v = ParseScaled(text, 5);
  if (!v || *v > INT64_MAX / 1000 || *v < -INT64_MAX / 1000) return std::nullopt;
  return static_cast<int64_t>(*v);
}

std::string FormatQuantity(int64_t scaled) { return Decimal(scaled, 5, 0); }

std::string FormatAverageCost(int64_t value_cents, int64_t scaled_quantity) {
  if (scaled_quantity == 0) return {};
  // cents x 10^5 units / quantity gives the cost in 10^-7 dollars: five decimals of a dollar
  // after rounding away two.
  __int128 cost = RoundedDivide(__int128{value_cents} * kQuantityScale * 1000, scaled_quantity);
  return Decimal(cost, 5, 2);
}

std::optional<int64_t> Amount(int64_t scaled_quantity, std::string_view price) {
  auto p = ParseScaled(price, 5);  // price in 10^-5 dollars
  if (!p) return std::nullopt;
  // quantity 10^-5 x price 10^-5 dollars = 10^-10 dollars; a cent is 10^8 of them.
  return Bounded(__int128{scaled_quantity} * *p, __int128{100000000});
}

std::optional<int64_t> PercentOf(int64_t cents, std::string_view percent) {
  auto p = ParseScaled(percent, 5);  // percent in 10^-5
  if (!p) return std::nullopt;
  return Bounded(__int128{cents} * *p, __int128{10000000});
}

}  // namespace brennock::simulator
