#include "brennock/model/lists_registry.h"

#include <utility>

#include "brennock/internal/errors/collection_support.h"
#include "brennock/internal/errors/value_errors.h"

namespace brennock {

namespace {
constexpr const char* kSource = "Lists";
}  // namespace

void Lists::AddObject(std::shared_ptr<qcList> NewObject, const std::string& Key) {
  if (!NewObject) RaiseInvalidArgument();
  for (const std::string& k : keys_) {
    if (CollectionKeysEqual(k, Key)) RaiseDuplicateCollectionKey(kSource);
  }
  keys_.push_back(Key);
  lists_.push_back(std::move(NewObject));
}

std::shared_ptr<qcList> Lists::Item(int32_t index) const {
  if (index < 1 || index > Count()) RaiseCollectionPositionOutOfRange(kSource);
  return lists_[static_cast<size_t>(index - 1)];
}

std::shared_ptr<qcList> Lists::Item(std::string_view key) const {
  for (size_t i = 0; i < keys_.size(); ++i) {
    if (CollectionKeysEqual(keys_[i], key)) return lists_[i];
  }
  RaiseUnknownCollectionKey(kSource);
}

}  // namespace brennock
