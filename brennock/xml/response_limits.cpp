#include "brennock/internal/xml/response_limits.h"

#include "brennock/internal/util/environment.h"

namespace brennock {

uint64_t MaxResponseDepth() { return EnvironmentCount("BRENNOCK_MAX_RESPONSE_DEPTH", 256); }

}  // namespace brennock
