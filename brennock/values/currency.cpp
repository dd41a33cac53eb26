#include "brennock/values/currency.h"

#include <cmath>
#include <cstring>

#include "brennock/internal/errors/value_errors.h"

namespace brennock {
namespace {

using Wide = __int128;

constexpr uint64_t kMinMagnitude = static_cast<uint64_t>(INT64_MAX) + 1;  // |INT64_MIN|

// Divides n by d (d > 0) and rounds the quotient half to even, as automation currency does.
Wide DivideRoundHalfEven(Wide n, Wide d) {
  Wide q = n / d;
  Wide r = n % d;
  if (r < 0) r = -r;
  const Wide twice = r * 2;
  if (twice > d || (twice == d && (q & 1) != 0)) q += n < 0 ? -1 : 1;
  return q;
}

Currency Narrow(Wide scaled) {
  if (scaled > INT64_MAX || scaled < INT64_MIN) RaiseOverflow();
  return Currency::FromScaled(static_cast<int64_t>(scaled));
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Writes the decimal digits of v (any value) and returns the end.
char* WriteUnsigned(char* out, uint64_t v) {
  char digits[20];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + v % 10);
    v /= 10;
  } while (v != 0);
  while (n > 0) *out++ = digits[--n];
  return out;
}

}  // namespace

Currency::Currency(double value) {
  if (!std::isfinite(value)) RaiseOverflow();
  const double scaled = std::nearbyint(value * static_cast<double>(kScale));
  // 2^63 is exactly representable; everything at or above it does not fit.
  if (scaled >= 9223372036854775808.0 || scaled < -9223372036854775808.0) RaiseOverflow();
  scaled_ = static_cast<int64_t>(scaled);
}

Currency Currency::FromInteger(int64_t whole) {
  int64_t scaled;
  if (__builtin_mul_overflow(whole, kScale, &scaled)) RaiseOverflow();
  return FromScaled(scaled);
}

namespace {

enum class ParseStatus { kOk, kNotANumber, kOverflow };

ParseStatus ParseScaled(std::string_view text, int64_t& out) noexcept {
  const char* p = text.data();
  const char* end = p + text.size();
  while (p != end && IsBlank(*p)) ++p;
  while (end != p && IsBlank(end[-1])) --end;
  bool negative = false;
  if (p != end && (*p == '+' || *p == '-')) negative = *p++ == '-';

  uint64_t magnitude = 0;  // in ten-thousandths
  bool anyDigit = false;
  bool overflow = false;
  bool lastWasDigit = false;
  for (; p != end && *p != '.'; ++p) {
    if (*p == ',' && lastWasDigit && p + 1 != end && p[1] >= '0' && p[1] <= '9') {
      lastWasDigit = false;
      continue;
    }
    if (*p < '0' || *p > '9') return ParseStatus::kNotANumber;
    anyDigit = lastWasDigit = true;
    overflow |= __builtin_mul_overflow(magnitude, 10u, &magnitude) ||
                __builtin_add_overflow(magnitude, static_cast<uint64_t>(*p - '0'), &magnitude);
  }
  overflow |=
      __builtin_mul_overflow(magnitude, static_cast<uint64_t>(Currency::kScale), &magnitude);

  uint64_t fraction = 0;
  int fractionDigits = 0;
  int firstDropped = -1;        // the fifth decimal, which decides the rounding
  bool droppedNonZero = false;  // any later decimal that is not zero
  if (p != end) {
    for (++p; p != end; ++p) {
      if (*p < '0' || *p > '9') return ParseStatus::kNotANumber;
      anyDigit = true;
      const int digit = *p - '0';
      if (fractionDigits < 4) {
        fraction = fraction * 10 + static_cast<uint64_t>(digit);
        ++fractionDigits;
      } else if (firstDropped < 0) {
        firstDropped = digit;
      } else {
        droppedNonZero |= digit != 0;
      }
    }
  }
  if (!anyDigit) return ParseStatus::kNotANumber;
  for (; fractionDigits < 4; ++fractionDigits) fraction *= 10;
  overflow |= __builtin_add_overflow(magnitude, fraction, &magnitude);
  if (firstDropped > 5 || (firstDropped == 5 && (droppedNonZero || (magnitude & 1) != 0))) {
    overflow |= __builtin_add_overflow(magnitude, 1u, &magnitude);
  }
  if (overflow || magnitude > (negative ? kMinMagnitude : static_cast<uint64_t>(INT64_MAX))) {
    return ParseStatus::kOverflow;
  }
  out = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
  return ParseStatus::kOk;
}

}  // namespace

bool Currency::TryParse(std::string_view text, Currency& out) noexcept {
  int64_t scaled;
  if (ParseScaled(text, scaled) != ParseStatus::kOk) return false;
  out = FromScaled(scaled);
  return true;
}

Currency Currency::Parse(std::string_view text) {
  int64_t scaled = 0;
  switch (ParseScaled(text, scaled)) {
    case ParseStatus::kOk:
      return FromScaled(scaled);
    case ParseStatus::kOverflow:
      RaiseOverflow();
    case ParseStatus::kNotANumber:
      break;
  }
  RaiseTypeMismatch();
}

int64_t Currency::ToInteger() const noexcept {
  return static_cast<int64_t>(DivideRoundHalfEven(scaled_, kScale));
}

char* Currency::Write(char* out) const noexcept {
  uint64_t magnitude = static_cast<uint64_t>(scaled_);
  if (scaled_ < 0) {
    *out++ = '-';
    magnitude = 0 - magnitude;
  }
  out = WriteUnsigned(out, magnitude / kScale);
  uint64_t fraction = magnitude % kScale;
  if (fraction != 0) {
    *out++ = '.';
    for (uint64_t unit = kScale / 10; fraction != 0; unit /= 10) {
      *out++ = static_cast<char>('0' + fraction / unit);
      fraction %= unit;
    }
  }
  return out;
}

std::string Currency::ToString() const {
  char buffer[kMaxTextLength];
  return std::string(buffer, Write(buffer));
}

Currency Currency::operator-() const {
  if (scaled_ == INT64_MIN) RaiseOverflow();
  return FromScaled(-scaled_);
}

Currency& Currency::operator+=(Currency other) {
  if (__builtin_add_overflow(scaled_, other.scaled_, &scaled_)) RaiseOverflow();
  return *this;
}

Currency& Currency::operator-=(Currency other) {
  if (__builtin_sub_overflow(scaled_, other.scaled_, &scaled_)) RaiseOverflow();
  return *this;
}

Currency& Currency::operator*=(Currency other) {
  *this = Narrow(DivideRoundHalfEven(static_cast<Wide>(scaled_) * other.scaled_, kScale));
  return *this;
}

Currency& Currency::operator/=(Currency other) {
  if (other.scaled_ == 0) RaiseDivisionByZero();
  Wide numerator = static_cast<Wide>(scaled_) * kScale;
  Wide denominator = other.scaled_;
  if (denominator < 0) {
    numerator = -numerator;
    denominator = -denominator;
  }
  *this = Narrow(DivideRoundHalfEven(numerator, denominator));
  return *this;
}

}  // namespace brennock
