#include "brennock/errors/collection_support.h"

#include "brennock/errors/automation_error.h"

namespace brennock {

void RaiseUnknownCollectionKey(const std::string& source) {
  throw AutomationError(5, source, "Invalid procedure call or argument");
}

void RaiseCollectionPositionOutOfRange(const std::string& source) {
  throw AutomationError(9, source, "Subscript out of range");
}

void RaiseDuplicateCollectionKey(const std::string& source) {
  throw AutomationError(457, source,
                        "This key is already associated with an element of this collection");
}

}  // namespace brennock
