#include "brennock/internal/model/master_collection.h"

namespace brennock {
namespace {

MasterCollectionLookup registeredLookup = nullptr;

}  // namespace

void RegisterMasterCollectionLookup(MasterCollectionLookup lookup) noexcept {
  registeredLookup = lookup;
}

std::shared_ptr<CollectionCore> MasterCollection(qoEnumListObjectType objectType) {
  return registeredLookup ? registeredLookup(objectType) : nullptr;
}

}  // namespace brennock
