#pragma once

#include "brennock/values/convert_dtypes.h"
#include "brennock/values/currency.h"

namespace brennock {

// A condition for a SessionGated binding row: the session speaks qbXML Major.0 or later.
template <int Major>
bool SessionFromQbxml() {
  return SessionQbxmlVersion() >= Currency(Major);
}

}  // namespace brennock
