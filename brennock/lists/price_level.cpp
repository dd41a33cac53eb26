#include "brennock/lists/price_level.h"

namespace brennock {
namespace {

PriceLevel& Level(qcBase& record) { return static_cast<PriceLevel&>(record); }
const PriceLevel& Level(const qcBase& record) { return static_cast<const PriceLevel&>(record); }

}  // namespace

// An entry's price is either an amount or a percentage, and is written back as it came.
const BindingTable<levelPerItem>& levelPerItem::Bindings() {
  using Entry = levelPerItem;
  static constexpr std::array<Binding<Entry>, 3> kRows{{
      {"ItemRef", kInRet, [](Entry& e, const FieldElement& x) { e.itemRef_->FromDom(x); },
       [](const Entry& e, RequestWriter& b, std::string_view name, uint16_t, BodyForm) {
         WriteListRef(e.itemRef_.get(), b, name);
       }},
      {"CustomPrice", kInRet,
       [](Entry& e, const FieldElement& x) {
         codecs::Amount::Read(e.customPrice_, x);
         e.customPriceIsPercent_ = false;
       },
       [](const Entry& e, RequestWriter& b, std::string_view name, uint16_t f, BodyForm form) {
         if (!e.customPriceIsPercent_) codecs::Price::Write(e.customPrice_, b, name, f, form);
       }},
      {"CustomPricePercent", kInRet,
       [](Entry& e, const FieldElement& x) {
         codecs::Amount::Read(e.customPrice_, x);
         e.customPriceIsPercent_ = true;
       },
       [](const Entry& e, RequestWriter& b, std::string_view name, uint16_t f, BodyForm form) {
         if (e.customPriceIsPercent_) codecs::Price::Write(e.customPrice_, b, name, f, form);
       }},
  }};
  BRENNOCK_BINDING_TABLE(Entry);
  return kTable;
}

void levelPerItem::FromDom(const FieldElement& element) {
  Bindings().Read(*this, element);
  state_ = qoObjectStateClean;
}

void levelPerItem::WriteElements(RequestWriter& builder) const {
  Bindings().Write(*this, builder, BodyForm::kRet);
}

std::shared_ptr<levelPerItems> PriceLevel::PriceLevelsPerItem() {
  if (!perItem_) perItem_ = std::make_shared<levelPerItems>();
  return perItem_;
}

// A fixed percentage is written only for a level of that type.
const RecordBindings& PriceLevel::Bindings() {
  BRENNOCK_BINDINGS(
      qcBase, RetHeadRows(), NameRow("Name", kInRet), ActiveRow(kInRet),
      std::array<Binding<qcBase>, 3>{{
          Bind<&PriceLevel::priceLevelType_, codecs::Text>("PriceLevelType", kInRet | kSkipEmpty),
          {"PriceLevelFixedPercentage", kInRet,
           [](qcBase& r, const FieldElement& x) {
             codecs::Single::Read(Level(r).fixedPercentage_, x);
           },
           [](const qcBase& r, RequestWriter& b, std::string_view name, uint16_t f, BodyForm form) {
             if (Level(r).priceLevelType_ == "FixedPercentage")
               codecs::Single::Write(Level(r).fixedPercentage_, b, name, f, form);
           }},
          {"PriceLevelPerItemRet", kInRet,
           [](qcBase& r, const FieldElement& x) {
             auto entry = std::make_shared<levelPerItem>();
             entry->FromDom(x);
             Level(r).PriceLevelsPerItem()->Append(std::move(entry));
           },
           [](const qcBase& r, RequestWriter& b, std::string_view name, uint16_t, BodyForm) {
             if (!Level(r).perItem_) return;
             for (const auto& entry : *Level(r).perItem_) {
               b.OpenAggregateOnly(name);
               entry->WriteElements(b);
               b.EndAggregate(name);
             }
           }},
      }},
      UserDataRow());
}

}  // namespace brennock
