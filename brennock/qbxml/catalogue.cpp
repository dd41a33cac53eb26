#include "brennock/internal/qbxml/catalogue.h"

#include <algorithm>

#include "brennock/internal/qbxml/catalogue_data.h"

namespace brennock::qbxml {

std::span<const Aggregate> AllAggregates() {
  return {detail::kAggregates, detail::kAggregateCount};
}

const Aggregate* FindAggregate(std::string_view name) {
  auto all = AllAggregates();
  auto it = std::lower_bound(all.begin(), all.end(), name,
                             [](const Aggregate& a, std::string_view n) { return a.name < n; });
  return it != all.end() && it->name == name ? &*it : nullptr;
}

const Aggregate* Nested(const Element& e) {
  if (e.type != ValueType::kAggregate && e.type != ValueType::kRef) return nullptr;
  return &detail::kAggregates[e.shape];
}

std::span<const std::string_view> EnumValues(const Element& e) {
  if (e.type != ValueType::kEnum || e.shape == kNone) return {};
  return detail::kEnumLists[e.shape];
}

const Element* FindElement(const Aggregate& a, std::string_view name) {
  auto it = std::find_if(a.elements.begin(), a.elements.end(),
                         [name](const Element& e) { return e.name == name; });
  return it != a.elements.end() ? &*it : nullptr;
}

}  // namespace brennock::qbxml
