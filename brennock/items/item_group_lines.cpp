#include "brennock/items/item_group_lines.h"

#include "brennock/internal/errors/collection_support.h"
#include "brennock/internal/model/binding.h"
#include "brennock/internal/model/codecs.h"
#include "brennock/internal/qbxml/request_writer.h"
#include "brennock/internal/util/slab_allocator.h"
#include "brennock/internal/xml/element_tree.h"

namespace brennock {
namespace {

constexpr std::string_view kLineClass = "itemGroupLine";
constexpr uint16_t kLineFlags = kInAdd | kInRet | kSkipEmpty;

}  // namespace

// The rows of a line: the same two elements under the group's and the assembly's names.
struct GroupLineRows {
  using L = itemGroupLine;
  static constexpr std::array<Binding<L>, 2> Rows(std::string_view ref) {
    return {Bind<&L::item_, codecs::Shared<codecs::Ref>, L>(ref, kLineFlags),
            Bind<&L::quantity_, codecs::Single, L>("Quantity", kLineFlags)};
  }
  static const BindingTable<L>& Group() { BRENNOCK_BINDINGS(L, Rows("ItemRef")); }
  static const BindingTable<L>& Component() { BRENNOCK_BINDINGS(L, Rows("ItemInventoryRef")); }
};

void itemGroupLine::SetQuantity(float value) {
  CheckModify(true, kLineClass);
  quantity_ = value;
}

void itemGroupLine::SetItem(const std::string& value) {
  CheckModify(true, kLineClass);
  item_->SetFullName(value);
}

void itemGroupLine::FromDom(const FieldElement& element) {
  const bool component = element.baseName() == "ItemInventoryAssemblyLine";
  (component ? GroupLineRows::Component() : GroupLineRows::Group()).Read(*this, element);
  state_ = qoObjectStateClean;
}

void itemGroupLine::Write(RequestWriter& builder, std::string_view line, bool component) const {
  builder.OpenAggregateOnly(line);
  (component ? GroupLineRows::Component() : GroupLineRows::Group())
      .Write(*this, builder, BodyForm::kAdd);
  builder.EndAggregate(line);
}

std::shared_ptr<itemGroupLine> itemGroupLines::Add(float Quantity, const std::string& ItemRef) {
  auto line = MakeSlabShared<itemGroupLine>();
  line->quantity_ = Quantity;
  line->item_->SetFullName(ItemRef);
  lines_.push_back(line);
  changed_ = true;
  return line;
}

std::shared_ptr<itemGroupLine> itemGroupLines::Item(int32_t index) const {
  if (!ItemExists(index)) RaiseCollectionPositionOutOfRange(std::string(kLineClass) + "s");
  return lines_[static_cast<size_t>(index - 1)];
}

void itemGroupLines::Remove(int32_t index) {
  if (!ItemExists(index)) RaiseCollectionPositionOutOfRange(std::string(kLineClass) + "s");
  lines_.erase(lines_.begin() + (index - 1));
  changed_ = true;
}

bool itemGroupLines::Validate() const {
  for (const auto& line : lines_) {
    if (line->ItemName().empty() && line->item_->ListIDView().empty()) return false;
  }
  return true;
}

itemGroupLine& itemGroupLines::AppendLoaded() {
  // Most groups and assemblies have a few lines: one allocation for them, not one per doubling.
  if (lines_.empty()) lines_.reserve(4);
  lines_.push_back(MakeSlabShared<itemGroupLine>());
  return *lines_.back();
}

bool itemGroupLines::Changed() const noexcept {
  if (changed_) return true;
  for (const auto& line : lines_) {
    if (line->ObjectState() != qoObjectStateClean) return true;
  }
  return false;
}

}  // namespace brennock
