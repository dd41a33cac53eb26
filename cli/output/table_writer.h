#pragma once

#include <string>
#include <vector>

#include "cli/output/row_writer.h"

namespace brennock::cli {

// A plain text table for people: columns sized by the first kSizingRows rows (held until then),
// then rows written as they come, so a listing looks the same however it was paged. Widths are
// capped so one long value does not push every other column off the screen; such a value is still
// written in full. Control characters inside values are shown as \n, \r and \t.
class TableWriter final : public RowWriter {
 public:
  static constexpr size_t kMaxColumnWidth = 40;
  static constexpr size_t kSizingRows = 500;

  void Begin(const std::vector<std::string>& columns) override;
  void Row(const std::vector<std::string>& values) override;
  void End() override;
  std::string Take() override;

 private:
  void Size();
  void Write(const std::vector<std::string>& cells);

  std::vector<std::string> columns_;
  std::vector<std::vector<std::string>> held_;
  std::vector<size_t> widths_;
  bool sized_ = false;
};

// Display width of UTF-8 text, one per character.
size_t DisplayWidth(std::string_view text) noexcept;

}  // namespace brennock::cli
