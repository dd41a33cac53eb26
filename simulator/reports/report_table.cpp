#include "simulator/reports/report_table.h"

#include "simulator/ledger/stock_figures.h"
#include "simulator/xml_writer.h"

namespace brennock::simulator {

std::string Money(int64_t cents) {
  const bool negative = cents < 0;
  const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(cents) : cents;
  std::string out = negative ? "-" : "";
  out += std::to_string(magnitude / 100);
  out += '.';
  out += static_cast<char>('0' + magnitude % 100 / 10);
  out += static_cast<char>('0' + magnitude % 10);
  return out;
}

std::string Units(int64_t scaled) { return FormatQuantity(scaled); }

namespace {

std::string_view RowElement(ReportRow::Kind kind) {
  switch (kind) {
    case ReportRow::Kind::kText:
      return "TextRow";
    case ReportRow::Kind::kData:
      return "DataRow";
    case ReportRow::Kind::kSubtotal:
      return "SubtotalRow";
    case ReportRow::Kind::kTotal:
      return "TotalRow";
  }
  return "DataRow";
}

}  // namespace

void WriteReportRet(std::string& out, const ReportTable& table) {
  XmlWriter w(out);
  size_t title_rows = 1;
  for (const auto& column : table.columns)
    if (!column.subtitle.empty()) title_rows = 2;
  w.Open("ReportRet");
  w.Element("ReportTitle", table.title);
  if (!table.subtitle.empty()) w.Element("ReportSubtitle", table.subtitle);
  if (!table.basis.empty()) w.Element("ReportBasis", table.basis);
  w.Element("NumRows", std::to_string(table.rows.size()));
  w.Element("NumColumns", std::to_string(table.columns.size()));
  w.Element("NumColTitleRows", std::to_string(title_rows));
  for (size_t i = 0; i < table.columns.size(); ++i) {
    const ReportColumn& column = table.columns[i];
    w.OpenWithAttributes("ColDesc");
    w.Attribute("colID", std::to_string(i + 1));
    w.Attribute("dataType", column.data_type);
    w.EndAttributes();
    // Two title rows: the period on the first, the figure's name on the second.
    auto title = [&](int row, const std::string& value) {
      out += "<ColTitle titleRow=\"";
      out += std::to_string(row);
      out += '"';
      if (!value.empty()) {
        out += " value=\"";
        XmlWriter::AppendEscaped(out, value, true);
        out += '"';
      }
      out += " />\n";
    };
    if (title_rows == 2) {
      title(1, column.subtitle.empty() ? std::string() : column.title);
      title(2, column.subtitle.empty() ? column.title : column.subtitle);
    } else {
      title(1, column.title);
    }
    w.Element("ColType", column.col_type);
    w.Close("ColDesc");
  }
  w.Open("ReportData");
  int number = 0;
  for (const ReportRow& row : table.rows) {
    ++number;
    const std::string_view element = RowElement(row.kind);
    out += '<';
    out += element;
    out += " rowNumber=\"";
    out += std::to_string(number);
    out += '"';
    if (row.kind == ReportRow::Kind::kText) {
      out += " value=\"";
      XmlWriter::AppendEscaped(out, row.text, true);
      out += "\" />\n";
      continue;
    }
    out += ">\n";
    if (!row.row_type.empty()) {
      out += "<RowData rowType=\"";
      out += row.row_type;
      out += "\" value=\"";
      XmlWriter::AppendEscaped(out, row.row_value, true);
      out += "\" />\n";
    }
    for (const auto& [id, value] : row.cells) {
      out += "<ColData colID=\"";
      out += std::to_string(id);
      out += "\" value=\"";
      XmlWriter::AppendEscaped(out, value, true);
      out += "\" />\n";
    }
    out += "</";
    out += element;
    out += ">\n";
  }
  w.Close("ReportData");
  w.Close("ReportRet");
}

}  // namespace brennock::simulator
