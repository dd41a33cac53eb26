#include "brennock/events/menu_items.h"

#include "brennock/enums/enumeration_type.h"
#include "brennock/enums/enumerations.h"
#include "brennock/internal/errors/collection_support.h"
#include "brennock/internal/qbxml/request_writer.h"

namespace brennock {
namespace {

void CheckPosition(int32_t index, int32_t count, const char* source) {
  if (index < 1 || index > count) RaiseCollectionPositionOutOfRange(source);
}

}  // namespace

qbMnuConditions mnuConditions::Item(int32_t index) const {
  CheckPosition(index, Count(), "mnuConditions");
  return conditions_[static_cast<size_t>(index - 1)];
}

void mnuConditions::Remove(int32_t index) {
  CheckPosition(index, Count(), "mnuConditions");
  conditions_.erase(conditions_.begin() + (index - 1));
}

void mnuConditions::WriteEach(RequestWriter& builder, std::string_view element) const {
  for (qbMnuConditions condition : conditions_)
    builder.CreateElement(element,
                          EnumCodeToXmlText(qoeMenuConditions, static_cast<int16_t>(condition)));
}

mnuDisplayCondition::mnuDisplayCondition()
    : visibleIfs_(std::make_shared<mnuConditions>()),
      visibleIfNots_(std::make_shared<mnuConditions>()),
      enabledIfs_(std::make_shared<mnuConditions>()),
      enabledIfNots_(std::make_shared<mnuConditions>()) {}

void mnuDisplayCondition::ToXML(RequestWriter& bldr) const {
  bldr.OpenAggregateOnly("DisplayCondition");
  visibleIfs_->WriteEach(bldr, "VisibleIf");
  visibleIfNots_->WriteEach(bldr, "VisibleIfNot");
  enabledIfs_->WriteEach(bldr, "EnabledIf");
  enabledIfNots_->WriteEach(bldr, "EnabledIfNot");
  bldr.EndAggregate("DisplayCondition");
}

mnuItem::mnuItem() : displayConditions_(std::make_shared<mnuDisplayCondition>()) {}

void mnuItem::ToXML(RequestWriter& bldr) const {
  bldr.OpenAggregateOnly("MenuItem");
  bldr.CreateElement("MenuText", text_);
  bldr.CreateElement("EventTag", eventTag_);
  displayConditions_->ToXML(bldr);
  bldr.EndAggregate("MenuItem");
}

std::shared_ptr<mnuItem> mnuItems::Add(const std::string& Text, const std::string& EventTag) {
  auto item = std::make_shared<mnuItem>();
  item->SetText(Text);
  item->SetEventTag(EventTag);
  items_.push_back(item);
  return item;
}

std::shared_ptr<mnuItem> mnuItems::Item(int32_t index) const {
  CheckPosition(index, Count(), "mnuItems");
  return items_[static_cast<size_t>(index - 1)];
}

void mnuItems::Remove(int32_t index) {
  CheckPosition(index, Count(), "mnuItems");
  items_.erase(items_.begin() + (index - 1));
}

void mnuItems::ToXML(RequestWriter& bldr) const {
  for (const auto& item : items_) item->ToXML(bldr);
}

}  // namespace brennock
