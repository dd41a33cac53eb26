#pragma once

#include <cstdint>
#include <vector>

#include "brennock/enums/object_enums.h"

namespace brennock {

class DataExtensionDefinition;

// The object types one data-extension definition is assigned to, in the order they were added.
// It belongs to its definition: a saved (clean) definition refuses changes with 1002 "Field cannot
// be modified" (source "DataExtDef"); a change to a new or dirty one marks the definition dirty,
// and its next modify request names the types added and removed since it was read.
class dataExtAssignedTos {
 public:
  using const_iterator = std::vector<qoEnumListObjectType>::const_iterator;

  // A list without a definition (or whose definition is gone) accepts every change.
  explicit dataExtAssignedTos(DataExtensionDefinition* owner = nullptr) noexcept : owner_(owner) {}
  dataExtAssignedTos(const dataExtAssignedTos&) = delete;
  dataExtAssignedTos& operator=(const dataExtAssignedTos&) = delete;

  // Appends the type; a type already in the list is not added twice. An object type the
  // enumeration tables do not know raises 1003 "Unknown Code".
  void Add(qoEnumListObjectType ObjectType);
  // 1-based position; 9 "Subscript out of range" outside 1..Count.
  qoEnumListObjectType Item(int32_t index) const;
  int32_t Count() const noexcept { return static_cast<int32_t>(types_.size()); }
  void Remove(int32_t index);
  void Clear();
  // The state of the owning definition (new for a list without one).
  qoEnumObjectState ObjectState() const noexcept;

  const_iterator begin() const noexcept { return types_.begin(); }
  const_iterator end() const noexcept { return types_.end(); }

  // Library-internal.
  bool Contains(qoEnumListObjectType type) const noexcept;
  const std::vector<qoEnumListObjectType>& Types() const noexcept { return types_; }
  // The types of a definition as read or saved: no guard, no change of state.
  void Replace(std::vector<qoEnumListObjectType> types) noexcept { types_ = std::move(types); }
  // Called by the definition as it goes away.
  void Detach() noexcept { owner_ = nullptr; }

 private:
  // The guard run before every change.
  void RequireChangeable() const;
  void Changed() const noexcept;

  DataExtensionDefinition* owner_;
  std::vector<qoEnumListObjectType> types_;
};

}  // namespace brennock
