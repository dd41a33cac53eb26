#pragma once

#include <cstdint>

namespace brennock {

// QuickBooks account types; the AccountType table holds their names.
enum qbEnumAccountType : int32_t {
  qbAccountsPayable = 1,
  qbAccountsReceivable = 2,
  qbBank = 3,
  qbCostOfGoodsSold = 4,
  qbCreditCard = 5,
  qbEquity = 6,
  qbExpense = 7,
  qbFixedAsset = 8,
  qbIncome = 9,
  qbLongTermLiability = 10,
  qbOtherAsset = 11,
  qbOtherCurrentAsset = 12,
  qbOtherCurrentLiability = 13,
  qbOtherExpense = 14,
  qbOtherIncome = 15,
  qbNonPosting = 16,
};

// Item kinds. qbItemEmpty marks "no item type" and has no table entry.
enum qbEnumItemType : int32_t {
  qbItemService = 1,
  qbItemInventory = 2,
  qbItemNonInventory = 3,
  qbItemOtherCharge = 4,
  qbItemSubtotal = 5,
  qbItemGroup = 6,
  qbItemDiscount = 7,
  qbItemPayment = 8,
  qbItemSalesTax = 9,
  qbItemSalesTaxGroup = 10,
  qbItemAssembly = 11,
  qbItemFixedAsset = 12,
  qbItemEmpty = 99,
};

// Status of a customer's job.
enum qbEnumJobStatus : int32_t {
  qbJobStatusNone = 0,
  qbJobStatusPending = 1,
  qbJobStatusAwarded = 2,
  qbJobStatusInProgress = 3,
  qbJobStatusClosed = 4,
  qbJobStatusNotAwarded = 5,
};

// Kinds of entity (names that can appear on a transaction).
enum qbEnumEntityType : int32_t {
  qbEntityTypeCustomer = 1,
  qbEntityTypeEmployee = 2,
  qbEntityTypeOtherName = 3,
  qbEntityTypeVendor = 4,
};

enum qbEnumGenderType : int32_t {
  qbGenderMale = 1,
  qbGenderFemale = 2,
};

enum qbEnumEmployeeType : int32_t {
  qbEmployeeTypeRegular = 1,
  qbEmployeeTypeOfficer = 2,
  qbEmployeeTypeStatutory = 3,
  qbEmployeeTypeOwner = 4,
};

// Wage kinds of a payroll wage item.
enum qbEnumWageType : int32_t {
  qbWageTypeHourlyRegular = 1,
  qbWageTypeHourlySick = 2,
  qbWageTypeHourlyVacation = 3,
  qbWageTypeSalaryRegular = 4,
  qbWageTypeSalarySick = 5,
  qbWageTypeSalaryVacation = 6,
  qbWageTypeBonus = 7,
  qbWageTypeCommission = 8,
  qbWageTypeHourlyOvertime = 9,
};

// An employee's pay period (the "Pay Periods" table).
enum qbPayFrequencyType : int32_t {
  qbPayFrequencyDaily = 1,
  qbPayFrequencyWeekly = 2,
  qbPayFrequencyBiweekly = 3,
  qbPayFrequencySemimonthly = 4,
  qbPayFrequencyMonthly = 5,
  qbPayFrequencyQuarterly = 6,
  qbPayFrequencyYearly = 7,
};

// Which kind of terms a terms collection holds; 0 means both.
enum qbEnumTermsType : int32_t {
  qbTerms = 0,
  qbStandardTerms = 1,
  qbDateDrivenTerms = 2,
};

// Value types of custom (data extension) fields.
enum qbEnumDataExtDataType : int32_t {
  qbDataExtTypeINTTYPE = 1,
  qbDataExtTypeAMTTYPE = 2,
  qbDataExtTypePRICETYPE = 3,
  qbDataExtTypeQUANTYPE = 4,
  qbDataExtTypePERCENTTYPE = 5,
  qbDataExtTypeDATETIMETYPE = 6,
  qbDataExtTypeSTR255TYPE = 7,
  qbDataExtTypeSTR1024TYPE = 8,
};

}  // namespace brennock
