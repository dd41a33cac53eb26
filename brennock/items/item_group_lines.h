#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "brennock/internal/model/record_base.h"
#include "brennock/internal/util/slab_allocator.h"
#include "brennock/model/qc_list_object_ref.h"

namespace brennock {

class FieldElement;
class RequestWriter;

// One line of a group item, a sales-tax group or an assembly: an item and its quantity. Both are
// taken only while the line is new: QuickBooks keeps a saved item's lines.
class itemGroupLine : public RecordBase {
 public:
  qoEnumObjectState ObjectState() const noexcept { return state_; }
  std::shared_ptr<qcErrors> Errors() { return ErrorList(); }
  float Quantity() const noexcept { return quantity_; }
  std::shared_ptr<qcListObjectRef> ItemRef() const { return item_; }
  // Full name of the line's item.
  std::string Item() const { return item_->FullName(); }
  // 1002 "Field cannot be modified" (source "itemGroupLine") on a line that is not new.
  void SetQuantity(float value);
  void SetItem(const std::string& value);

  // Library-internal.
  std::string_view ItemName() const noexcept { return item_->FullNameView(); }
  void SetObjectState(qoEnumObjectState state) noexcept { state_ = state; }
  // A quantity the response implies (a sales-tax group's line counts once).
  void SetLoadedQuantity(float value) noexcept {
    quantity_ = value;
    state_ = qoObjectStateClean;
  }
  // Reads an ItemGroupLine or ItemInventoryAssemblyLine element; the line becomes Clean.
  void FromDom(const FieldElement& element);
  // <line><ItemRef or ItemInventoryRef/><Quantity/></line>, each part only when set: a group's
  // lines name any item, an assembly's components an inventory item.
  void Write(RequestWriter& builder, std::string_view line, bool component) const;

 private:
  friend class itemGroupLines;
  friend struct GroupLineRows;
  std::shared_ptr<qcListObjectRef> item_ = MakeSlabShared<qcListObjectRef>(qoListItems, "");
  float quantity_ = 0;
};

// The lines of one item, in the order they were added or read, numbered from 1.
class itemGroupLines {
 public:
  using const_iterator = std::vector<std::shared_ptr<itemGroupLine>>::const_iterator;

  // A new line for the item of that full name.
  std::shared_ptr<itemGroupLine> Add(float Quantity, const std::string& ItemRef);
  bool ItemExists(int32_t index) const noexcept { return index >= 1 && index <= Count(); }
  // 9 "Subscript out of range" outside 1..Count.
  std::shared_ptr<itemGroupLine> Item(int32_t index) const;
  int32_t Count() const noexcept { return static_cast<int32_t>(lines_.size()); }
  void Remove(int32_t index);
  // True when every line names an item.
  bool Validate() const;
  const_iterator begin() const noexcept { return lines_.begin(); }
  const_iterator end() const noexcept { return lines_.end(); }

  // Library-internal: a line read from a response; emptied before a record is read again.
  itemGroupLine& AppendLoaded();
  void Clear() noexcept {
    lines_.clear();
    changed_ = false;
  }
  // True when a line was added, removed or is not yet saved.
  bool Changed() const noexcept;
  void MarkSaved() noexcept { changed_ = false; }

 private:
  std::vector<std::shared_ptr<itemGroupLine>> lines_;
  bool changed_ = false;
};

}  // namespace brennock
