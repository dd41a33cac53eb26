#pragma once

#include <cstdint>

namespace brennock {

// How deeply a response may nest its elements before the library refuses it: 256 by default,
// BRENNOCK_MAX_RESPONSE_DEPTH (a positive whole number) when set. Read once per call.
uint64_t MaxResponseDepth();

}  // namespace brennock
