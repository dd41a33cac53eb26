#pragma once

#include <cstdint>

namespace brennock {

// Selects one of the enumeration tables built on each thread: the value is the table's 1-based
// position in the Enumerations registry.
enum qoEnumerationType : int32_t {
  qoeObjectState = 1,
  qoeObjectType = 2,
  qoeListType = 3,
  qoeJobStatus = 4,
  qoeDeliveryMethod = 5,
  qoeItemType = 6,
  qoeAccountType = 7,
  qoeActiveStatus = 8,
  qoeTaxForm = 9,
  qoeMonth = 10,
  qoeOperator = 11,
  qoeField = 12,
  qoeFileOpenMode = 13,
  qoeDateMacro = 14,
  qoeTxnPaymentType = 15,
  qoeTxnLineType = 16,
  qoeGenderType = 17,
  qoeEmployeeType = 18,
  qoeWageType = 19,
  qoeMatchType = 20,
  qoePaidStatus = 21,
  qoeWarnings = 22,
  qoeTxnState = 23,
  qoeCalculateChargesFrom = 24,
  qoeAgingReportBasis = 25,
  qoeSummaryReportBasis = 26,
  qoePaySalesTax = 27,
  qoeDayOfWeek = 28,
  qoeLinkedTxnType = 29,
  qoeReport = 30,
  qoeReportField = 31,
  qoeReportDateMacro = 32,
  qoeTxnType = 33,
  qoeEntityType = 34,
  qoeBillableStatus = 35,
  qoeReportGroup = 36,
  qoeReportCalendar = 37,
  qoeReportRowColReturn = 38,
  qoeReportColSortFields = 39,
  qoeDataExtDataTypes = 40,
  qoeClearedStatus = 41,
  qoePayrollAccrualPeriod = 42,
  qoePayrollPayFrequency = 43,
  qoeReportAccountFilters = 44,
  qoeReportBudgetCriterion = 45,
  qoeReportBudgetSumColsByEnum = 46,
  qoeReportBudgetSumRowsByEnum = 47,
  qoeReportDetailLevelFilterEnum = 48,
  qoeReportPostingStatusFilter = 49,
  qoeCashFlowClassification = 50,
  qoeSpecialAcountType = 51,  // sic: the published name
  qoePayrollItemNonWage = 52,
  qoeDataBaseTableName = 53,
  qoeMenuConditions = 54,
  qoeMenuNames = 55,
  qoeFieldNames = 56,
};

// Number of registered enumeration tables.
inline constexpr int32_t kEnumerationTableCount = 56;

}  // namespace brennock
