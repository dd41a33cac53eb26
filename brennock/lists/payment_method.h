#pragma once

#include "brennock/lists/named_list.h"

namespace brennock {

// A way customers pay ("Cash", "Check", "Visa").
class PaymentMethod final : public NamedListRecord {
 public:
  PaymentMethod();
};

class PaymentMethods final : public NamedListCollection<PaymentMethod> {
 public:
  PaymentMethods();
};

}  // namespace brennock
