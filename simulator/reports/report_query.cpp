#include "simulator/reports/report_query.h"

#include <string_view>

#include "simulator/clock.h"
#include "simulator/transactions/date_macros.h"

namespace brennock::simulator {

namespace {

std::string Text(pugi::xml_node node) { return node.text().as_string(); }

// The list types a filter's names are looked up in.
std::vector<std::string_view> FilterLists(std::string_view filter) {
  if (filter == "ReportAccountFilter") return {"Account"};
  if (filter == "ReportEntityFilter") return {"Customer", "Vendor", "Employee", "OtherName"};
  if (filter == "ReportClassFilter") return {"Class"};
  return {"ItemService",           "ItemNonInventory", "ItemOtherCharge",   "ItemInventory",
          "ItemInventoryAssembly", "ItemFixedAsset",   "ItemSubtotal",      "ItemDiscount",
          "ItemPayment",           "ItemSalesTax",     "ItemSalesTaxGroup", "ItemGroup"};
}

// Adds the record named (by ListID or full name) and, when asked, every record below it.
bool AddNamed(CompanyDb& company, std::string_view filter, bool by_id, const std::string& value,
              bool with_children, std::unordered_set<std::string>& ids) {
  bool found = false;
  for (std::string_view list : FilterLists(filter)) {
    auto& st = company.db().Prepare(
        by_id ? "SELECT list_id,full_name FROM list_records WHERE list_type=? AND list_id=?"
              : "SELECT list_id,full_name FROM list_records WHERE list_type=? AND "
                "full_name=? COLLATE NOCASE");
    st.Bind(1, list).Bind(2, value);
    std::string full_name;
    if (st.Step()) {
      found = true;
      ids.emplace(st.Text(0));
      full_name = st.Text(1);
    }
    st.Reset();
    if (full_name.empty() || !with_children) continue;
    auto& below = company.db().Prepare(
        "SELECT list_id FROM list_records WHERE list_type=? AND substr(full_name,1,?)=? "
        "COLLATE NOCASE");
    below.Bind(1, list)
        .Bind(2, static_cast<int64_t>(full_name.size() + 1))
        .Bind(3, full_name + ":");
    while (below.Step()) ids.emplace(below.Text(0));
    below.Reset();
  }
  return found;
}

std::string ReadNameFilter(pugi::xml_node node, CompanyDb& company, NameFilter& filter) {
  filter.given = true;
  for (pugi::xml_node child : node.children()) {
    const std::string_view name = child.name();
    const std::string value = Text(child);
    if (name.ends_with("TypeFilter")) {
      filter.type = value;
      continue;
    }
    const bool by_id = name.starts_with("ListID");
    const bool with_children = name.ends_with("WithChildren");
    if (!AddNamed(company, node.name(), by_id, value, with_children, filter.ids))
      return "There is an invalid reference to \"" + value + "\" in the report filter.";
  }
  return {};
}

}  // namespace

std::string ReadReportQuery(pugi::xml_node request, CompanyDb& company, ReportQuery& q) {
  std::string_view name = request.name();
  q.family = std::string(name.substr(0, name.size() - std::string_view("ReportQueryRq").size()));
  q.fiscal_first_month = MonthNumber(company.SettingOr("company.FirstMonthFiscalYear", "January"));
  const SimulatorTime now = Now();
  q.today = FormatDate(now);
  q.basis = company.SettingOr("pref.ReportsPreferences.SummaryReportBasis", "Accrual");
  for (pugi::xml_node child : request.children()) {
    const std::string_view element = child.name();
    const std::string value = Text(child);
    if (element == q.family + "ReportType") {
      q.report = value;
    } else if (element == "ReportPeriod") {
      q.from = Text(child.child("FromReportDate"));
      q.to = Text(child.child("ToReportDate"));
      q.dated = true;
    } else if (element == "ReportDateMacro") {
      if (auto range = DateMacroRange(value, now, q.fiscal_first_month)) {
        q.from = range->first;
        q.to = range->second;
      }
      q.dated = true;
    } else if (element == "ReportAccountFilter") {
      if (auto error = ReadNameFilter(child, company, q.accounts); !error.empty()) return error;
    } else if (element == "ReportEntityFilter") {
      if (auto error = ReadNameFilter(child, company, q.entities); !error.empty()) return error;
    } else if (element == "ReportItemFilter") {
      if (auto error = ReadNameFilter(child, company, q.items); !error.empty()) return error;
    } else if (element == "ReportClassFilter") {
      if (auto error = ReadNameFilter(child, company, q.classes); !error.empty()) return error;
    } else if (element == "ReportTxnTypeFilter") {
      for (pugi::xml_node type : child.children("TxnTypeFilter")) q.txn_types.insert(Text(type));
      q.txn_types.erase("All");
    } else if (element == "ReportDetailLevelFilter") {
      q.detail_level = value;
    } else if (element == "ReportPostingStatusFilter") {
      q.posting_status = value;
    } else if (element == "SummarizeColumnsBy" || element == "SummarizeBudgetColumnsBy") {
      q.columns_by = value;
    } else if (element == "SummarizeRowsBy" || element == "SummarizeBudgetRowsBy") {
      q.rows_by = value;
    } else if (element == "IncludeColumn") {
      q.include_columns.push_back(value);
    } else if (element == "IncludeSubcolumns") {
      q.include_subcolumns = value == "true" || value == "1";
    } else if (element == "IncludeAccounts") {
      q.in_use_accounts = value == "InUse";
    } else if (element == "ReportOpenBalanceAsOf" || element == "ReportAgingAsOf") {
      q.open_balance_as_of_end = value == "ReportEndDate";
    } else if (element == "ReturnRows") {
      q.return_rows = value;
    } else if (element == "ReturnColumns" || element == "ReturnCols") {
      q.return_columns = value;
    } else if (element == "ReportBasis") {
      if (value == "Cash" || value == "Accrual") q.basis = value;
    } else if (element == "FiscalYear") {
      q.fiscal_year = value;
    }
  }
  if (q.basis != "Cash") q.basis = "Accrual";
  return {};
}

}  // namespace brennock::simulator
