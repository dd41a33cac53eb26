#pragma once

#include <compare>
#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace brennock {

// A money value as QuickBooks and automation clients see it: a signed 64-bit count of
// ten-thousandths (four decimals, range about +/-922 trillion). Arithmetic is exact where it can
// be; products and quotients are rounded half to even at the fourth decimal, and any result
// outside the range raises AutomationError 6 "Overflow" (value_errors.h).
class Currency {
 public:
  static constexpr int64_t kScale = 10000;

  constexpr Currency() noexcept = default;

  // A whole number of units; raises Overflow when it does not fit.
  template <std::integral T>
  requires(!std::same_as<T, bool>) constexpr explicit Currency(T whole) {
    if constexpr (sizeof(T) < sizeof(int64_t)) {
      scaled_ = static_cast<int64_t>(whole) * kScale;
    } else if constexpr (std::is_signed_v<T>) {
      scaled_ = FromInteger(static_cast<int64_t>(whole)).scaled_;
    } else {
      // Anything above the signed range is far beyond the currency range too.
      scaled_ = FromInteger(whole > static_cast<uint64_t>(INT64_MAX) ? INT64_MAX
                                                                     : static_cast<int64_t>(whole))
                    .scaled_;
    }
  }
  // A double rounded half to even at the fourth decimal; raises Overflow outside the range and
  // for NaN or infinity.
  explicit Currency(double value);

  // The value whose internal count of ten-thousandths is `scaled` (no rounding, no check).
  static constexpr Currency FromScaled(int64_t scaled) noexcept {
    Currency c;
    c.scaled_ = scaled;
    return c;
  }
  static Currency FromInteger(int64_t whole);
  static Currency FromDouble(double value) { return Currency(value); }
  // Reads a plain decimal text: optional blanks, optional sign, digits with at most one point,
  // optional blanks ("12.5", "-0.0001", ".5", "+3."). Commas between integer digits are taken as
  // thousands separators ("1,234.5"); no exponent, no currency sign, no locale.
  // Digits past the fourth decimal are rounded half to even. Raises AutomationError 13
  // "Type mismatch" for anything else, Overflow when the value does not fit.
  static Currency Parse(std::string_view text);
  // Like Parse, but answers false instead of raising (out is left unchanged then).
  static bool TryParse(std::string_view text, Currency& out) noexcept;

  constexpr int64_t Scaled() const noexcept { return scaled_; }
  double ToDouble() const noexcept { return static_cast<double>(scaled_) / kScale; }
  // Whole units rounded half to even, as CLng rounds ("2.5" -> 2, "3.5" -> 4).
  int64_t ToInteger() const noexcept;
  // Whole units with the fraction dropped toward zero (Fix).
  constexpr int64_t Truncated() const noexcept { return scaled_ / kScale; }

  // The shortest decimal text: "12.5", "-0.0001", "3", "0". Never uses exponent or grouping.
  std::string ToString() const;
  // Writes the same text to `out` (at least kMaxTextLength bytes); returns the end.
  char* Write(char* out) const noexcept;
  static constexpr int kMaxTextLength = 21;  // "-922337203685477.5808"

  Currency operator-() const;
  Currency& operator+=(Currency other);
  Currency& operator-=(Currency other);
  Currency& operator*=(Currency other);
  Currency& operator/=(Currency other);  // division by zero raises 11 "Division by zero"

  friend Currency operator+(Currency a, Currency b) { return a += b; }
  friend Currency operator-(Currency a, Currency b) { return a -= b; }
  friend Currency operator*(Currency a, Currency b) { return a *= b; }
  friend Currency operator/(Currency a, Currency b) { return a /= b; }

  friend constexpr bool operator==(Currency, Currency) noexcept = default;
  friend constexpr auto operator<=>(Currency, Currency) noexcept = default;

 private:
  int64_t scaled_ = 0;
};

}  // namespace brennock
