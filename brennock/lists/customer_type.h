#pragma once

#include "brennock/lists/hierarchical_list.h"

namespace brennock {

// A QuickBooks customer type, possibly below another.
class CustomerType final : public HierarchicalListRecord {
 public:
  CustomerType();
};

class CustomerTypes final : public HierarchicalListCollection<CustomerType> {
 public:
  CustomerTypes();
};

}  // namespace brennock
