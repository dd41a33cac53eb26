#pragma once

#include <cstdint>

namespace brennock {

// Filter values shared by list and transaction queries. Each has a table whose qbXML text is what
// a request carries (for example qbMatchStartsWith gives "StartsWith").

enum qbEnumActiveStatus : int32_t {
  qbStatusActive = 1,    // "ActiveOnly"
  qbStatusInactive = 2,  // "InactiveOnly"
  qbStatusAny = 3,       // "All"
};

enum qbEnumMatchType : int32_t {
  qbMatchStartsWith = 1,
  qbMatchContains = 2,
  qbMatchEndsWith = 3,
};

// Comparison of a balance or amount filter.
enum qbEnumOperator : int32_t {
  qbOperatorLessThan = 1,
  qbOperatorLessThanEqual = 2,
  qbOperatorEqual = 3,
  qbOperatorGreaterThan = 4,
  qbOperatorGreaterThanEqual = 5,
};

// Date macros of list and transaction queries (reports have their own, qbEnumReportDateMacro).
enum qbEnumDateMacro : int32_t {
  qbDateMacroThisWeekToDate = 1,
  qbDateMacroThisMonthToDate = 2,
  qbDateMacroThisFiscalQuarterToDate = 3,
  qbDateMacroThisFiscalYearToDate = 4,
  qbDateMacroLastWeek = 5,
  qbDateMacroLastMonth = 6,
  qbDateMacroLastFiscalQuarter = 7,
  qbDateMacroLastFiscalYear = 8,
};

enum qbEnumPaidStatus : int32_t {
  qbPaidStatusAll = 1,
  qbPaidStatusPaidOnly = 2,
  qbPaidStatusNotPaidOnly = 3,
};

// Codes of the DoneStatus filter (DoneStatusTable()).
enum qoEnumDoneStatus : int32_t {
  qoDoneStatusAll = 1,
  qoDoneStatusDoneOnly = 2,
  qoDoneStatusNotDoneOnly = 3,
};

}  // namespace brennock
