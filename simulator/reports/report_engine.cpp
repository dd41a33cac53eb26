#include "simulator/reports/report_engine.h"

#include "brennock/enums/report_catalogue.h"
#include "simulator/handlers/handler_table.h"
#include "simulator/reports/books.h"
#include "simulator/reports/report_builders.h"

namespace brennock::simulator {

namespace {

// The report types of the catalogue a report query of this family may name.
bool KnownReport(std::string_view family, std::string_view tag) {
  for (const ReportCatalogueEntry& entry : ReportCatalogue()) {
    if (ReportTypePrefix(entry.type) != family) continue;
    std::string name = entry.tag.empty() ? std::string(entry.description) : std::string(entry.tag);
    std::erase(name, ' ');
    if (name == tag) return true;
  }
  return false;
}

}  // namespace

void RegisterReportHandlers(HandlerTable& table) {
  for (std::string_view family :
       {"Aging", "BudgetSummary", "CustomSummary", "CustomDetail", "GeneralSummary",
        "GeneralDetail", "Job", "Time", "PayrollDetail", "PayrollSummary"})
    table.Add(std::string(family) + "ReportQueryRq", AnswerReportQuery, false);
}

Status AnswerReportQuery(RequestContext& ctx) {
  ReportQuery q;
  if (std::string error = ReadReportQuery(ctx.request, ctx.company, q); !error.empty())
    return ctx.Respond(Status{kObjectNotFound, "Error", std::move(error)});
  if (!KnownReport(q.family, q.report))
    return ctx.Respond(Status{kConversionError, "Error",
                              "There was an error when converting the string \"" + q.report +
                                  "\" to a report type of " + ctx.ResponseName() + "."});
  Books books(ctx.lists, q);
  ReportTable table;
  table.title = ReportTitle(q.report);
  const bool built = BuildFinancialReport(books, q, table) || BuildDetailReport(books, q, table) ||
                     BuildAgingReport(books, q, table) || BuildItemReport(books, q, table);
  if (!built) BuildStructuralReport(books, q, table);
  const bool job_or_payroll =
      q.family == "Job" || q.family.starts_with("Payroll") || q.family == "Aging";
  if (!job_or_payroll) table.basis = q.basis;
  if (q.family == "Aging" || q.report.starts_with("Inventory"))
    table.basis = q.family == "Aging" ? "" : "Accrual";
  ctx.OpenResponse(Status{});
  WriteReportRet(ctx.out, table);
  ctx.CloseResponse();
  return Status{};
}

}  // namespace brennock::simulator
