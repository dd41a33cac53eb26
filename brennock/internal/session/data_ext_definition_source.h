#pragma once

#include <functional>
#include <span>

#include "brennock/enums/object_enums.h"

namespace brennock {

// The company's application-field definitions as the request builder needs them: for each
// definition, the object types it is assigned to. The company provides it once it has loaded its
// ApplicationFields (SessionState::applicationFieldDefinitions); until then queries ask only for
// the public custom fields.
class DataExtDefinitionSource {
 public:
  using AssignedTypes = std::span<const qoEnumListObjectType>;

  virtual ~DataExtDefinitionSource() = default;

  // Calls `matches` with the assigned types of each definition in collection order until it
  // returns true; returns whether one did.
  virtual bool AnyApplicationFieldDefinition(
      const std::function<bool(AssignedTypes assignedTos)>& matches) const = 0;
};

}  // namespace brennock
