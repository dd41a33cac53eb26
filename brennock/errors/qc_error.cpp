#include "brennock/errors/qc_error.h"

#include <charconv>

namespace brennock {

qcError::qcError(int32_t number, std::string field, std::string description, std::string key)
    : key_(std::move(key)), field_(std::move(field)), description_(std::move(description)) {
  SetNumber(number);
}

void qcError::SetNumber(int32_t number) {
  char text[16];
  auto [end, ec] = std::to_chars(text, text + sizeof text, number);
  (void)ec;  // sixteen characters always hold a 32-bit integer
  number_.assign(text, end);
}

int32_t qcError::Number() const noexcept {
  int32_t number = 0;
  std::from_chars(number_.data(), number_.data() + number_.size(), number);
  return number;
}

}  // namespace brennock
