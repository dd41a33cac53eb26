#pragma once

#include <cstdint>

#include "brennock/internal/errors/runtime_errors.h"

namespace brennock {

// The run-time errors value conversions raise, with source "Brennock" (runtime_errors.h).

[[noreturn]] void RaiseInvalidArgument();
[[noreturn]] void RaiseOverflow();
[[noreturn]] void RaiseDivisionByZero();
[[noreturn]] void RaiseTypeMismatch();

}  // namespace brennock
