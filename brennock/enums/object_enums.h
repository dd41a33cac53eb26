#pragma once

#include <cstdint>

namespace brennock {

// Lifecycle of a persistable record.
enum qoEnumObjectState : int32_t {
  qoObjectStateNew = 1,
  qoObjectStateClean = 2,
  qoObjectStateDirty = 3,
};

// Kind of a record; its entry in the ObjectType table gives the qbXML element stem.
// Codes 13 and 14 are listed in that order in the table (Customer before Class).
enum qoEnumListObjectType : int32_t {
  qoObjectTypeAccount = 1,
  qoObjectTypeSalesTaxCode = 2,
  qoObjectTypeItemService = 3,
  qoObjectTypeItemInventory = 4,
  qoObjectTypeItemNonInventory = 5,
  qoObjectTypeItemOtherCharge = 6,
  qoObjectTypeItemSubtotal = 7,
  qoObjectTypeItemGroup = 8,
  qoObjectTypeItemDiscount = 9,
  qoObjectTypeItemPayment = 10,
  qoObjectTypeItemSalesTax = 11,
  qoObjectTypeItemSalesTaxGroup = 12,
  qoObjectTypeClass = 13,
  qoObjectTypeCustomer = 14,
  qoObjectTypePaymentMethod = 15,
  qoObjectTypeCustomerType = 16,
  qoObjectTypeJobType = 17,
  qoObjectTypeVendorType = 18,
  qoObjectTypeShipMethod = 19,
  qoObjectTypeVendor = 20,
  qoObjectTypeOtherName = 21,
  qoObjectTypeJournalEntry = 22,
  qoObjectTypeBill = 23,
  qoObjectTypeStandardTerms = 24,
  qoObjectTypeDateDrivenTerms = 25,
  qoObjectTypeEmployee = 26,
  qoObjectTypeCheck = 27,
  qoObjectTypeSalesRep = 28,
  qoObjectTypePurchaseOrder = 29,
  qoObjectTypeCustomerMsg = 30,
  qoObjectTypeToDo = 31,
  qoObjectTypeVendorCredit = 32,
  qoObjectTypeCreditCardCharge = 33,
  qoObjectTypeCreditCardCredit = 34,
  qoObjectTypeTimeTracking = 35,
  qoObjectTypeInvoice = 36,
  qoObjectTypePayrollItemWage = 37,
  qoObjectTypeSalesReceipt = 38,
  qoObjectTypeCreditMemo = 39,
  qoObjectTypeEstimate = 40,
  qoObjectTypeReceivePayment = 41,
  qoObjectTypeBillPayment = 42,
  qoObjectTypeReceivePaymentToDeposit = 43,
  qoObjectTypeDeposit = 44,
  qoObjectTypeItem = 45,
  qoObjectTypeDataExtDef = 46,
  qoObjectTypeDataExt = 47,
  qoObjectTypeCharge = 48,
  qoObjectTypeItemAssembly = 49,  // table description "ItemInventoryAssembly"
  qoObjectTypeInventoryAdjustment = 50,
  qoObjectTypeSalesTaxPaymentCheck = 51,
  qoObjectTypeSalesOrder = 52,
  qoObjectTypeCurrency = 53,
  qoObjectTypeTaxCodes = 54,
  qoObjectTypeTemplate = 55,
  qoObjectTypeCompany = 56,
  qoObjectTypeEntity = 57,
  qoObjectTypeTerms = 58,
  qoObjectTypeItemReceipt = 59,
  qoObjectTypePayrollItemNonWage = 60,
  qoObjectTypeItemFixedAssset = 61,  // sic: the published name
  qoObjectTypeUIExtensionSubscription = 62,
  qoObjectTypeUISubscription = 63,  // table description "UIEventSubscription"
  qoObjectTypePriceLevel = 64,
  qoObjectTypeDataEventSubscription = 65,
  qoObjectTypeARRefundCreditCard = 66,
  qoObjectTypeVehicle = 67,
  qoObjectTypeVehicleMileage = 68,
  qoObjectTypeBuildAssembly = 69,
};

// A list's master collection; the CollectionKey of its ListType entry keys it in Lists.
// Code 12 is unused and the tax codes list has code 54 ("Tax Codes").
enum qoEnumListType : int32_t {
  qoListAccounts = 1,
  qoListSalesTaxCodes = 2,
  qoListVendors = 3,
  qoListItems = 4,
  qoListCustomers = 5,
  qoListCustomerTypes = 6,
  qoListJobTypes = 7,
  qoListVendorTypes = 8,
  qoListShipMethods = 9,
  qoListClasses = 10,
  qoListPaymentMethods = 11,
  qoListEntities = 13,
  qoListJournalEntries = 14,
  qoListTerms = 15,
  qoListSalesReps = 16,
  qoListOtherNames = 17,
  qoListBills = 18,
  qoListEmployees = 19,
  qoListCustomerMessages = 20,
  qoListToDos = 21,
  qoListPayrollItemWages = 22,
  qoListTemplates = 23,
  qoListPayrollItemNonWages = 24,
  qoListCurrencies = 26,
  qoListTaxCodes = 54,
};

}  // namespace brennock
