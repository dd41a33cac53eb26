#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace brennock::qbxml {

// The shapes of qbXML records and requests (version 16.0), read from the public schemas by
// scripts/generate_catalogue: which children an aggregate has, in order, and what each holds.

enum class ValueType : uint8_t {
  kText,
  kId,
  kBool,
  kInt,
  kAmount,
  kPrice,
  kQuantity,
  kPercent,
  kFloat,
  kDate,
  kDateTime,
  kTimeInterval,
  kGuid,
  kEnum,
  kRef,
  kAggregate
};

// Element::flags bits.
inline constexpr uint8_t kRepeats = 1;   // may occur more than once
inline constexpr uint8_t kOptional = 2;  // may be left out
inline constexpr uint8_t kInChoice = 4;  // one of several alternatives
// Element::shape when there is nothing to point at.
inline constexpr uint16_t kNone = 0xFFFF;

// One child element of an aggregate, in schema order.
struct Element {
  std::string_view name;
  ValueType type;
  uint8_t flags;
  uint16_t maxLength;  // characters; 0 = no limit
  uint16_t since;      // first qbXML version (x10) with this element in this aggregate: 130 or 160
  uint16_t shape;      // kAggregate/kRef: aggregate index; kEnum: value list index; else kNone
};

struct Aggregate {
  std::string_view name;
  std::span<const Element> elements;
};

// By element name ("ClassAdd", "BillAddress", "CustomerQueryRq"); null when unknown.
const Aggregate* FindAggregate(std::string_view name);
// The aggregate a kAggregate or kRef element holds; null for any other.
const Aggregate* Nested(const Element& e);
// The values of a kEnum element; empty for any other.
std::span<const std::string_view> EnumValues(const Element& e);
// The first child so named; null when there is none.
const Element* FindElement(const Aggregate& a, std::string_view name);
// Every aggregate, sorted by name.
std::span<const Aggregate> AllAggregates();

}  // namespace brennock::qbxml
