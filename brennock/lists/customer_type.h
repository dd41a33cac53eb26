#pragma once

#include "brennock/lists/hierarchical_list.h"

namespace brennock {

// A QuickBooks customer type, possibly below another.
BRENNOCK_HIERARCHICAL_LIST(CustomerType, CustomerTypes, qoObjectTypeCustomerType);

}  // namespace brennock
