#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "brennock/internal/model/binding.h"
#include "brennock/internal/model/record_base.h"
#include "brennock/internal/transactions/line_list.h"
#include "brennock/model/qc_list_object_ref.h"
#include "brennock/values/currency.h"

namespace brennock {

class qcErrors;

// One line of an inventory adjustment: an inventory part or assembly whose quantity on hand
// changes (units in or out at the average cost), or whose value changes. Setting the item takes
// a snapshot of its quantity on hand and average cost as the company's Items collection holds
// them; a value adjustment states the new quantity and value from that snapshot.
class invAdjLine : public RecordBase {
 public:
  const std::string& TxnLineId() const noexcept { return lineID_; }
  std::string Item() const { return item_.FullName(); }
  // An unknown item raises 2001; one that is neither an inventory part nor an assembly 2002.
  void SetItem(const std::string& value);
  float QuantityDifference() const noexcept { return quantityDifference_; }
  void SetQuantityDifference(float value) { Change(quantityDifference_, value); }
  Currency ValueDifference() const noexcept { return valueDifference_; }
  void SetValueDifference(Currency value) { Change(valueDifference_, value); }
  // The item as it was when it was set on the line.
  float QuantityOnHand() const noexcept { return quantityOnHand_; }
  float AverageCost() const noexcept { return averageCost_; }
  // Quantity on hand times average cost, in currency.
  Currency CurrentValue() const noexcept { return currentValue_; }
  // True when the line changes the item's value, not only its quantity: a value difference
  // that is not what the quantity difference costs at the average cost.
  bool IsValueAdjustment() const;
  qoEnumObjectState ObjectState() const noexcept { return state_; }
  std::shared_ptr<qcErrors> Errors() { return ErrorList(); }
  // 2001 on "Item" when the line names no item.
  bool Validate();

  // Library-internal.
  void FromDom(const FieldElement& element);
  // InventoryAdjustmentLineAdd (a QuantityAdjustment or a ValueAdjustment), or the Ret form.
  void WriteLine(RequestWriter& builder, BodyForm form) const;
  static const BindingTable<invAdjLine>& Bindings();

 private:
  template <class T, class V>
  void Change(T& member, V&& value) {
    member = std::forward<V>(value);
    if (state_ == qoObjectStateClean) state_ = qoObjectStateDirty;
  }

  std::string lineID_;
  qcListObjectRef item_{qoListItems, {}};
  Currency valueDifference_;
  Currency currentValue_;
  float quantityDifference_ = 0;
  float quantityOnHand_ = 0;
  float averageCost_ = 0;
};

// An adjustment's lines in order, numbered from 1.
inline constexpr char kInvAdjLinesName[] = "invAdjLines";
class invAdjLines : public LineList<invAdjLine, kInvAdjLinesName> {
 public:
  // A line for Item taking each value given through its setter.
  std::shared_ptr<invAdjLine> Add(const std::string& Item = {}, float QuantityDifference = 0,
                                  Currency ValueDifference = {});
};

}  // namespace brennock
