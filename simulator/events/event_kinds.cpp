#include "simulator/events/event_kinds.h"

#include <algorithm>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "brennock/internal/qbxml/catalogue.h"

namespace brennock::simulator {
namespace {

// The enumeration values of an element of ListEventSubscription or TxnEventSubscription.
std::span<const std::string_view> Values(std::string_view family, std::string_view suffix) {
  const std::string aggregate = std::string(family) + "EventSubscription";
  const qbxml::Aggregate* shape = qbxml::FindAggregate(aggregate);
  if (shape == nullptr) return {};
  const qbxml::Element* element =
      qbxml::FindElement(*shape, std::string(family) + std::string(suffix));
  return element == nullptr ? std::span<const std::string_view>() : qbxml::EnumValues(*element);
}

bool Contains(std::span<const std::string_view> values, std::string_view value) {
  return std::find(values.begin(), values.end(), value) != values.end();
}

}  // namespace

bool IsEventType(std::string_view family, std::string_view type) {
  if (family != "List" && family != "Txn") return false;
  return Contains(Values(family, "EventType"), type);
}

bool IsEventOperation(std::string_view family, std::string_view operation) {
  if (family != "List" && family != "Txn") return false;
  return Contains(Values(family, "EventOperation"), operation);
}

std::string_view EventFamily(std::string_view type) {
  // Asked at every change: the names are looked up once, sorted, then searched.
  struct Families {
    std::vector<std::pair<std::string_view, std::string_view>> byType;  // type, family
    Families() {
      for (std::string_view family : {"List", "Txn"})
        for (std::string_view name : Values(family, "EventType")) byType.emplace_back(name, family);
      std::sort(byType.begin(), byType.end());
    }
  };
  static const Families families;
  auto found = std::lower_bound(families.byType.begin(), families.byType.end(),
                                std::pair<std::string_view, std::string_view>(type, {}));
  return found != families.byType.end() && found->first == type ? found->second
                                                                : std::string_view();
}

}  // namespace brennock::simulator
