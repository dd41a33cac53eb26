#pragma once

#include <optional>
#include <pugixml.hpp>
#include <string>
#include <unordered_set>
#include <vector>

#include "simulator/store/company_db.h"

namespace brennock::simulator {

// A name filter of a report query, resolved to ListIDs (with sub-records when asked), or a type.
struct NameFilter {
  bool given = false;
  std::string type;  // AccountTypeFilter, EntityTypeFilter, ItemTypeFilter
  std::unordered_set<std::string> ids;
  bool Passes(const std::string& id) const { return !given || !type.empty() || ids.count(id); }
};

// What a report query asks for, read from any of the ten ...ReportQueryRq requests.
struct ReportQuery {
  std::string family;               // "GeneralSummary", "Aging" ...
  std::string report;               // "ProfitAndLossStandard"
  std::string from, to;             // inclusive dates "2024-03-05"; empty: open
  bool dated = false;               // a period or macro was given
  std::string basis;                // "Accrual" or "Cash"
  std::string columns_by, rows_by;  // SummarizeColumnsBy, SummarizeRowsBy ("" : the report's own)
  std::vector<std::string> include_columns;
  std::string return_rows, return_columns;  // "ActiveOnly", "NonZero", "All"; "": the report's
  bool include_subcolumns = false;
  bool open_balance_as_of_end = false;  // ReportOpenBalanceAsOf / ReportAgingAsOf ReportEndDate
  bool in_use_accounts = false;
  std::string detail_level, posting_status;
  NameFilter accounts, entities, items, classes;
  std::unordered_set<std::string> txn_types;  // TxnTypeFilter values; empty: all
  std::string fiscal_year;                    // budgets
  std::string today;                          // the simulator's date
  int fiscal_first_month = 1;
};

// Reads the request; names in filters that match no record give an error text (the status
// message of 3120 QuickBooks answers), else empty.
std::string ReadReportQuery(pugi::xml_node request, CompanyDb& company, ReportQuery& out);

}  // namespace brennock::simulator
