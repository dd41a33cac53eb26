#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace brennock::simulator {

// A report as QuickBooks lays it out, before it is written as ReportRet: the columns with their
// titles and kinds, and the rows in order. Row texts and cells are final text.
struct ReportColumn {
  std::string title;      // the title row's text (may be empty)
  std::string col_type;   // ColType: "Blank", "Label", "Amount", "Date" ...
  std::string data_type;  // "STRTYPE", "AMTTYPE", "QUANTYPE", "DATETYPE" ...
  std::string subtitle;   // a second title row (period columns of comparisons); empty: none
};

struct ReportRow {
  enum class Kind { kText, kData, kSubtotal, kTotal } kind = Kind::kData;
  std::string text;                                // a text row's value
  std::string row_type, row_value;                 // RowData; empty row_type: none
  std::vector<std::pair<int, std::string>> cells;  // colID (1-based), value
};

struct ReportTable {
  std::string title, subtitle, basis;
  std::vector<ReportColumn> columns;
  std::vector<ReportRow> rows;

  int AddColumn(std::string title, std::string col_type, std::string data_type) {
    columns.push_back({std::move(title), std::move(col_type), std::move(data_type), {}});
    return static_cast<int>(columns.size());
  }
  ReportRow& Text(std::string text) {
    rows.push_back({ReportRow::Kind::kText, std::move(text), {}, {}, {}});
    return rows.back();
  }
  ReportRow& Row(ReportRow::Kind kind, std::string row_type = {}, std::string row_value = {}) {
    rows.push_back({kind, {}, std::move(row_type), std::move(row_value), {}});
    return rows.back();
  }
};

// Appends <ReportRet> for the table, one element per line as QuickBooks writes responses.
void WriteReportRet(std::string& out, const ReportTable& table);

// Cents as QuickBooks writes amounts in reports: "1234.50", "-0.05".
std::string Money(int64_t cents);
// A quantity in hundred-thousandths as a report shows it ("35", "2.5").
std::string Units(int64_t scaled);

}  // namespace brennock::simulator
