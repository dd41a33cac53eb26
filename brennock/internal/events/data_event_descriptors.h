#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "brennock/enums/object_enums.h"

namespace brennock {

class RequestWriter;

// Which changes of one list or transaction kind a data event subscription asks for.
class dataEventDescriptor {
 public:
  qoEnumListObjectType ObjectType() const noexcept { return objectType_; }
  void SetObjectType(qoEnumListObjectType value) noexcept { objectType_ = value; }
  bool TrackAdd() const noexcept { return trackAdd_; }
  void SetTrackAdd(bool value) noexcept { trackAdd_ = value; }
  bool TrackModify() const noexcept { return trackModify_; }
  void SetTrackModify(bool value) noexcept { trackModify_ = value; }
  bool TrackDelete() const noexcept { return trackDelete_; }
  void SetTrackDelete(bool value) noexcept { trackDelete_ = value; }
  // Merges of list records (QuickBooks merges no transactions).
  bool TrackMerge() const noexcept { return trackMerge_; }
  void SetTrackMerge(bool value) noexcept { trackMerge_ = value; }

  // "Txn" for the transaction kinds QuickBooks raises transaction events for, "List" otherwise.
  std::string_view Family() const noexcept;
  // One ListEventSubscription (or TxnEventSubscription) per operation tracked: Add, Delete,
  // Modify, then Merge for lists.
  void ToXML(RequestWriter& bldr) const;

 private:
  qoEnumListObjectType objectType_ = static_cast<qoEnumListObjectType>(0);
  bool trackAdd_ = false;
  bool trackModify_ = false;
  bool trackDelete_ = false;
  bool trackMerge_ = false;
};

// The descriptors of a data event subscription, 1-based, in the order they were added.
class dataEventDescriptors {
 public:
  using Members = std::vector<std::shared_ptr<dataEventDescriptor>>;
  using const_iterator = Members::const_iterator;

  std::shared_ptr<dataEventDescriptor> Add(qoEnumListObjectType ObjectType, bool TrackAdd = true,
                                           bool TrackModify = true, bool TrackDelete = true,
                                           bool TrackMerge = false);
  // 9 "Subscript out of range" outside 1..Count.
  std::shared_ptr<dataEventDescriptor> Item(int32_t index) const;
  int32_t Count() const noexcept { return static_cast<int32_t>(descriptors_.size()); }
  // A snapshot of the members, safe to walk while the list changes.
  Members NewEnum() const { return descriptors_; }
  void Clear() noexcept { descriptors_.clear(); }
  void Remove(int32_t index);
  const_iterator begin() const noexcept { return descriptors_.begin(); }
  const_iterator end() const noexcept { return descriptors_.end(); }

 private:
  Members descriptors_;
};

// Whether QuickBooks reports changes of this object type as transaction events.
bool IsTxnEventObjectType(qoEnumListObjectType type) noexcept;

}  // namespace brennock
