#pragma once

#include "brennock/lists/named_list.h"

namespace brennock {

// A way of shipping goods ("UPS", "Federal Express").
BRENNOCK_NAMED_LIST(ShipMethod, ShipMethods, qoObjectTypeShipMethod, );

}  // namespace brennock
