#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "brennock/enums/qc_enum_value.h"

namespace brennock {

// The plain table entry: code, description and optional qbXML tag as given.
class EnumValue : public qcEnumValue {
 public:
  EnumValue() = default;
  EnumValue(int16_t code, std::string description, std::string xmlTag = {});

  std::string XMLTag() const override { return xmlTag_; }
  int16_t Code() const override { return code_; }
  std::string Description() const override { return description_; }
  std::string CollectionKey() const override;

  // Internal to the library: entries are filled by the tables that own them.
  void SetXMLTag(std::string value) { xmlTag_ = std::move(value); }
  void SetCode(int16_t value) { code_ = value; }
  void SetDescription(std::string value) { description_ = std::move(value); }

 private:
  int16_t code_ = 0;
  std::string description_;
  std::string xmlTag_;
};

}  // namespace brennock
