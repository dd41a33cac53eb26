#pragma once

#include <cstdint>

namespace brennock {

// A positive whole number from the environment variable, else fallback (also for text that is
// not one). Limits and test hooks read their settings through it.
uint64_t EnvironmentCount(const char* name, uint64_t fallback);

}  // namespace brennock
