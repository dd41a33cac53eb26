#pragma once

#include "brennock/lists/hierarchical_list.h"

namespace brennock {

// A QuickBooks vendor type, possibly below another.
class VendorType final : public HierarchicalListRecord {
 public:
  VendorType();
};

class VendorTypes final : public HierarchicalListCollection<VendorType> {
 public:
  VendorTypes();
};

}  // namespace brennock
