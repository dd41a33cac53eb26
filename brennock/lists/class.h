#pragma once

#include "brennock/lists/hierarchical_list.h"

namespace brennock {

// A QuickBooks class (a department, a location, a line of business), possibly below another.
class Class final : public HierarchicalListRecord {
 public:
  Class();
};

class Classes final : public HierarchicalListCollection<Class> {
 public:
  Classes();
};

}  // namespace brennock
