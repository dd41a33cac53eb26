#pragma once

#include <cstdint>

namespace brennock {

// Kinds of QuickBooks event delivered to a subscribed application.
enum qbEventTypes : int32_t {
  qbEventData = 1,
  qbEventUI = 2,
  qbEventUIExtension = 3,
};

// What happened to a list record in a data event.
enum qbListEventOperations : int32_t {
  qbEventAdd = 1,
  qbEventModify = 2,
  qbEventDelete = 3,
  qbEventMerge = 4,
};

// What happened to a transaction in a data event (transactions are never merged). Named apart
// from qbListEventOperations because enumerators share one scope.
enum qbTxnEventOperations : int32_t {
  qbTxnEventAdd = 1,
  qbTxnEventModify = 2,
  qbTxnEventDelete = 3,
};

// QuickBooks menus a UI extension can add to.
enum qbMnuNames : int32_t {
  qbMnuFile = 1,
  qbMnuCompany = 2,
  qbMnuCustomers = 3,
  qbMnuVendors = 4,
  qbMnuEmployees = 5,
  qbMnuBanking = 6,
};

// Conditions that show or enable a UI-extension menu item.
enum qbMnuConditions : int32_t {
  qbMnuMultiUserMode = 1,
  qbMnuHasCustomers = 2,
  qbMnuHasVendors = 3,
  qbMnuInventoryEnabled = 4,
  qbMnuClassesEnabled = 5,
  qbMnuPayrollEnabled = 6,
  qbMnuTimeTrackingEnabled = 7,
  qbMnuPriceLevelsEnabled = 8,
  qbMnuAssemblyItemsEnabled = 9,
  qbMnuSalesOrdersEnabled = 10,
  qbMnuEstimatesEnabled = 11,
  qbMnuSalesTaxEnabled = 12,
  qbMnuIsAccountantCopy = 13,
  qbMnuAccountantCopyExists = 14,
};

}  // namespace brennock
