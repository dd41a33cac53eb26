// Where each row of a loaded report sits: its indentation and the path of section labels above it.
// QuickBooks sends the rows flat; sections show only as a text row that opens them and a
// subtotal or total row ("Total Income") that closes them.
#include <string>
#include <string_view>
#include <vector>

#include "brennock/internal/reports/report_xml.h"
#include "brennock/reports/report.h"

namespace brennock {

namespace {

constexpr size_t kMaxOpenSections = 31;

std::vector<std::string> SplitAtColons(const std::string& text) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t colon; (colon = text.find(':', start)) != std::string::npos; start = colon + 1)
    parts.push_back(text.substr(start, colon - start));
  parts.push_back(text.substr(start));
  return parts;
}

std::string FirstColumnText(const rptRow& row) { return AsciiUpper(row.ColumnList().FirstText()); }

// Whether text, upper-cased as AsciiUpper does, is upper: no copy for each of a large report's
// data rows.
bool UpperEquals(std::string_view text, std::string_view upper) {
  if (text.size() != upper.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != upper[i]) return false;
  }
  return true;
}

// Transaction lists: a data row's depth is the number of parts of its full name, a text row's
// the position of its label among the parts of the data row below it.
void IndentByRowNames(rptRows& rows) {
  std::vector<std::string> below;
  const auto& members = rows.NewEnum();
  for (auto at = members.rbegin(); at != members.rend(); ++at) {
    rptRow& row = **at;
    if (row.RowType() == qbRptRowTypeData) {
      below = SplitAtColons(row.RowDataValue());
      row.SetIndentLevel(static_cast<int16_t>(below.size()));
    } else if (row.RowType() == qbRptRowTypeText) {
      int16_t level = 0;
      for (size_t part = 0; part < below.size(); ++part)
        if (below[part] == row.Text()) {
          level = static_cast<int16_t>(part);
          break;
        }
      row.SetIndentLevel(level);
    }
  }
}

// Other reports: walked from the end, a closing row opens a section (its label is the text after
// "Total " or "Net "), and the text row carrying that label closes it again.
void IndentBySections(rptRows& rows) {
  std::vector<std::string> open;
  int depth = 0;
  auto openSection = [&](rptRow& row, std::string name) {
    row.SetIndentLevel(static_cast<int16_t>(depth));
    if (open.size() >= kMaxOpenSections) return;
    open.push_back(std::move(name));
    ++depth;
  };
  auto closeSection = [&] {
    open.pop_back();
    --depth;
  };
  const auto& members = rows.NewEnum();
  for (auto at = members.rbegin(); at != members.rend(); ++at) {
    rptRow& row = **at;
    const qbEnumRptRowType type = row.RowType();
    if (type == qbRptRowTypeText) {
      const std::string text = AsciiUpper(row.Text());
      if (!open.empty() && (text.starts_with(open.back()) ||
                            (text == "COST OF GOODS SOLD" && open.back() == "COGS")))
        closeSection();
      row.SetIndentLevel(static_cast<int16_t>(depth));
      continue;
    }
    if (row.ColumnList().Count() == 0) continue;
    if (type == qbRptRowTypeData) {
      if (!open.empty() && UpperEquals(row.ColumnList().FirstText(), open.back())) closeSection();
      row.SetIndentLevel(static_cast<int16_t>(depth));
      continue;
    }
    const std::string text = FirstColumnText(row);
    if (type == qbRptRowTypeSubtotal) {
      if (text.starts_with("TOTAL "))
        openSection(row, text.substr(6));
      else if (text.starts_with("NET "))
        openSection(row, text.substr(4));
      else if (text.starts_with("GROSS PROFIT"))
        row.SetIndentLevel(static_cast<int16_t>(depth - 1));
      else
        openSection(row, text);
    } else if (type == qbRptRowTypeTotal) {
      openSection(row, text.starts_with("TOTAL ") ? text.substr(6) : text);
    }
  }
}

std::string JoinPath(const std::vector<std::string>& path, size_t through) {
  std::string out;
  for (size_t i = 0; i <= through && i < path.size(); ++i) {
    if (i) out += ':';
    out += path[i];
  }
  return out;
}

void SetFullNames(rptRows& rows) {
  std::vector<std::string> path(1);
  size_t k = 0;
  // The labels above level k joined, with the colon that follows them: what every data row's
  // name starts with, changed only by text and closing rows.
  std::string above;
  for (const auto& member : rows.NewEnum()) {
    rptRow& row = *member;
    const qbEnumRptRowType type = row.RowType();
    if (type == qbRptRowTypeText) {
      path[k] = AsciiUpper(row.Text());
      row.SetFullName(JoinPath(path, k));
      above = row.FullName() + ':';
      ++k;
      path.emplace_back();
      continue;
    }
    if (row.ColumnList().Count() == 0) continue;
    if (type == qbRptRowTypeData) {
      const std::string_view label = row.ColumnList().FirstText();
      std::string name;
      name.reserve(above.size() + label.size());
      name.append(above).append(label);
      for (auto c = name.begin() + static_cast<std::ptrdiff_t>(above.size()); c != name.end(); ++c)
        if (*c >= 'a' && *c <= 'z') *c = static_cast<char>(*c - 'a' + 'A');
      row.SetFullName(std::move(name));
    } else if (type == qbRptRowTypeTotal || type == qbRptRowTypeSubtotal) {
      if (k == 0) return;
      --k;
      path.pop_back();
      row.SetFullName(JoinPath(path, k));
      above = k == 0 ? std::string() : JoinPath(path, k - 1) + ':';
    }
  }
}

bool ListsTransactionsByName(qbEnumReports report) {
  return report == qbReportCheckDetail || report == qbReportJournal ||
         report == qbReportTransactionListByCustomer || report == qbReportTransactionListByDate ||
         report == qbReportTransactionListByVendor || report == qbReportPayrollTransactionDetail;
}

}  // namespace

void SetReportHierarchy(qbEnumReports report, rptRows& rows) {
  if (ListsTransactionsByName(report))
    IndentByRowNames(rows);
  else
    IndentBySections(rows);
  SetFullNames(rows);
}

}  // namespace brennock
