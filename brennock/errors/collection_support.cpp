#include "brennock/internal/errors/collection_support.h"

#include "brennock/errors/automation_error.h"
#include "brennock/internal/errors/runtime_errors.h"

namespace brennock {

void RaiseUnknownCollectionKey(const std::string& source) {
  RaiseRuntime(kInvalidArgumentNumber, source);
}

void RaiseCollectionPositionOutOfRange(const std::string& source) {
  RaiseRuntime(kSubscriptOutOfRangeNumber, source);
}

void RaiseDuplicateCollectionKey(const std::string& source) {
  RaiseRuntime(kDuplicateKeyNumber, source);
}

}  // namespace brennock
