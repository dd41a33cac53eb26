#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "simulator/schema/ret_shapes.h"

namespace brennock::simulator {

// Amounts in hundredths ("12.50" is 1250); nullopt when the text is not a decimal number.
std::optional<int64_t> ParseCents(std::string_view text);
std::string FormatCents(int64_t cents);

// Brings a request value into the form QuickBooks returns ("1" -> "true", "5" -> "5.00").
// Returns nullopt when the text does not convert to the field's kind.
std::optional<std::string> NormalizeValue(FieldKind kind, std::string_view text);

// The word QuickBooks uses for a kind in conversion messages ("boolean", "amount").
std::string_view KindWord(FieldKind kind);

std::string_view Trim(std::string_view text);

}  // namespace brennock::simulator
