#pragma once

#include <cstdint>

namespace brennock {

// The run-time errors of automation clients that value conversions raise. They keep the plain
// run-time numbers clients already test for (not vbObjectError + n), with source "Brennock".
inline constexpr int32_t kInvalidArgumentNumber = 5;  // "Invalid procedure call or argument"
inline constexpr int32_t kOverflowNumber = 6;         // "Overflow"
inline constexpr int32_t kDivisionByZeroNumber = 11;  // "Division by zero"
inline constexpr int32_t kTypeMismatchNumber = 13;    // "Type mismatch"

[[noreturn]] void RaiseInvalidArgument();
[[noreturn]] void RaiseOverflow();
[[noreturn]] void RaiseDivisionByZero();
[[noreturn]] void RaiseTypeMismatch();

}  // namespace brennock
