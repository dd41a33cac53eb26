#pragma once

#include "brennock/lists/hierarchical_list.h"

namespace brennock {

// A QuickBooks vendor type, possibly below another.
BRENNOCK_HIERARCHICAL_LIST(VendorType, VendorTypes, qoObjectTypeVendorType);

}  // namespace brennock
