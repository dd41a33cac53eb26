#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace brennock::simulator {

// What a child element of a return aggregate holds, as far as the simulator cares.
enum class FieldKind : uint8_t {
  kText,
  kBool,
  kAmount,
  kPrice,
  kQuantity,
  kPercent,
  kDate,
  kDateTime,
  kInt,
  kId,
  kEnum,
  kRef,        // a list reference: ListID and FullName
  kAggregate,  // a nested aggregate, whose own shape is found by its element name
};

struct FieldSpec {
  std::string_view name;
  FieldKind kind;
  bool repeated;
  uint16_t max_length;  // 0: no limit
};

// The children of the named aggregate in QuickBooks' order (for example "CustomerRet",
// "BillAddress", "AccountingPreferences"); empty when the simulator does not know the aggregate.
std::span<const FieldSpec> FindShape(std::string_view name);

}  // namespace brennock::simulator
