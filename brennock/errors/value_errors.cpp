#include "brennock/internal/errors/value_errors.h"

#include "brennock/errors/automation_error.h"
#include "brennock/internal/errors/runtime_errors.h"

namespace brennock {

void RaiseInvalidArgument() { RaiseRuntime(kInvalidArgumentNumber); }

void RaiseOverflow() { RaiseRuntime(kOverflowNumber); }

void RaiseDivisionByZero() { RaiseRuntime(kDivisionByZeroNumber); }

void RaiseTypeMismatch() { RaiseRuntime(kTypeMismatchNumber); }

}  // namespace brennock
