#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "brennock/enums/enumeration_type.h"

namespace brennock {

// The contents of the enumeration tables, as static data (internal to the library).

struct EnumEntryData {
  int16_t code;
  std::string_view description;
  std::string_view tag = {};  // the qbXML text where it differs from the blank-free description
};

struct EnumTableData {
  qoEnumerationType type;  // also the table's position in the registry
  std::string_view key;    // registration key
  std::span<const EnumEntryData> entries;
};

// The registered tables in registration order; entry i has type i + 1. The report table (30)
// has no plain entries: it holds the report catalogue's descriptors.
std::span<const EnumTableData> RegisteredEnumTables() noexcept;

// Tables used by their records but not registered.
std::span<const EnumEntryData> TermsKindEntries() noexcept;
std::span<const EnumEntryData> DoneStatusEntries() noexcept;

}  // namespace brennock
