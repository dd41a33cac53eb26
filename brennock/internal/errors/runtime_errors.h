#pragma once

#include <cstdint>
#include <string_view>

namespace brennock {

// The run-time errors of automation clients. They keep the plain run-time numbers clients already
// test for (not vbObjectError + n); the texts are the runtime's own, kept in one table.
enum RuntimeError : int32_t {
  kInvalidArgumentNumber = 5,       // "Invalid procedure call or argument"
  kOverflowNumber = 6,              // "Overflow"
  kSubscriptOutOfRangeNumber = 9,   // "Subscript out of range"
  kDivisionByZeroNumber = 11,       // "Division by zero"
  kTypeMismatchNumber = 13,         // "Type mismatch"
  kDeviceIoNumber = 57,             // "Device I/O error"
  kPathFileAccessNumber = 75,       // "Path/File access error"
  kObjectNotSetNumber = 91,         // "Object variable or With block variable not set"
  kActionNotSupportedNumber = 445,  // "Object doesn't support this action"
  kDuplicateKeyNumber = 457,        // "This key is already associated with an element of ..."
};

// The runtime's text of the error.
std::string_view RuntimeErrorText(RuntimeError error) noexcept;

// Raises the error with its text and that source ("Brennock" for the library itself, a class or
// collection name where the runtime would name one).
[[noreturn]] void RaiseRuntime(RuntimeError error, std::string_view source = "Brennock");

}  // namespace brennock
