// Where each row of a loaded report sits: its indentation and the path of section labels above it.
// QuickBooks sends the rows flat; sections show only as a text row that opens them and a
// subtotal or total row ("Total Income") that closes them.
#include <string>
#include <string_view>
#include <vector>

#include "brennock/internal/reports/report_rows_core.h"
#include "brennock/internal/reports/report_xml.h"
#include "brennock/reports/report.h"

namespace brennock {

namespace {

constexpr size_t kMaxOpenSections = 31;

// Row objects, as the passes below read and set rows (the compact rows of a loaded report offer
// the same).
class ObjectRows {
 public:
  explicit ObjectRows(const std::vector<std::shared_ptr<rptRow>>& rows) : rows_(rows) {}
  size_t Size() const noexcept { return rows_.size(); }
  qbEnumRptRowType Type(size_t i) const noexcept { return rows_[i]->RowType(); }
  std::string_view Text(size_t i) const noexcept { return rows_[i]->Text(); }
  std::string_view RowDataValue(size_t i) const noexcept { return rows_[i]->RowDataValue(); }
  size_t CellCount(size_t i) const noexcept {
    return static_cast<size_t>(rows_[i]->ColumnList().Count());
  }
  std::string_view FirstText(size_t i) const { return rows_[i]->ColumnList().FirstText(); }
  void SetIndentLevel(size_t i, int16_t level) noexcept { rows_[i]->SetIndentLevel(level); }
  void SetFullName(size_t i, std::string name) { rows_[i]->SetFullName(std::move(name)); }
  void SetAbove(std::string above) { above_ = std::move(above); }
  void SetLabelledName(size_t i) {
    const std::string_view label = FirstText(i);
    std::string name;
    name.reserve(above_.size() + label.size());
    name.append(above_).append(label);
    for (auto c = name.begin() + static_cast<std::ptrdiff_t>(above_.size()); c != name.end(); ++c)
      if (*c >= 'a' && *c <= 'z') *c = static_cast<char>(*c - 'a' + 'A');
    rows_[i]->SetFullName(std::move(name));
  }

 private:
  const std::vector<std::shared_ptr<rptRow>>& rows_;
  std::string above_;
};

std::vector<std::string_view> SplitAtColons(std::string_view text) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  for (size_t colon; (colon = text.find(':', start)) != std::string_view::npos; start = colon + 1)
    parts.push_back(text.substr(start, colon - start));
  parts.push_back(text.substr(start));
  return parts;
}

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
template <class Rows>
void IndentByRowNames(Rows& rows) {
  std::vector<std::string_view> below;
  for (size_t i = rows.Size(); i-- > 0;) {
    const qbEnumRptRowType type = rows.Type(i);
    if (type == qbRptRowTypeData) {
      below = SplitAtColons(rows.RowDataValue(i));
      rows.SetIndentLevel(i, static_cast<int16_t>(below.size()));
    } else if (type == qbRptRowTypeText) {
      int16_t level = 0;
      for (size_t part = 0; part < below.size(); ++part)
        if (below[part] == rows.Text(i)) {
          level = static_cast<int16_t>(part);
          break;
        }
      rows.SetIndentLevel(i, level);
    }
  }
}

// Other reports: walked from the end, a closing row opens a section (its label is the text after
// "Total " or "Net "), and the text row carrying that label closes it again.
template <class Rows>
void IndentBySections(Rows& rows) {
  std::vector<std::string> open;
  int depth = 0;
  auto openSection = [&](size_t i, std::string name) {
    rows.SetIndentLevel(i, static_cast<int16_t>(depth));
    if (open.size() >= kMaxOpenSections) return;
    open.push_back(std::move(name));
    ++depth;
  };
  auto closeSection = [&] {
    open.pop_back();
    --depth;
  };
  for (size_t i = rows.Size(); i-- > 0;) {
    const qbEnumRptRowType type = rows.Type(i);
    if (type == qbRptRowTypeText) {
      const std::string text = AsciiUpper(rows.Text(i));
      if (!open.empty() && (text.starts_with(open.back()) ||
                            (text == "COST OF GOODS SOLD" && open.back() == "COGS")))
        closeSection();
      rows.SetIndentLevel(i, static_cast<int16_t>(depth));
      continue;
    }
    if (rows.CellCount(i) == 0) continue;
    if (type == qbRptRowTypeData) {
      if (!open.empty() && UpperEquals(rows.FirstText(i), open.back())) closeSection();
      rows.SetIndentLevel(i, static_cast<int16_t>(depth));
      continue;
    }
    const std::string text = AsciiUpper(rows.FirstText(i));
    if (type == qbRptRowTypeSubtotal) {
      if (text.starts_with("TOTAL "))
        openSection(i, text.substr(6));
      else if (text.starts_with("NET "))
        openSection(i, text.substr(4));
      else if (text.starts_with("GROSS PROFIT"))
        rows.SetIndentLevel(i, static_cast<int16_t>(depth - 1));
      else
        openSection(i, text);
    } else if (type == qbRptRowTypeTotal) {
      openSection(i, text.starts_with("TOTAL ") ? text.substr(6) : text);
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

template <class Rows>
void SetFullNames(Rows& rows) {
  std::vector<std::string> path(1);
  size_t k = 0;
  // The labels above level k joined, with the colon that follows them: what every data row's
  // name starts with, changed only by text and closing rows.
  rows.SetAbove(std::string());
  for (size_t i = 0, n = rows.Size(); i < n; ++i) {
    const qbEnumRptRowType type = rows.Type(i);
    if (type == qbRptRowTypeText) {
      path[k] = AsciiUpper(rows.Text(i));
      std::string name = JoinPath(path, k);
      rows.SetAbove(name + ':');
      rows.SetFullName(i, std::move(name));
      ++k;
      path.emplace_back();
      continue;
    }
    if (rows.CellCount(i) == 0) continue;
    if (type == qbRptRowTypeData) {
      rows.SetLabelledName(i);
    } else if (type == qbRptRowTypeTotal || type == qbRptRowTypeSubtotal) {
      if (k == 0) return;
      --k;
      path.pop_back();
      rows.SetFullName(i, JoinPath(path, k));
      rows.SetAbove(k == 0 ? std::string() : JoinPath(path, k - 1) + ':');
    }
  }
}

bool ListsTransactionsByName(qbEnumReports report) {
  return report == qbReportCheckDetail || report == qbReportJournal ||
         report == qbReportTransactionListByCustomer || report == qbReportTransactionListByDate ||
         report == qbReportTransactionListByVendor || report == qbReportPayrollTransactionDetail;
}

template <class Rows>
void SetHierarchy(qbEnumReports report, Rows& rows) {
  if (ListsTransactionsByName(report))
    IndentByRowNames(rows);
  else
    IndentBySections(rows);
  SetFullNames(rows);
}

}  // namespace

void SetReportHierarchy(qbEnumReports report, rptRows& rows) {
  if (detail::LoadedRows* loaded = rows.Loaded()) {
    SetHierarchy(report, *loaded);
    return;
  }
  ObjectRows objects(rows.NewEnum());
  SetHierarchy(report, objects);
}

}  // namespace brennock
