#pragma once

#include "brennock/lists/named_list.h"

namespace brennock {

// A way of shipping goods ("UPS", "Federal Express").
class ShipMethod final : public NamedListRecord {
 public:
  ShipMethod();
};

class ShipMethods final : public NamedListCollection<ShipMethod> {
 public:
  ShipMethods();
};

}  // namespace brennock
