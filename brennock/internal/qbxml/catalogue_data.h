#pragma once

// The generated tables behind catalogue.h (catalogue_data.cpp); internal to the library.

#include <cstddef>
#include <iterator>

#include "brennock/internal/qbxml/catalogue.h"

namespace brennock::qbxml::detail {

extern const std::string_view kEnumValues[];
extern const std::span<const std::string_view> kEnumLists[];
extern const Element kElements[];
extern const Aggregate kAggregates[];  // sorted by name
extern const std::size_t kAggregateCount;

}  // namespace brennock::qbxml::detail
