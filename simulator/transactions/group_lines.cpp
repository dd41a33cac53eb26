#include "simulator/transactions/group_lines.h"

#include <string>
#include <utility>
#include <vector>

#include "simulator/ledger/ledger.h"
#include "simulator/ledger/stock_figures.h"

namespace brennock::simulator {
namespace {

// A quantity of a group's definition times the group line's quantity, as QuickBooks shows it.
std::string TimesQuantity(std::string_view member, std::string_view group) {
  auto m = ParseQuantity(member);
  auto g = ParseQuantity(group.empty() ? "1" : group);
  if (!m || !g) return std::string(member);
  return FormatQuantity(RoundedDivide(__int128{*m} * *g, kQuantityScale));
}

}  // namespace

int MemberElement(const qbxml::Aggregate& group_shape) {
  for (size_t i = 0; i < group_shape.elements.size(); ++i)
    if (group_shape.elements[i].type == qbxml::ValueType::kAggregate &&
        group_shape.elements[i].name.ends_with("LineRet"))
      return static_cast<int>(i);
  return -1;
}

void ExpandGroup(const ItemFacts& group, const qbxml::Aggregate& shape, TxnLine& line,
                 LineInput& input) {
  const int member_element = MemberElement(shape);
  if (member_element < 0) return;
  const qbxml::Aggregate& member_shape = *qbxml::Nested(shape.elements[member_element]);
  std::string_view quantity = LineField(line, shape, "Quantity");
  std::vector<TxnLine> kept;  // member ids survive a change of quantity
  kept.swap(line.members);
  input.members.clear();
  for (size_t i = 0; i < group.group.size(); ++i) {
    const auto& [ref, each] = group.group[i];
    TxnLine member;
    member.element = static_cast<uint16_t>(member_element);
    if (i < kept.size() && LineField(kept[i], member_shape, "ItemRef") == ref)
      member.line_id = kept[i].line_id;
    SetLineField(member, member_shape, "ItemRef", ref);
    if (!each.empty())
      SetLineField(member, member_shape, "Quantity", TimesQuantity(each, quantity));
    line.members.push_back(std::move(member));
    input.members.push_back(LineInput{});
  }
}

}  // namespace brennock::simulator
