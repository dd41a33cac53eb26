#pragma once

#include "brennock/lists/hierarchical_list.h"

namespace brennock {

// A QuickBooks job type, possibly below another.
BRENNOCK_HIERARCHICAL_LIST(JobType, JobTypes, qoObjectTypeJobType);

}  // namespace brennock
