#pragma once

#include <memory>

#include "brennock/enums/object_enums.h"

namespace brennock {

class CollectionCore;

// The master collection of a record kind in the company of this thread's session; null when no
// company is open, the kind has no collection, or no lookup is registered. The company layer
// registers the lookup when the program starts (a vendor files its prepared bill payment in the
// company's bill payments through it).
std::shared_ptr<CollectionCore> MasterCollection(qoEnumListObjectType objectType);

using MasterCollectionLookup = std::shared_ptr<CollectionCore> (*)(qoEnumListObjectType);
void RegisterMasterCollectionLookup(MasterCollectionLookup lookup) noexcept;

}  // namespace brennock
