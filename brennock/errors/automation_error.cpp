#include "brennock/errors/automation_error.h"

#include <cstdio>

namespace brennock {
namespace {

std::string Summary(int32_t number, const std::string& source, const std::string& description) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%08X", static_cast<uint32_t>(number));
  std::string text = "error ";
  text += hex;
  if (!source.empty()) text += " (" + source + ")";
  if (!description.empty()) text += ": " + description;
  return text;
}

}  // namespace

AutomationError::AutomationError(int32_t number, std::string source, std::string description)
    : std::runtime_error(Summary(number, source, description)),
      number_(number),
      source_(std::move(source)),
      description_(std::move(description)) {}

}  // namespace brennock
