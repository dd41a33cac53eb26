#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "simulator/lists/list_types.h"

namespace brennock::simulator {

// One list record as stored: the columns QuickBooks computes or filters on, and the remaining
// fields of its Ret aggregate keyed by their position in the Ret shape (kept in that order).
// A reference field holds "ListID<US>FullName"; an aggregate field holds its rendered children.
struct ListRecord {
  int64_t row = 0;
  const ListType* type = nullptr;
  std::string list_id;
  std::string name;
  std::string full_name;
  std::string parent_id;
  int64_t sublevel = 0;
  bool active = true;
  std::string time_created;
  std::string time_modified;
  int64_t modified_utc = 0;
  std::string edit_sequence;
  int64_t balance = 0;        // hundredths
  int64_t total_balance = 0;  // hundredths, including sub-records
  std::string account_type;
  std::vector<std::pair<uint16_t, std::string>> fields;

  // The first stored value of a field, or empty.
  std::string_view Field(std::string_view name) const;
  void SetField(uint16_t index, std::string value);  // replaces every value of that field
  void AddField(uint16_t index, std::string value);  // appends (repeated fields)
  void ClearField(uint16_t index);
};

inline constexpr char kRefSeparator = '\x1f';

std::string EncodeFields(const std::vector<std::pair<uint16_t, std::string>>& fields);
// Returns false when the stored bytes are damaged.
bool DecodeFields(std::string_view blob, std::vector<std::pair<uint16_t, std::string>>& fields);

}  // namespace brennock::simulator
