#pragma once

#include "brennock/lists/hierarchical_list.h"

namespace brennock {

// A QuickBooks job type, possibly below another.
class JobType final : public HierarchicalListRecord {
 public:
  JobType();
};

class JobTypes final : public HierarchicalListCollection<JobType> {
 public:
  JobTypes();
};

}  // namespace brennock
