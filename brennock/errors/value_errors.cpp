#include "brennock/errors/value_errors.h"

#include "brennock/errors/automation_error.h"

namespace brennock {

void RaiseInvalidArgument() {
  throw AutomationError(kInvalidArgumentNumber, "Brennock", "Invalid procedure call or argument");
}

void RaiseOverflow() { throw AutomationError(kOverflowNumber, "Brennock", "Overflow"); }

void RaiseDivisionByZero() {
  throw AutomationError(kDivisionByZeroNumber, "Brennock", "Division by zero");
}

void RaiseTypeMismatch() {
  throw AutomationError(kTypeMismatchNumber, "Brennock", "Type mismatch");
}

}  // namespace brennock
