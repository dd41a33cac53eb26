#include "simulator/records/field_list.h"

#include <algorithm>

namespace brennock::simulator {

std::string_view FieldAt(const FieldList& fields, uint16_t index) {
  for (const auto& [i, v] : fields)
    if (i == index) return v;
  return {};
}

void SetFieldAt(FieldList& fields, uint16_t index, std::string value) {
  ClearFieldAt(fields, index);
  AddFieldAt(fields, index, std::move(value));
}

void AddFieldAt(FieldList& fields, uint16_t index, std::string value) {
  auto pos = std::upper_bound(fields.begin(), fields.end(), index,
                              [](uint16_t i, const auto& f) { return i < f.first; });
  fields.emplace(pos, index, std::move(value));
}

void ClearFieldAt(FieldList& fields, uint16_t index) {
  std::erase_if(fields, [index](const auto& f) { return f.first == index; });
}

// Layout per field: 2 bytes index, 4 bytes length (little endian), then the bytes.
std::string EncodeFields(const FieldList& fields) {
  size_t size = 0;
  for (const auto& f : fields) size += 6 + f.second.size();
  std::string blob;
  blob.reserve(size);
  for (const auto& [index, value] : fields) {
    uint32_t len = static_cast<uint32_t>(value.size());
    char head[6] = {static_cast<char>(index & 0xff),       static_cast<char>(index >> 8),
                    static_cast<char>(len & 0xff),         static_cast<char>((len >> 8) & 0xff),
                    static_cast<char>((len >> 16) & 0xff), static_cast<char>(len >> 24)};
    blob.append(head, 6);
    blob.append(value);
  }
  return blob;
}

bool DecodeFields(std::string_view blob, FieldList& fields) {
  fields.clear();
  size_t pos = 0;
  while (pos < blob.size()) {
    if (blob.size() - pos < 6) return false;
    auto byte = [&](size_t i) {
      return static_cast<uint32_t>(static_cast<unsigned char>(blob[pos + i]));
    };
    uint16_t index = static_cast<uint16_t>(byte(0) | (byte(1) << 8));
    uint32_t len = byte(2) | (byte(3) << 8) | (byte(4) << 16) | (byte(5) << 24);
    pos += 6;
    if (blob.size() - pos < len) return false;
    fields.emplace_back(index, std::string(blob.substr(pos, len)));
    pos += len;
  }
  return true;
}

}  // namespace brennock::simulator
