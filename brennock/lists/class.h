#pragma once

#include "brennock/lists/hierarchical_list.h"

namespace brennock {

// A QuickBooks class (a department, a location, a line of business), possibly below another.
BRENNOCK_HIERARCHICAL_LIST(Class, Classes, qoObjectTypeClass);

}  // namespace brennock
