#pragma once

#include <cstdint>
#include <string>

namespace brennock {

// One entry of an error list: what went wrong (Number, Description) and where (Field).
// Clients only read entries; the setters are for the library, which fills entries as it validates
// records and files QuickBooks answers.
class qcError {
 public:
  qcError() = default;
  // Library-internal: a filled entry in one step.
  qcError(int32_t number, std::string field, std::string description, std::string key = {});

  const std::string& Key() const noexcept { return key_; }
  // The number is kept as its decimal text and converted back on every read, so negative
  // automation numbers (vbObjectError + n) read back unchanged. A new entry reads 0.
  int32_t Number() const noexcept;
  const std::string& Field() const noexcept { return field_; }
  const std::string& Description() const noexcept { return description_; }
  // The key under which qcErrors::AddObject files the entry.
  const std::string& CollectionKey() const noexcept { return key_; }

  // Library-internal setters (not part of the client interface).
  void SetKey(std::string key) { key_ = std::move(key); }
  void SetNumber(int32_t number);
  void SetField(std::string field) { field_ = std::move(field); }
  void SetDescription(std::string description) { description_ = std::move(description); }

 private:
  std::string key_;
  std::string number_ = "0";
  std::string field_;
  std::string description_;
};

}  // namespace brennock
