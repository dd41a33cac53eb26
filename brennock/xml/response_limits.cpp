#include "brennock/xml/response_limits.h"

#include <charconv>
#include <cstdlib>
#include <string_view>

namespace brennock {

uint64_t MaxResponseDepth() {
  constexpr uint64_t kDefault = 256;
  const char* text = std::getenv("BRENNOCK_MAX_RESPONSE_DEPTH");
  if (text == nullptr || *text == '\0') return kDefault;
  std::string_view digits(text);
  uint64_t value = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  return error == std::errc() && end == digits.data() + digits.size() && value > 0 ? value
                                                                                   : kDefault;
}

}  // namespace brennock
