#pragma once

#include "brennock/lists/named_list.h"

namespace brennock {

// A way customers pay ("Cash", "Check", "Visa").
BRENNOCK_NAMED_LIST(PaymentMethod, PaymentMethods, qoObjectTypePaymentMethod, );

}  // namespace brennock
