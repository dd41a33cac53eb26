#pragma once

#include <cstdint>

#include "brennock/errors/automation_error.h"

namespace brennock {

// Error numbers a client is most likely to test qcError::Number against (signed 32-bit values).
enum qoEnumErrors : int32_t {
  qErrorValidateFailed = vbObjectError + 1011,   // 0x800403F3
  qErrorBadAccount = vbObjectError + 1014,       // 0x800403F6
  qErrorAccountRequired = vbObjectError + 1804,  // 0x8004070C
  qErrorNeedCustomer = vbObjectError + 1805,     // 0x8004070D
  qErrorNeedVendor = vbObjectError + 1806,       // 0x8004070E
};

}  // namespace brennock
