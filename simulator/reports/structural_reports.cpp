// Reports whose figures the simulated company does not keep (budgets, payroll, time without time
// records ...): the layout QuickBooks answers, with the transactions of the kinds the report is
// about listed when the company has them.
#include <map>

#include "simulator/reports/report_builders.h"

namespace brennock::simulator {

namespace {

struct Layout {
  std::string_view report;
  std::vector<std::string_view> kinds;  // transaction kinds listed, by name
  std::vector<std::pair<std::string_view, std::string_view>> columns;  // title, ColType
};

const std::vector<Layout>& Layouts() {
  static const std::vector<Layout> layouts = {
      {"OpenPOs",
       {"PurchaseOrder"},
       {{"Type", "TxnType"},
        {"Date", "Date"},
        {"Num", "RefNumber"},
        {"Name", "Name"},
        {"Amount", "Amount"}}},
      {"OpenPOsByJob",
       {"PurchaseOrder"},
       {{"Type", "TxnType"},
        {"Date", "Date"},
        {"Num", "RefNumber"},
        {"Name", "Name"},
        {"Amount", "Amount"}}},
      {"OpenSalesOrderByCustomer",
       {"SalesOrder"},
       {{"Type", "TxnType"},
        {"Date", "Date"},
        {"Num", "RefNumber"},
        {"Name", "Name"},
        {"Amount", "Amount"}}},
      {"OpenSalesOrderByItem",
       {"SalesOrder"},
       {{"Type", "TxnType"},
        {"Date", "Date"},
        {"Num", "RefNumber"},
        {"Name", "Name"},
        {"Amount", "Amount"}}},
      {"PendingSales",
       {"Invoice", "SalesReceipt"},
       {{"Type", "TxnType"},
        {"Date", "Date"},
        {"Num", "RefNumber"},
        {"Name", "Name"},
        {"Amount", "Amount"}}},
      {"EstimatesByJob",
       {"Estimate"},
       {{"Type", "TxnType"},
        {"Date", "Date"},
        {"Num", "RefNumber"},
        {"Name", "Name"},
        {"Amount", "Amount"}}},
      {"JobProgressInvoicesVsEstimates",
       {"Estimate"},
       {{"Type", "TxnType"},
        {"Date", "Date"},
        {"Num", "RefNumber"},
        {"Name", "Name"},
        {"Amount", "Amount"}}},
      {"JobEstimatesVsActualsSummary",
       {"Estimate", "Invoice"},
       {{"Type", "TxnType"},
        {"Date", "Date"},
        {"Num", "RefNumber"},
        {"Name", "Name"},
        {"Amount", "Amount"}}},
      {"JobEstimatesVsActualsDetail",
       {"Estimate", "Invoice"},
       {{"Type", "TxnType"},
        {"Date", "Date"},
        {"Num", "RefNumber"},
        {"Name", "Name"},
        {"Amount", "Amount"}}},
      {"TimeByItem",
       {"TimeTracking"},
       {{"Date", "Date"}, {"Name", "Name"}, {"Duration", "Duration"}}},
      {"TimeByJobDetail",
       {"TimeTracking"},
       {{"Date", "Date"}, {"Name", "Name"}, {"Duration", "Duration"}}},
      {"TimeByJobSummary",
       {"TimeTracking"},
       {{"Date", "Date"}, {"Name", "Name"}, {"Duration", "Duration"}}},
      {"TimeByName",
       {"TimeTracking"},
       {{"Date", "Date"}, {"Name", "Name"}, {"Duration", "Duration"}}},
      {"MissingChecks",
       {"Check"},
       {{"Type", "TxnType"},
        {"Date", "Date"},
        {"Num", "RefNumber"},
        {"Name", "Name"},
        {"Amount", "Amount"}}},
  };
  return layouts;
}

std::string HeaderAmount(const TxnRecord& record) {
  for (std::string_view field : {"TotalAmount", "Subtotal", "Amount", "Duration"}) {
    std::string_view value = record.Field(field);
    if (!value.empty()) return std::string(value);
  }
  return {};
}

}  // namespace

void BuildStructuralReport(Books& books, const ReportQuery& q, ReportTable& table) {
  const Layout* layout = nullptr;
  for (const Layout& l : Layouts())
    if (l.report == q.report) layout = &l;
  table.AddColumn({}, "Blank", "STRTYPE");
  if (!layout) {
    // Budgets, payroll, tax line and similar reports: a figures column and a TOTAL row.
    table.AddColumn("TOTAL", "Total", "AMTTYPE");
    auto& total = table.Row(ReportRow::Kind::kTotal);
    total.cells = {{1, "TOTAL"}, {2, Money(0)}};
  } else {
    for (const auto& [title, type] : layout->columns)
      table.AddColumn(std::string(title), std::string(type),
                      type == "Date"       ? "DATETYPE"
                      : type == "Amount"   ? "AMTTYPE"
                      : type == "Duration" ? "TIMEINTERVALTYPE"
                                           : "STRTYPE");
    for (const TxnFacts* txn : books.Transactions()) {
      if (!txn->record || txn->voided || !books.PassesTxn(*txn)) continue;
      if (std::find(layout->kinds.begin(), layout->kinds.end(), txn->type) == layout->kinds.end())
        continue;
      if ((!q.from.empty() && txn->date < q.from) || (!q.to.empty() && txn->date > q.to)) continue;
      auto& row = table.Row(ReportRow::Kind::kData, "name", books.NameOf(txn->entity));
      for (size_t i = 0; i < layout->columns.size(); ++i) {
        const std::string_view type = layout->columns[i].second;
        std::string value = type == "TxnType"     ? Books::TypeText(txn->type)
                            : type == "Date"      ? txn->date
                            : type == "RefNumber" ? txn->ref
                            : type == "Name"      ? books.NameOf(txn->entity)
                                                  : HeaderAmount(*txn->record);
        if (!value.empty()) row.cells.emplace_back(static_cast<int>(i + 2), std::move(value));
      }
    }
  }
  table.subtitle = PeriodText(q.from, q.to);
}

}  // namespace brennock::simulator
