#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "brennock/internal/qbxml/catalogue.h"

namespace brennock::simulator {

// A value's kind is the catalogue's element type (the older name stays for callers).
using FieldKind = qbxml::ValueType;

inline bool Repeats(const qbxml::Element& e) { return (e.flags & qbxml::kRepeats) != 0; }

// Amounts in hundredths ("12.50" is 1250); nullopt when the text is not a decimal number.
std::optional<int64_t> ParseCents(std::string_view text);
std::string FormatCents(int64_t cents);

// Brings a request value into the form QuickBooks returns ("1" -> "true", "5" -> "5.00").
// Returns nullopt when the text does not convert to the field's kind. Kinds without a check
// (text, ids, GUIDs, intervals, floats, enumerations) are kept as given.
std::optional<std::string> NormalizeValue(qbxml::ValueType kind, std::string_view text);

// The word QuickBooks uses for a kind in conversion messages ("boolean", "amount").
std::string_view KindWord(qbxml::ValueType kind);

std::string_view Trim(std::string_view text);

}  // namespace brennock::simulator
