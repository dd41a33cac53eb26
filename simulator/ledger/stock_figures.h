#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace brennock::simulator {

// The largest amount a figure may reach, in cents (ten trillion): beyond it Amount and PercentOf
// give nothing, so sums of many amounts stay far from overflowing.
inline constexpr int64_t kMaxCents = 1'000'000'000'000'000;

// Quantities are kept in hundred-thousandths of a unit (QuickBooks takes five decimals).
std::optional<int64_t> ParseQuantity(std::string_view text);
// "140", "2.5", "-0.33333": no decimals for a whole number, else as many as it has.
std::string FormatQuantity(int64_t scaled);
// An item's average cost: its stock value over its quantity on hand, to five decimals (at least
// two), as QuickBooks shows prices; empty when nothing is on hand.
std::string FormatAverageCost(int64_t value_cents, int64_t scaled_quantity);
// Quantity x price in cents, exact up to the last step and then rounded half away from zero
// (2.345 gives 2.35), the rule QuickBooks follows for line amounts; prices take five decimals.
std::optional<int64_t> Amount(int64_t scaled_quantity, std::string_view price);
// The same for a percentage of an amount (rate-percent, discount and tax lines).
std::optional<int64_t> PercentOf(int64_t cents, std::string_view percent);

}  // namespace brennock::simulator
