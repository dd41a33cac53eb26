// brennock report: runs a QuickBooks report and prints it as an indented table, CSV, JSON or an
// SVG chart; --list shows the report catalogue by group.
#include "brennock/reports/report.h"

#include <CLI/CLI.hpp>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "brennock/enums/enumerations.h"
#include "brennock/enums/report_catalogue.h"
#include "brennock/values/convert_dtypes.h"
#include "cli/app/cli_errors.h"
#include "cli/app/cli_session.h"
#include "cli/app/exit_codes.h"
#include "cli/app/global_options.h"
#include "cli/commands/commands.h"
#include "cli/output/report_chart.h"
#include "cli/output/row_writer.h"
#include "cli/output/stdout_text.h"

namespace brennock::cli {
namespace {

struct ReportOptions {
  std::string name;
  bool list = false;
  std::string from, to, macro, basis, by;
  std::vector<std::string> filters;
  std::string format = "table";
  std::string output;
};

// A report's command name: its catalogue description in lower case with dashes
// ("Profit And Loss Standard" -> "profit-and-loss-standard").
std::string CommandName(std::string_view description) {
  std::string out;
  for (char c : description)
    out += c == ' ' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// The short names people use for the common reports.
constexpr std::pair<std::string_view, qbEnumReports> kAliases[] = {
    {"profit-and-loss", qbReportProfitAndLossStandard},
    {"pnl", qbReportProfitAndLossStandard},
    {"balance-sheet", qbReportBalanceSheetStandard},
    {"ar-aging", qbReportARAgingSummary},
    {"ap-aging", qbReportAPAgingSummary},
    {"stock-status", qbReportInventoryStockStatusByItem},
    {"inventory-valuation", qbReportInventoryValuationSummary},
    {"custom-detail", qbReportTransactionDetail},
    {"custom-summary", qbReportTransactionSummary},
};

std::optional<qbEnumReports> FindReport(const std::string& name) {
  for (const auto& [alias, code] : kAliases)
    if (alias == name) return code;
  for (const ReportCatalogueEntry& entry : ReportCatalogue())
    if (CommandName(entry.description) == name) return static_cast<qbEnumReports>(entry.code);
  return std::nullopt;
}

int ListReports() {
  std::string out;
  auto groups = ThreadEnumerations()->Item(qoeReportGroup);
  for (int32_t g = 1; g <= groups->Count(); ++g) {
    auto group = groups->Item(g);
    std::string lines;
    for (const ReportCatalogueEntry& entry : ReportCatalogue())
      if (entry.group == group->Code()) lines += "  " + CommandName(entry.description) + "\n";
    if (lines.empty()) continue;
    out += group->Description() + "\n" + lines;
  }
  out += "Short names:";
  for (const auto& [alias, code] : kAliases) out += " " + std::string(alias);
  out += "\n";
  WriteOut(out);
  return kExitOk;
}

qbEnumReportColSortFields ColumnsBy(const std::string& by) {
  if (by.empty()) return static_cast<qbEnumReportColSortFields>(0);
  std::string key = by == "total" ? "TotalOnly" : by;
  key[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(key[0])));
  return static_cast<qbEnumReportColSortFields>(EnumTextToCode(key, qoeReportColSortFields));
}

void ApplyFilter(Report& report, const std::string& filter) {
  const auto equals = filter.find('=');
  if (equals == std::string::npos)
    throw UsageError("--filter takes KIND=NAME, not \"" + filter + "\"");
  const std::string kind = filter.substr(0, equals), name = filter.substr(equals + 1);
  auto filters = report.Filters();
  if (kind == "account")
    filters->AccountFilter()->FullNames()->Add(name);
  else if (kind == "customer" || kind == "vendor" || kind == "name")
    filters->EntityFilter()->FullNames()->Add(name);
  else if (kind == "item")
    filters->ItemFilter()->FullNames()->Add(name);
  else if (kind == "class")
    filters->ClassFilter()->FullNames()->Add(name);
  else
    throw UsageError("--filter kinds are account, customer, vendor, name, item and class");
}

// The cells of a row by column position (empty where the row has none).
std::vector<std::string> Cells(const Report& report, const rptRow& row) {
  std::vector<std::string> cells(static_cast<size_t>(report.ColumnHeaders()->Count()));
  if (row.RowType() == qbRptRowTypeText && !cells.empty()) cells[0] = row.Text();
  for (const auto& column : *row.Columns())
    if (column->ID() >= 1 && static_cast<size_t>(column->ID()) <= cells.size())
      cells[static_cast<size_t>(column->ID() - 1)] = column->Text();
  return cells;
}

std::vector<std::string> Titles(const Report& report) {
  std::vector<std::string> titles;
  for (const auto& header : *report.ColumnHeaders()) titles.push_back(header->Title());
  return titles;
}

std::string AsJson(const Report& report) {
  nlohmann::ordered_json doc;
  doc["title"] = report.Title();
  doc["subtitle"] = report.Subtitle();
  doc["basis"] = report.Basis();
  doc["columns"] = Titles(report);
  doc["rows"] = nlohmann::ordered_json::array();
  static constexpr const char* kKinds[] = {"", "text", "data", "total", "subtotal"};
  for (const auto& row : *report.ReportRows()) {
    nlohmann::ordered_json r;
    r["type"] = kKinds[row->RowType() >= 1 && row->RowType() <= 4 ? row->RowType() : 0];
    r["indent"] = row->IndentLevel();
    r["path"] = row->FullName();
    r["cells"] = Cells(report, *row);
    doc["rows"].push_back(std::move(r));
  }
  return JsonText(doc, 2) + "\n";
}

std::string AsSvg(const Report& report) {
  ChartData chart;
  chart.title = report.Title();
  chart.subtitle = report.Subtitle();
  // Figure columns: amounts; a TOTAL column beside others is left out of the bars.
  std::vector<int32_t> figures;
  for (const auto& header : *report.ColumnHeaders())
    if (header->DataType() == 6 && header->Field() != qbReportFieldRunningBalance)
      figures.push_back(header->ID());
  if (figures.size() > 1 &&
      report.ColumnHeaders()->Item(report.ColumnHeaders()->Count())->Title() == "TOTAL")
    figures.pop_back();
  for (int32_t id : figures)
    for (const auto& header : *report.ColumnHeaders())
      if (header->ID() == id) chart.series.push_back(header->Title());
  const qbEnumReports base = report.BaseReport();
  chart.stacked = base == qbReportARAgingSummary || base == qbReportAPAgingSummary;
  for (const auto& row : *report.ReportRows()) {
    if (row->RowType() != qbRptRowTypeData || row->Columns()->Count() == 0) continue;
    ChartData::Bar bar;
    bar.label = row->Columns()->Item(1)->Text();
    bool any = false;
    for (int32_t id : figures) {
      double value = 0;
      for (const auto& column : *row->Columns())
        if (column->ID() == id) value = std::atof(column->Text().c_str()), any = true;
      bar.values.push_back(value);
    }
    if (any) chart.bars.push_back(std::move(bar));
  }
  return RenderSvgChart(chart);
}

std::string AsRows(const Report& report, OutputFormat format) {
  auto writer = MakeRowWriter(format);
  writer->Begin(Titles(report));
  for (const auto& row : *report.ReportRows()) {
    std::vector<std::string> cells = Cells(report, *row);
    if (format == OutputFormat::kTable && !cells.empty())
      cells[0] =
          std::string(static_cast<size_t>(std::max<int16_t>(row->IndentLevel(), 0)) * 2, ' ') +
          cells[0];
    writer->Row(cells);
  }
  writer->End();
  std::string head;
  if (format == OutputFormat::kTable)
    head = report.Title() + "\n" + report.Subtitle() +
           (report.Basis().empty() ? "" : "  (" + report.Basis() + " basis)") + "\n\n";
  return head + writer->Take();
}

int RunReport(const ReportOptions& options, const GlobalOptions& globals) {
  if (options.list) return ListReports();
  if (options.name.empty()) throw UsageError("name a report, or use --list to see them");
  auto code = FindReport(options.name);
  if (!code)
    throw UsageError("there is no report \"" + options.name +
                     "\"; brennock report --list shows them");
  if (!options.macro.empty() && (!options.from.empty() || !options.to.empty()))
    throw UsageError("--macro and --from/--to cannot be combined");
  CliSession session(globals);
  Report report;
  report.SetBaseReport(*code);
  if (!options.from.empty() || !options.to.empty()) {
    report.SetDateMacro(qbReportDateMacroCustom);
    if (!options.from.empty()) report.SetStartDate(ModConvertDtypes::TextToDate(options.from));
    if (!options.to.empty()) report.SetEndDate(ModConvertDtypes::TextToDate(options.to));
  } else if (!options.macro.empty()) {
    report.SetDateMacro(
        static_cast<qbEnumReportDateMacro>(EnumTextToCode(options.macro, qoeReportDateMacro)));
  }
  if (!options.basis.empty()) report.SetBasis(options.basis);
  report.SetSummarizeColumnsBy(ColumnsBy(options.by));
  for (const std::string& filter : options.filters) ApplyFilter(report, filter);
  report.Refresh();
  std::string text;
  if (options.format == "svg")
    text = AsSvg(report);
  else if (options.format == "json")
    text = AsJson(report);
  else
    text = AsRows(report, OutputFormatNames().at(options.format));
  if (options.output.empty()) {
    WriteOut(text);
  } else {
    std::ofstream file(options.output, std::ios::binary);
    if (!(file << text) || !file.flush()) throw CommandFailure("could not write " + options.output);
  }
  return kExitOk;
}

}  // namespace

CommandRun AttachReportCommand(CLI::App& app, const GlobalOptions& globals) {
  CLI::App* command = app.add_subcommand("report", "Run a QuickBooks report");
  command->footer(R"(Examples:
  brennock report --list
  brennock report profit-and-loss --macro ThisYearToDate --by month --company /tmp/sample.qbw
  brennock report balance-sheet --to 2024-12-31 --basis cash --company /tmp/sample.qbw
  brennock report ar-aging --format svg --output aging.svg --company /tmp/sample.qbw
  brennock report general-ledger --from 2024-01-01 --to 2024-03-31 --filter account=Checking)");
  auto options = std::make_shared<ReportOptions>();
  command->add_option("name", options->name, "The report, as --list names it")->type_name("NAME");
  command->add_flag("--list", options->list, "Show the reports by group");
  command->add_option("--from", options->from, "First day of the period (yyyy-mm-dd)")
      ->type_name("DATE");
  command->add_option("--to", options->to, "Last day of the period (yyyy-mm-dd)")
      ->type_name("DATE");
  command
      ->add_option("--macro", options->macro,
                   "A named period: ThisMonth, LastYear, ThisYearToDate ...")
      ->type_name("MACRO");
  command->add_option("--basis", options->basis, "cash or accrual")
      ->check(CLI::IsMember({"cash", "accrual", "Cash", "Accrual"}).description(""));
  command
      ->add_option("--by", options->by,
                   "Columns by month, quarter, year, week, class, customer, vendor or total")
      ->check(CLI::IsMember({"month", "quarter", "year", "week", "day", "class", "customer",
                             "vendor", "employee", "payee", "total"})
                  .description(""));
  command
      ->add_option("--filter", options->filters,
                   "KIND=NAME: account, customer, vendor, name, item or class")
      ->type_name("KIND=NAME");
  command->add_option("--format", options->format, "table, csv, json or svg")
      ->check(CLI::IsMember({"table", "csv", "json", "svg"}).description(""))
      ->default_str("table");
  command->add_option("--output", options->output, "Write to this file instead of standard output")
      ->type_name("FILE");
  return [options, &globals] { return RunReport(*options, globals); };
}

}  // namespace brennock::cli
