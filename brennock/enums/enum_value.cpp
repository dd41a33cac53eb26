#include "brennock/enums/enum_value.h"

#include <utility>

namespace brennock {

std::string RemoveBlanks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c != ' ') out.push_back(c);
  }
  return out;
}

EnumValue::EnumValue(int16_t code, std::string description, std::string xmlTag)
    : code_(code), description_(std::move(description)), xmlTag_(std::move(xmlTag)) {}

std::string EnumValue::CollectionKey() const { return RemoveBlanks(description_); }

}  // namespace brennock
