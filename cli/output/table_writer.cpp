#include "cli/output/table_writer.h"

#include <algorithm>

#include "brennock/internal/util/text.h"

namespace brennock::cli {
namespace {

std::string Visible(std::string_view value) {
  std::string cell;
  cell.reserve(value.size());
  for (char c : value) {
    switch (c) {
      case '\n':
        cell += "\\n";
        break;
      case '\r':
        cell += "\\r";
        break;
      case '\t':
        cell += "\\t";
        break;
      default:
        cell += c;
    }
  }
  return cell;
}

}  // namespace

size_t DisplayWidth(std::string_view text) noexcept { return Utf8Length(text); }

void TableWriter::Begin(const std::vector<std::string>& columns) { columns_ = columns; }

void TableWriter::Row(const std::vector<std::string>& values) {
  std::vector<std::string> cells;
  cells.reserve(values.size());
  for (const auto& value : values) cells.push_back(Visible(value));
  if (sized_) {
    Write(cells);
    return;
  }
  held_.push_back(std::move(cells));
  if (held_.size() >= kSizingRows) Size();
}

void TableWriter::End() {
  if (!sized_) Size();
}

std::string TableWriter::Take() {
  // Until the sizing rows are in, nothing is ready; End sizes a shorter table.
  return sized_ ? RowWriter::Take() : std::string();
}

void TableWriter::Size() {
  sized_ = true;
  widths_.assign(columns_.size(), 0);
  auto measure = [this](const std::vector<std::string>& cells) {
    for (size_t i = 0; i < cells.size() && i < widths_.size(); ++i)
      widths_[i] = std::max(widths_[i], std::min(DisplayWidth(cells[i]), kMaxColumnWidth));
  };
  measure(columns_);
  for (const auto& cells : held_) measure(cells);
  Write(columns_);
  std::vector<std::string> rule;
  for (size_t width : widths_) rule.emplace_back(width, '-');
  Write(rule);
  for (const auto& cells : held_) Write(cells);
  held_.clear();
  held_.shrink_to_fit();
}

void TableWriter::Write(const std::vector<std::string>& cells) {
  size_t lineStart = out_.size();
  for (size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) out_ += "  ";
    out_ += cells[i];
    if (i + 1 < cells.size() && i < widths_.size()) {
      size_t width = DisplayWidth(cells[i]);
      if (width < widths_[i]) out_.append(widths_[i] - width, ' ');
    }
  }
  // No trailing blanks from empty last cells.
  while (out_.size() > lineStart && out_.back() == ' ') out_.pop_back();
  out_ += '\n';
}

}  // namespace brennock::cli
