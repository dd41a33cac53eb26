#include "simulator/lists/list_record.h"

namespace brennock::simulator {

std::string_view ListRecord::Field(std::string_view name) const {
  int index = type ? type->field_index(name) : -1;
  if (index < 0) return {};
  for (const auto& [i, v] : fields)
    if (i == index) return v;
  return {};
}

void ListRecord::SetField(uint16_t index, std::string value) {
  SetFieldAt(fields, index, std::move(value));
}

void ListRecord::AddField(uint16_t index, std::string value) {
  AddFieldAt(fields, index, std::move(value));
}

void ListRecord::ClearField(uint16_t index) { ClearFieldAt(fields, index); }

}  // namespace brennock::simulator
