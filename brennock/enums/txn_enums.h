#pragma once

#include <cstdint>

namespace brennock {

// Transaction kinds as reports, field readers and templates name them (the "Txn Types" table).
enum qbEnumTxnType : int32_t {
  qbTxnAll = 1,
  qbTxnBill = 2,
  qbTxnBillPaymentCheck = 3,
  qbTxnBillPaymentCreditCard = 4,
  qbTxnCharge = 5,
  qbTxnCheck = 6,
  qbTxnCreditCardCharge = 7,
  qbTxnCreditCardCredit = 8,
  qbTxnCreditMemo = 9,
  qbTxnDeposit = 10,
  qbTxnEstimate = 11,
  qbTxnInventoryAdjustment = 12,
  qbTxnInvoice = 13,
  qbTxnItemReceipt = 14,
  qbTxnJournalEntry = 15,
  qbTxnLiabilityAdjustment = 16,
  qbTxnPurchaseOrder = 17,
  qbTxnReceivePayment = 18,
  qbTxnSalesOrder = 19,
  qbTxnSalesReceipt = 20,
  qbTxnSalesTaxPaymentCheck = 21,
  qbTxnTransfer = 22,
  qbTxnVendorCredit = 23,
};

// Billing state of an expense or item line; 0 means not set.
enum qbEnumBillableStatus : int32_t {
  qbBillableStatusBillable = 1,
  qbBillableStatusNotBillable = 2,
  qbBillableStatusHasBeenBilled = 3,
};

// Reconciliation state of a transaction or line.
enum qbClearedStatusType : int32_t {
  qbClearedStatusCleared = 1,
  qbClearedStatusNotCleared = 2,
  qbClearedStatusPending = 3,
};

enum qbEnumBillPaymentMethod : int32_t {
  qbBillPaymentMethodCheck = 1,
  qbBillPaymentMethodCreditCard = 2,
};

// State of a payment or deposit; changed only by the library.
enum qoEnumTxnState : int32_t {
  qoTxnStateActive = 1,
  qoTxnStateVoided = 2,
  qoTxnStateDeleted = 3,
};

// Codes of a transaction's Warning event; the Warnings table holds their messages.
enum qoEnumWarning : int32_t {
  qoWarningItemHasExpenseAccount = 1,
  qoWarningJournalEntryDebitCreditError = 2,
};

// Notifications a transaction line sends to its owner through the event sink.
enum qoEnumEventTypes : int32_t {
  qoEventAmountChange = 1,
  qoEventItemTaxCodeQuery = 2,
  qoEventWarning = 3,
  qoEventNoQuantity = 4,
};

// Field selector of a transaction line's grid-editing members.
enum qoEnumFldTxn : int32_t {
  qoFldTxnItem = 1,
  qoFldTxnQuantity = 2,
  qoFldTxnDescription = 3,
  qoFldTxnCost = 4,
  qoFldTxnServiceDate = 5,
  qoFldTxnClass = 6,
  qoFldTxnAmount = 7,
  qoFldTxnTax = 8,
  qoFldTxnMarkup = 9,
  qoFldTxnCustomer = 10,
};

}  // namespace brennock
