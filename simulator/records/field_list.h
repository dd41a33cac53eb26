#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace brennock::simulator {

// The stored fields of a record (list record, transaction or transaction line), keyed by their
// position in the record's Ret shape and kept in that order; a repeated field appears once per
// value. A reference field holds "ListID<US>FullName"; an aggregate field its rendered children.
using FieldList = std::vector<std::pair<uint16_t, std::string>>;

inline constexpr char kRefSeparator = '\x1f';

// The ListID and the full name of a stored reference value.
inline std::string_view RefId(std::string_view stored) {
  return stored.substr(0, stored.find(kRefSeparator));
}
inline std::string_view RefName(std::string_view stored) {
  auto sep = stored.find(kRefSeparator);
  return sep == std::string_view::npos ? std::string_view() : stored.substr(sep + 1);
}

// The first value of the field at index, or empty.
std::string_view FieldAt(const FieldList& fields, uint16_t index);
void SetFieldAt(FieldList& fields, uint16_t index, std::string value);  // replaces every value
void AddFieldAt(FieldList& fields, uint16_t index, std::string value);  // appends (repeats)
void ClearFieldAt(FieldList& fields, uint16_t index);

std::string EncodeFields(const FieldList& fields);
// Returns false when the stored bytes are damaged.
bool DecodeFields(std::string_view blob, FieldList& fields);

}  // namespace brennock::simulator
