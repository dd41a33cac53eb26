#pragma once

#include <cstdint>

namespace brennock {

// Company preference values; each has a table that maps the qbXML text back to the code.

enum qoEnumCalculateChargesFrom : int32_t {
  qoCalculateChargesFromDueDate = 1,
  qoCalculateChargesFromInvoiceOrBilledDate = 2,
};

enum qoEnumAgingReportBasis : int32_t {
  qoAgingReportBasisAgeFromDueDate = 1,
  qoAgingReportBasisAgeFromTransactionDate = 2,
};

enum qoEnumSummaryReportBasis : int32_t {
  qoSummaryReportBasisAccrual = 1,
  qoSummaryReportBasisCash = 2,
};

enum qoEnumPaySalesTax : int32_t {
  qoPaySalesTaxMonthly = 1,
  qoPaySalesTaxQuarterly = 2,
  qoPaySalesTaxAnnually = 3,
};

enum qoEnumDayOfWeek : int32_t {
  qoDayOfWeekMonday = 1,
  qoDayOfWeekTuesday = 2,
  qoDayOfWeekWednesday = 3,
  qoDayOfWeekThursday = 4,
  qoDayOfWeekFriday = 5,
  qoDayOfWeekSaturday = 6,
  qoDayOfWeekSunday = 7,
};

// Fields a ListEntries or TxnEntries reader can return. The codes group by record kind: 1-15
// common, 100-120 customers, 200-203 items.
enum qoFields : int32_t {
  qoFldFullName = 1,
  qoFldListId = 2,
  qoFldItemSalesDesc = 3,
  qoFldItemType = 4,
  qoFldTxnId = 5,
  qoFldIsActive = 6,
  qoFldCustom1 = 7,
  qoFldCustom2 = 8,
  qoFldCustom3 = 9,
  qoFldCustom4 = 10,
  qoFldCustom5 = 11,
  qoFldCustom6 = 12,
  qoFldCustom7 = 13,
  qoFldName = 14,
  qoFldEntityType = 15,
  qoFldCustCompanyName = 100,
  qoFldCustSalutation = 102,
  qoFldCustFirstName = 103,
  qoFldCustLastName = 104,
  qoFldCustPhone = 105,
  qoFldCustAltPhone = 106,
  qoFldCustFax = 107,
  qoFldCustEmail = 108,
  qoFldCustContact = 109,
  qoFldCustAltContact = 110,
  qoFldCustType = 111,
  qoFldCustTerms = 112,
  qoFldCustSalesRep = 113,
  qoFldCustBalance = 114,
  qoFldCustTotalBalance = 115,
  qoFldCustResaleNumber = 118,
  qoFldCustAccountNumber = 119,
  qoFldCustBillToAddress = 120,
  qoFldItemOnHand = 200,
  qoFldItemOnSalesOrder = 201,
  qoFldItemOnOrder = 202,
  qoFldItemPrice = 203,
};

}  // namespace brennock
