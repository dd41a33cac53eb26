#include "brennock/lists/price_level.h"

#include "brennock/errors/collection_support.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/values/convert_dtypes.h"
#include "brennock/xml/xml_node.h"

namespace brennock {
namespace {

constexpr ListRecordKind kPriceLevelKind{
    qoObjectTypePriceLevel, static_cast<qoEnumListType>(0), "PriceLevel",
    "PriceLevel",           "XMLModify not allowed",        false,
    &PriceLevel::Fields};

PriceLevel& Level(qcBase& record) { return RecordAs<PriceLevel>(record); }

}  // namespace

void levelPerItem::FromDom(const FieldElement& element) {
  std::string scratch;
  for (FieldElement child : element.Children()) {
    std::string_view name = child.baseName();
    if (name == "ItemRef") {
      itemRef_->FromDom(child);
    } else if (name == "CustomPrice" || name == "CustomPricePercent") {
      customPrice_ = ModConvertDtypes::TextToCurrency(child.TextView(scratch));
      customPriceIsPercent_ = name == "CustomPricePercent";
    }
  }
  state_ = qoObjectStateClean;
}

std::shared_ptr<levelPerItem> levelPerItems::Item(int32_t index) const {
  if (index < 1 || index > Count()) RaiseCollectionPositionOutOfRange("levelPerItems");
  return items_[static_cast<size_t>(index - 1)];
}

PriceLevel::PriceLevel() : ListRecordCore(kPriceLevelKind) {}

std::shared_ptr<levelPerItems> PriceLevel::PriceLevelsPerItem() {
  if (!perItem_) perItem_ = std::make_shared<levelPerItems>();
  return perItem_;
}

const FieldTable& PriceLevel::Fields() {
  static constexpr auto kEntries = SortedFields(
      IdentityFields(),
      std::array<FieldEntry, 3>{{
          {"PriceLevelType",
           [](qcBase& r, const FieldElement& e) { Level(r).priceLevelType_ = e.text(); }},
          {"PriceLevelFixedPercentage",
           [](qcBase& r, const FieldElement& e) {
             Level(r).fixedPercentage_ = ModConvertDtypes::TextToSingle(e.text());
           }},
          {"PriceLevelPerItemRet",
           [](qcBase& r, const FieldElement& e) {
             auto entry = std::make_shared<levelPerItem>();
             entry->FromDom(e);
             Level(r).PriceLevelsPerItem()->Append(std::move(entry));
           }},
      }});
  static constexpr FieldTable kTable(kEntries);
  return kTable;
}

int32_t PriceLevel::XMLInsert(xmlBldr& /*cxmlbldr*/) { return 0; }

int32_t PriceLevel::XMLQueryRs(xmlBldr& cxmlbldr) {
  WriteRetIdentity(cxmlbldr);
  WriteNameAndActive(cxmlbldr, true);
  cxmlbldr.CreateElement2("PriceLevelType", priceLevelType_, false, 0.0);
  if (priceLevelType_ == "FixedPercentage")
    cxmlbldr.CreateElement("PriceLevelFixedPercentage",
                           ModConvertDtypes::QuantityToText(fixedPercentage_));
  if (perItem_) {
    for (const auto& entry : *perItem_) {
      cxmlbldr.OpenAggregateOnly("PriceLevelPerItemRet");
      WriteListRef(entry->ItemRef().get(), cxmlbldr, "ItemRef");
      cxmlbldr.CreateElement(entry->CustomPriceIsPercent() ? "CustomPricePercent" : "CustomPrice",
                             ModConvertDtypes::PriceToText(entry->CustomPrice()));
      cxmlbldr.EndAggregate("PriceLevelPerItemRet");
    }
  }
  WriteRetUserData(cxmlbldr);
  return 0;
}

void PriceLevel::CheckRules(qcErrors& errors) { CheckName(errors); }

PriceLevels::PriceLevels()
    : TypedListCollection<PriceLevel>(kPriceLevelKind, &MakeListRecord<PriceLevel>) {}

}  // namespace brennock
