#include "simulator/transactions/txn_record.h"

#include <charconv>

namespace brennock::simulator {
namespace {

// Pseudo field indexes of a stored line, above any shape's size.
constexpr uint16_t kElement = 0xFFFF;
constexpr uint16_t kLineId = 0xFFFE;
constexpr uint16_t kMember = 0xFFFD;
constexpr uint16_t kLinkTxn = 0xFFFC;
constexpr uint16_t kLinkLine = 0xFFFB;

std::string EncodeLine(const TxnLine& line) {
  FieldList stored;
  stored.reserve(line.fields.size() + 2 + line.members.size());
  stored.emplace_back(kElement, std::to_string(line.element));
  stored.emplace_back(kLineId, line.line_id);
  stored.insert(stored.end(), line.fields.begin(), line.fields.end());
  for (const auto& m : line.members) stored.emplace_back(kMember, EncodeLine(m));
  if (!line.link_txn.empty()) {
    stored.emplace_back(kLinkTxn, line.link_txn);
    stored.emplace_back(kLinkLine, line.link_line);
  }
  return EncodeFields(stored);
}

bool DecodeLine(std::string_view blob, TxnLine& line) {
  FieldList stored;
  if (!DecodeFields(blob, stored)) return false;
  for (auto& [index, value] : stored) {
    if (index == kElement) {
      unsigned element = 0;
      auto r = std::from_chars(value.data(), value.data() + value.size(), element);
      if (r.ec != std::errc() || element > 0xFFFF) return false;
      line.element = static_cast<uint16_t>(element);
    } else if (index == kLineId) {
      line.line_id = std::move(value);
    } else if (index == kMember) {
      if (!DecodeLine(value, line.members.emplace_back())) return false;
    } else if (index == kLinkTxn) {
      line.link_txn = std::move(value);
    } else if (index == kLinkLine) {
      line.link_line = std::move(value);
    } else {
      line.fields.emplace_back(index, std::move(value));
    }
  }
  return true;
}

}  // namespace

std::string_view TxnRecord::Field(std::string_view name) const {
  int index = Index(name);
  return index < 0 ? std::string_view() : FieldAt(fields, static_cast<uint16_t>(index));
}

void TxnRecord::SetField(std::string_view name, std::string value) {
  int index = Index(name);
  if (index >= 0) SetFieldAt(fields, static_cast<uint16_t>(index), std::move(value));
}

void TxnRecord::ClearField(std::string_view name) {
  int index = Index(name);
  if (index >= 0) ClearFieldAt(fields, static_cast<uint16_t>(index));
}

int LineIndex(const qbxml::Aggregate& shape, std::string_view name) {
  for (size_t i = 0; i < shape.elements.size(); ++i)
    if (shape.elements[i].name == name) return static_cast<int>(i);
  return -1;
}

std::string_view LineField(const TxnLine& line, const qbxml::Aggregate& shape,
                           std::string_view name) {
  int index = LineIndex(shape, name);
  return index < 0 ? std::string_view() : FieldAt(line.fields, static_cast<uint16_t>(index));
}

void SetLineField(TxnLine& line, const qbxml::Aggregate& shape, std::string_view name,
                  std::string value) {
  int index = LineIndex(shape, name);
  if (index >= 0) SetFieldAt(line.fields, static_cast<uint16_t>(index), std::move(value));
}

void ClearLineField(TxnLine& line, const qbxml::Aggregate& shape, std::string_view name) {
  int index = LineIndex(shape, name);
  if (index >= 0) ClearFieldAt(line.fields, static_cast<uint16_t>(index));
}

std::string EncodeLines(const std::vector<TxnLine>& lines) {
  FieldList stored;
  stored.reserve(lines.size());
  for (const auto& line : lines) stored.emplace_back(line.element, EncodeLine(line));
  return EncodeFields(stored);
}

bool DecodeLines(std::string_view blob, std::vector<TxnLine>& lines) {
  FieldList stored;
  if (!DecodeFields(blob, stored)) return false;
  lines.clear();
  lines.reserve(stored.size());
  for (const auto& [index, value] : stored)
    if (!DecodeLine(value, lines.emplace_back())) return false;
  return true;
}

}  // namespace brennock::simulator
