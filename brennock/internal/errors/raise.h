#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "brennock/internal/errors/error_table.h"

namespace brennock {

// Source of library-wide failures (no connection, bad enumeration text, unsupported version).
inline constexpr std::string_view kLibrarySource = "Brennock";

// Library-wide failure: number vbObjectError + n, source "Brennock", the table's text (or the
// given one, for rows whose text is not fixed).
[[noreturn]] void RaiseLibraryError(ErrorCode n);
// With the source the table gives the error.
[[noreturn]] void RaiseTableError(ErrorCode n);
[[noreturn]] void RaiseLibraryError(ErrorCode n, std::string description);

// Raised by a setter or a collection operation with its class (or object-type) name as source.
[[noreturn]] void RaiseError(ErrorCode n, std::string_view source);
[[noreturn]] void RaiseError(ErrorCode n, std::string_view source, std::string description);

// A class's own raise routine: source "Brennock:" + class name (no blank). ReRaiseFromClass passes
// any number through unchanged (a QuickBooks status code, another component's error);
// RaiseFromClass takes a table offset.
[[noreturn]] void ReRaiseFromClass(std::string_view class_name, int32_t number,
                                   std::string description);
[[noreturn]] void RaiseFromClass(std::string_view class_name, ErrorCode n);
[[noreturn]] void RaiseFromClass(std::string_view class_name, ErrorCode n, std::string description);

// The general-purpose routine: number vbObjectError + 1003, source "Brennock: " + context (with a
// blank), the caller's description ("Unknown Code", "XMLModify not allowed", ...).
[[noreturn]] void RaiseGeneral(std::string_view context, std::string description);

}  // namespace brennock
