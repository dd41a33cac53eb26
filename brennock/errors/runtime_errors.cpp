#include "brennock/internal/errors/runtime_errors.h"

#include <string>

#include "brennock/errors/automation_error.h"

namespace brennock {

std::string_view RuntimeErrorText(RuntimeError error) noexcept {
  switch (error) {
    case kInvalidArgumentNumber:
      return "Invalid procedure call or argument";
    case kOverflowNumber:
      return "Overflow";
    case kSubscriptOutOfRangeNumber:
      return "Subscript out of range";
    case kDivisionByZeroNumber:
      return "Division by zero";
    case kTypeMismatchNumber:
      return "Type mismatch";
    case kDeviceIoNumber:
      return "Device I/O error";
    case kPathFileAccessNumber:
      return "Path/File access error";
    case kObjectNotSetNumber:
      return "Object variable or With block variable not set";
    case kActionNotSupportedNumber:
      return "Object doesn't support this action";
    case kDuplicateKeyNumber:
      return "This key is already associated with an element of this collection";
  }
  return {};
}

void RaiseRuntime(RuntimeError error, std::string_view source) {
  throw AutomationError(error, std::string(source), std::string(RuntimeErrorText(error)));
}

}  // namespace brennock
