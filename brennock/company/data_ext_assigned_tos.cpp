#include "brennock/company/data_ext_assigned_tos.h"

#include <algorithm>

#include "brennock/company/data_extension_definitions.h"
#include "brennock/enums/enumerations.h"
#include "brennock/internal/errors/collection_support.h"
#include "brennock/internal/errors/raise.h"

namespace brennock {

qoEnumObjectState dataExtAssignedTos::ObjectState() const noexcept {
  return owner_ ? owner_->ObjectState() : qoObjectStateNew;
}

bool dataExtAssignedTos::Contains(qoEnumListObjectType type) const noexcept {
  return std::find(types_.begin(), types_.end(), type) != types_.end();
}

void dataExtAssignedTos::RequireChangeable() const {
  // A saved definition changes through a modify request, which is only written for a dirty one.
  if (ObjectState() == qoObjectStateClean) RaiseError(errFieldNotModifiable, "DataExtDef");
}

void dataExtAssignedTos::Changed() const noexcept {
  if (owner_) owner_->Changed();
}

void dataExtAssignedTos::Add(qoEnumListObjectType ObjectType) {
  RequireChangeable();
  // Checked here so that a request never carries an empty AssignToObject.
  EnumCodeToText(qoeObjectType, static_cast<int16_t>(ObjectType));
  if (Contains(ObjectType)) return;
  types_.push_back(ObjectType);
  Changed();
}

qoEnumListObjectType dataExtAssignedTos::Item(int32_t index) const {
  if (index < 1 || index > Count()) RaiseCollectionPositionOutOfRange("dataExtAssignedTos");
  return types_[static_cast<size_t>(index - 1)];
}

void dataExtAssignedTos::Remove(int32_t index) {
  RequireChangeable();
  if (index < 1 || index > Count()) RaiseCollectionPositionOutOfRange("dataExtAssignedTos");
  types_.erase(types_.begin() + (index - 1));
  Changed();
}

void dataExtAssignedTos::Clear() {
  RequireChangeable();
  if (types_.empty()) return;
  types_.clear();
  Changed();
}

}  // namespace brennock
