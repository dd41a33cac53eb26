#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "brennock/internal/model/list_record_core.h"
#include "brennock/internal/model/one_based_list.h"
#include "brennock/internal/model/typed_list_collection.h"
#include "brennock/values/currency.h"

namespace brennock {

// One custom price of a per-item price level: the item and its price (or percentage).
class levelPerItem {
 public:
  qoEnumObjectState ObjectState() const noexcept { return state_; }
  const Variant& UserData() const noexcept { return userData_; }
  void SetUserData(Variant value) { userData_ = std::move(value); }
  std::shared_ptr<qcListObjectRef> ItemRef() const { return itemRef_; }
  // Full name of the item.
  std::string Item() const { return itemRef_->FullName(); }
  Currency CustomPrice() const noexcept { return customPrice_; }
  // True when QuickBooks gave the custom price as a percentage (CustomPricePercent).
  bool CustomPriceIsPercent() const noexcept { return customPriceIsPercent_; }

  // Reads a PriceLevelPerItemRet element; the entry becomes Clean.
  void FromDom(const FieldElement& element);
  // Its elements in the query-result form.
  void WriteElements(RequestWriter& builder) const;

  static const BindingTable<levelPerItem>& Bindings();

 private:
  std::shared_ptr<qcListObjectRef> itemRef_ = std::make_shared<qcListObjectRef>(qoListItems, "");
  Currency customPrice_;
  Variant userData_;
  qoEnumObjectState state_ = qoObjectStateNew;
  bool customPriceIsPercent_ = false;
};

// The custom prices of a price level, 1-based.
inline constexpr char kLevelPerItemsName[] = "levelPerItems";
using levelPerItems = OneBasedList<levelPerItem, kLevelPerItemsName>;

// A price level: a fixed percentage over or under every price, or custom prices per item. Read
// only: QuickBooks keeps the list.
class PriceLevel final : public ListRecordCore {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypePriceLevel;
  PriceLevel() : ListRecordCore(RegisteredKind<kObjectType>()) {}

  // "FixedPercentage" or "PerItem", as received.
  const std::string& PriceLevelType() const noexcept { return priceLevelType_; }
  float PriceLevelFixedPercentage() const noexcept { return fixedPercentage_; }
  std::shared_ptr<levelPerItems> PriceLevelsPerItem();

  static const RecordBindings& Bindings();

 private:
  std::string priceLevelType_;
  std::shared_ptr<levelPerItems> perItem_;  // created on first use
  float fixedPercentage_ = 0;
};

// Queries only.
class PriceLevels final : public TypedListCollection<PriceLevel> {};

}  // namespace brennock
