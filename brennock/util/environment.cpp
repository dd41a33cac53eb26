#include "brennock/internal/util/environment.h"

#include <charconv>
#include <cstdlib>
#include <string_view>

namespace brennock {

uint64_t EnvironmentCount(const char* name, uint64_t fallback) {
  const char* text = std::getenv(name);
  if (text == nullptr || *text == '\0') return fallback;
  std::string_view digits(text);
  uint64_t value = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  return error == std::errc() && end == digits.data() + digits.size() && value > 0 ? value
                                                                                   : fallback;
}

}  // namespace brennock
