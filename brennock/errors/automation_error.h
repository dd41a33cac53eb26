#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace brennock {

// The automation object-error base: every library error number is vbObjectError + n.
inline constexpr int32_t vbObjectError = static_cast<int32_t>(0x80040000u);

// A raised error, as an automation client sees it: a signed 32-bit number, the source that raised
// it and a description. what() gives a one-line summary with the number in hex.
class AutomationError : public std::runtime_error {
 public:
  AutomationError(int32_t number, std::string source, std::string description);

  int32_t Number() const noexcept { return number_; }
  const std::string& Source() const noexcept { return source_; }
  const std::string& Description() const noexcept { return description_; }

 private:
  int32_t number_;
  std::string source_;
  std::string description_;
};

}  // namespace brennock
