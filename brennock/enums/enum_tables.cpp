// The enumeration tables. Each array lists one table's entries in the order they are added:
// codes as QuickBooks and the library define them, including the tables that skip codes or list
// them out of order (lookups by code never use the position).

#include <iterator>

#include "brennock/internal/enums/enum_table_data.h"

namespace brennock {

namespace {

// 1 qoeObjectState
constexpr EnumEntryData kObjectState[] = {
    {1, "New"},
    {2, "Clean"},
    {3, "Dirty"},
};

// 2 qoeObjectType
constexpr EnumEntryData kObjectType[] = {
    {1, "Account"},
    {2, "SalesTaxCode"},
    {3, "ItemService"},
    {4, "ItemInventory"},
    {5, "ItemNonInventory"},
    {6, "ItemOtherCharge"},
    {7, "ItemSubtotal"},
    {8, "ItemGroup"},
    {9, "ItemDiscount"},
    {10, "ItemPayment"},
    {11, "ItemSalesTax"},
    {12, "ItemSalesTaxGroup"},
    {14, "Customer"},
    {13, "Class"},
    {15, "PaymentMethod"},
    {16, "CustomerType"},
    {17, "JobType"},
    {18, "VendorType"},
    {19, "ShipMethod"},
    {20, "Vendor"},
    {21, "OtherName"},
    {22, "JournalEntry"},
    {23, "Bill"},
    {24, "StandardTerms"},
    {25, "DateDrivenTerms"},
    {26, "Employee"},
    {27, "Check"},
    {28, "SalesRep"},
    {29, "PurchaseOrder"},
    {30, "CustomerMsg"},
    {31, "ToDo"},
    {32, "VendorCredit"},
    {33, "CreditCardCharge"},
    {34, "CreditCardCredit"},
    {35, "TimeTracking"},
    {36, "Invoice"},
    {37, "PayrollItemWage"},
    {38, "SalesReceipt"},
    {39, "CreditMemo"},
    {40, "Estimate"},
    {41, "ReceivePayment"},
    {42, "BillPayment", "BillPaymentCheck"},
    {43, "ReceivePaymentToDeposit"},
    {44, "Deposit"},
    {45, "Item"},
    {46, "DataExtDef"},
    {47, "DataExt"},
    {48, "Charge"},
    {49, "ItemInventoryAssembly"},
    {50, "InventoryAdjustment"},
    {51, "SalesTaxPaymentCheck"},
    {52, "SalesOrder"},
    {53, "Currency"},
    {54, "TaxCodes"},
    {55, "Template"},
    {56, "Company"},
    {57, "Entity"},
    {58, "Terms"},
    {59, "ItemReceipt"},
    {60, "PayrollItemNonWage"},
    {61, "ItemFixedAsset"},
    {62, "UIExtensionSubscription"},
    {63, "UIEventSubscription"},
    {64, "PriceLevel"},
    {65, "DataEventSubscription"},
    {66, "ARRefundCreditCard"},
    {67, "Vehicle"},
    {68, "VehicleMileage"},
    {69, "BuildAssembly"},
};

// 3 qoeListType
constexpr EnumEntryData kListType[] = {
    {1, "Account"},
    {2, "Sales Tax Code"},
    {3, "Vendor"},
    {4, "Item"},
    {5, "Customer"},
    {6, "Customer Type"},
    {7, "Job Type"},
    {8, "Vendor Type"},
    {9, "Ship Method"},
    {10, "Class"},
    {11, "Payment Method"},
    {13, "Entity"},
    {14, "Journal Entry"},
    {15, "Terms"},
    {16, "Sales Rep"},
    {17, "Other Name"},
    {18, "Bill"},
    {19, "Employee"},
    {20, "Customer Message"},
    {21, "ToDo"},
    {22, "Payroll Item Wage"},
    {23, "Template"},
    {24, "Payroll Item Non Wage"},
    {54, "Tax Codes"},
    {26, "Currencies"},
};

// 4 qoeJobStatus
constexpr EnumEntryData kJobStatus[] = {
    {0, "None"},        {1, "Pending"}, {2, "Awarded"},
    {3, "In Progress"}, {4, "Closed"},  {5, "Not Awarded"},
};

// 5 qoeDeliveryMethod
constexpr EnumEntryData kDeliveryMethod[] = {
    {0, ""},
    {1, "Print"},
    {2, "Fax"},
    {3, "Email"},
};

// 6 qoeItemType
constexpr EnumEntryData kItemType[] = {
    {1, "Service"},
    {2, "Inventory"},
    {3, "Non Inventory"},
    {4, "Other Charge"},
    {5, "Subtotal"},
    {6, "Group"},
    {7, "Discount"},
    {8, "Payment"},
    {9, "Sales Tax Item"},
    {10, "Sales Tax Group"},
    {11, "Inventory Assembly"},
    {12, "Fixed Asset"},
};

// 7 qoeAccountType
constexpr EnumEntryData kAccountType[] = {
    {1, "Accounts Payable"},
    {2, "Accounts Receivable"},
    {3, "Bank"},
    {4, "Cost Of Goods Sold"},
    {5, "Credit Card"},
    {6, "Equity"},
    {7, "Expense"},
    {8, "Fixed Asset"},
    {9, "Income"},
    {10, "Long Term Liability"},
    {11, "Other Asset"},
    {12, "Other Current Asset"},
    {13, "Other Current Liability"},
    {14, "Other Expense"},
    {15, "Other Income"},
    {16, "Non Posting"},
};

// 8 qoeActiveStatus
constexpr EnumEntryData kActiveStatus[] = {
    {1, "ActiveOnly"},
    {2, "InactiveOnly"},
    {3, "All"},
};

// 10 qoeMonth
constexpr EnumEntryData kMonth[] = {
    {1, "January"},   {2, "February"}, {3, "March"},     {4, "April"},
    {5, "May"},       {6, "June"},     {7, "July"},      {8, "August"},
    {9, "September"}, {10, "October"}, {11, "November"}, {12, "December"},
};

// 11 qoeOperator
constexpr EnumEntryData kOperator[] = {
    {1, "LessThan"},    {2, "LessThanEqual"},    {3, "Equal"},
    {4, "GreaterThan"}, {5, "GreaterThanEqual"},
};

// 14 qoeDateMacro
constexpr EnumEntryData kDateMacro[] = {
    {1, "This Week To Date"},        {2, "This Month To Date"}, {3, "This Fiscal Quarter To Date"},
    {4, "This Fiscal Year To Date"}, {5, "Last Week"},          {6, "Last Month"},
    {7, "Last Fiscal Quarter"},      {8, "Last Fiscal Year"},
};

// 15 qoeTxnPaymentType
constexpr EnumEntryData kTxnPaymentType[] = {
    {1, "Invoice"},
    {2, "CreditMemo"},
    {3, "JournalEntry"},
};

// 16 qoeTxnLineType
constexpr EnumEntryData kTxnLineType[] = {
    {1, "Expense"},
    {2, "Item"},
    {3, "ItemGroup"},
    {4, "Payment"},
};

// 17 qoeGenderType
constexpr EnumEntryData kGenderType[] = {
    {1, "Male"},
    {2, "Female"},
};

// 18 qoeEmployeeType
constexpr EnumEntryData kEmployeeType[] = {
    {1, "Regular"},
    {2, "Officer"},
    {3, "Statutory"},
    {4, "Owner"},
};

// 19 qoeWageType
constexpr EnumEntryData kWageType[] = {
    {1, "Hourly Regular"}, {2, "Hourly Sick"}, {3, "Hourly Vacation"},
    {4, "Salary Regular"}, {5, "Salary Sick"}, {6, "Salary Vacation"},
    {7, "Bonus"},          {8, "Commission"},  {9, "Hourly Overtime"},
};

// 20 qoeMatchType
constexpr EnumEntryData kMatchType[] = {
    {1, "Starts With"},
    {2, "Contains"},
    {3, "Ends With"},
};

// 21 qoePaidStatus
constexpr EnumEntryData kPaidStatus[] = {
    {1, "All"},
    {2, "Paid Only"},
    {3, "Not Paid Only"},
};

// 22 qoeWarnings
constexpr EnumEntryData kWarnings[] = {
    {1, "This item is associated with an expense account"},
    {2,
     "This JournalEntryLine is out of order. All DebitLines must come first, followed by all "
     "CreditLines."},
};

// 23 qoeTxnState
constexpr EnumEntryData kTxnState[] = {
    {1, "Active"},
    {2, "Voided"},
    {3, "Deleted"},
};

// 24 qoeCalculateChargesFrom
constexpr EnumEntryData kCalculateChargesFrom[] = {
    {1, "DueDate"},
    {2, "InvoiceOrBilledDate"},
};

// 25 qoeAgingReportBasis
constexpr EnumEntryData kAgingReportBasis[] = {
    {1, "AgeFromDueDate"},
    {2, "AgeFromTransactionDate"},
};

// 26 qoeSummaryReportBasis
constexpr EnumEntryData kSummaryReportBasis[] = {
    {1, "Accrual"},
    {2, "Cash"},
};

// 27 qoePaySalesTax
constexpr EnumEntryData kPaySalesTax[] = {
    {1, "Monthly"},
    {2, "Quarterly"},
    {3, "Annually"},
};

// 28 qoeDayOfWeek
constexpr EnumEntryData kDayOfWeek[] = {
    {1, "Monday"}, {2, "Tuesday"},  {3, "Wednesday"}, {4, "Thursday"},
    {5, "Friday"}, {6, "Saturday"}, {7, "Sunday"},
};

// 29 qoeLinkedTxnType
constexpr EnumEntryData kLinkedTxnType[] = {
    {1, "Invoice"},
    {2, "Charge"},
    {3, "Check"},
    {4, "CreditMemo"},
    {5, "Deposit"},
    {6, "JournalEntry"},
    {7, "ReceivePayment"},
    {8, "Estimate"},
    {9, "Bill"},
    {10, "BillPaymentCheck"},
    {11, "BillPaymentCreditCard"},
    {12, "CreditCardCharge"},
    {13, "CreditCardCredit"},
    {14, "InventoryAdjustment"},
    {15, "LiabilityAdjustment"},
    {16, "PurchaseOrder"},
    {17, "SalesReceipt"},
    {18, "SalesTaxPaymentCheck"},
    {19, "TimeTracking"},
    {20, "Transfer"},
    {21, "VendorCredit"},
    {22, "ItemReceipt"},
    {23, "SalesOrder"},
    {24, "ARRefundCreditCard"},
};

// 31 qoeReportField
constexpr EnumEntryData kReportField[] = {
    {1, "Account"},
    {2, "Addr1"},
    {3, "Addr2"},
    {4, "Addr3"},
    {5, "Addr4"},
    {6, "Addr5"},
    {7, "Aging"},
    {8, "Amount"},
    {9, "Billed Date"},
    {10, "Billing Status"},
    {11, "Blank"},
    {12, "Class"},
    {13, "Clear"},
    {14, "Credit"},
    {15, "Custom Field"},
    {16, "Date"},
    {17, "Debit"},
    {18, "Due Date"},
    {19, "FOB"},
    {20, "Income Subject To Tax"},
    {21, "Item"},
    {22, "Item Desc"},
    {23, "Label1"},
    {24, "Memo"},
    {25, "Modified Time"},
    {26, "Last Modified By"},
    {27, "Name"},
    {28, "Open Balance"},
    {29, "Original Amount"},
    {30, "Paid Amount"},
    {31, "Paid Status"},
    {32, "Payroll Item"},
    {33, "Payment Method"},
    {34, "Percent"},
    {35, "Percent Change"},
    {36, "Print Status"},
    {37, "Quantity"},
    {38, "Receive Date"},
    {39, "Ref Doc"},
    {40, "Ref Number"},
    {41, "Running Balance"},
    {42, "Sales Rep"},
    {43, "Delivery Date"},
    {44, "Ship Method"},
    {45, "Ship To Addr1"},
    {46, "Ship To Addr2"},
    {47, "Ship To Addr3"},
    {48, "Ship To Addr4"},
    {49, "Ship To Addr5"},
    {50, "Source Name"},
    {51, "Split Account"},
    {52, "SSN Or Tax ID"},
    {53, "Terms"},
    {54, "Thru Date"},
    {55, "Total"},
    {56, "Fld Txn Line"},
    {57, "Txn Number"},
    {58, "Txn Type"},
    {59, "Unit Price"},
    {60, "Wage Base"},
    {61, "Wage Base Tips"},
    {62, "Cleared Status"},
    {63, "Estimate Active"},
    {64, "Cost Price"},
    {65, "Quantity On Hand"},
    {66, "Average Cost"},
    {67, "Value On Hand"},
    {68, "Progress Amount"},
    {69, "Progress Percent"},
    {70, "PO Number"},
    {71, "Received Quantity"},
    {72, "ItemVendor"},
    {73, "ReorderPoint"},
    {74, "Label"},
    {75, "Quantity On Sales Order"},
    {76, "Quantity Available"},
    {77, "Quantity On Order"},
    {78, "Suggested Reorder"},
    {79, "Earliest Receipt Date"},
    {80, "Sales Per Week"},
    {81, "Amount Difference"},
    {82, "Duration"},
    {83, "Percent Of Total Value"},
    {84, "Retail Value On Hand"},
    {85, "Percent Of Total Retail"},
    {86, "Physical Count"},
    {87, "Txn ID"},
    {88, "Tax Table Version"},
    {89, "User Edit"},
    {90, "Calculated Amount"},
    {91, "Is Adjustment"},
    {92, "Quantity On Pending Build"},
    {93, "Invoiced"},
    {94, "Unit Of Measure Unit"},
};

// 32 qoeReportDateMacro
constexpr EnumEntryData kReportDateMacro[] = {
    {1, "All"},
    {2, "Today"},
    {3, "This Week"},
    {4, "This Week To Date"},
    {5, "This Month"},
    {6, "This Month To Date"},
    {7, "This Quarter"},
    {8, "This Quarter To Date"},
    {9, "This Year"},
    {10, "This Year To Date"},
    {11, "Yesterday"},
    {12, "Last Week"},
    {13, "Last Week To Date"},
    {14, "Last Month"},
    {15, "Last Month To Date"},
    {16, "Last Quarter"},
    {17, "Last Quarter To Date"},
    {18, "Last Year"},
    {19, "Last Year To Date"},
    {20, "Next Week"},
    {21, "Next Four Weeks"},
    {22, "Next Month"},
    {23, "Next Quarter"},
    {24, "Next Year"},
    {25, "Custom"},
};

// 33 qoeTxnType
constexpr EnumEntryData kTxnType[] = {
    {1, "All"},
    {2, "Bill"},
    {3, "Bill Payment Check"},
    {4, "Bill Payment Credit Card"},
    {5, "Charge"},
    {6, "Check"},
    {7, "Credit Card Charge"},
    {8, "Credit Card Credit"},
    {9, "Credit Memo"},
    {10, "Deposit"},
    {11, "Estimate"},
    {12, "Inventory Adjustment"},
    {13, "Invoice"},
    {14, "Item Receipt"},
    {15, "Journal Entry"},
    {16, "Liability Adjustment"},
    {17, "Purchase Order"},
    {18, "Receive Payment"},
    {19, "Sales Order"},
    {20, "Sales Receipt"},
    {21, "Sales Tax Payment Check"},
    {22, "Transfer"},
    {23, "Vendor Credit"},
};

// 34 qoeEntityType
constexpr EnumEntryData kEntityType[] = {
    {1, "Customer"},
    {2, "Employee"},
    {3, "Other Name"},
    {4, "Vendor"},
};

// 35 qoeBillableStatus
constexpr EnumEntryData kBillableStatus[] = {
    {1, "Billable"},
    {2, "NotBillable"},
    {3, "HasBeenBilled"},
};

// 36 qoeReportGroup
constexpr EnumEntryData kReportGroup[] = {
    {1, "Company & Financial"},
    {2, "Customers & Recievables"},
    {3, "Sales"},
    {4, "Jobs & Time"},
    {5, "Vendors & Payables"},
    {6, "Purchases"},
    {7, "Inventory"},
    {8, "Employees & Payroll"},
    {9, "Banking"},
    {10, "Accountant & Taxes"},
    {11, "Budgets & Forecasts"},
    {12, "Lists"},
    {13, "Custom"},
};

// 37 qoeReportCalendar
constexpr EnumEntryData kReportCalendar[] = {
    {1, "Fiscal Year"},
    {2, "Calendar Year"},
    {3, "Tax Year"},
};

// 38 qoeReportRowColReturn
constexpr EnumEntryData kReportRowColReturn[] = {
    {1, "Active Only"},
    {2, "Non Zero"},
    {3, "All"},
};

// 39 qoeReportColSortFields
constexpr EnumEntryData kReportColSortFields[] = {
    {1, "Account"},
    {2, "Balance Sheet"},
    {3, "Class"},
    {4, "Customer"},
    {5, "Customer Type"},
    {6, "Day"},
    {7, "Employee"},
    {8, "Four Week"},
    {9, "Half Month"},
    {10, "Income Statement"},
    {11, "Item Detail"},
    {12, "Item Type"},
    {13, "Month"},
    {14, "Payee"},
    {15, "Payment Method"},
    {16, "Payroll Item Detail"},
    {17, "Payroll Ytd Detail"},
    {18, "Quarter"},
    {19, "Sales Rep"},
    {20, "Sales Tax Code"},
    {21, "Ship Method"},
    {22, "Terms"},
    {23, "Total Only"},
    {24, "Two Week"},
    {25, "Vendor"},
    {26, "Vendor Type"},
    {27, "Week"},
    {28, "Year"},
};

// 40 qoeDataExtDataTypes
constexpr EnumEntryData kDataExtDataTypes[] = {
    {1, "INTTYPE"},     {2, "AMTTYPE"},      {3, "PRICETYPE"},  {4, "QUANTYPE"},
    {5, "PERCENTTYPE"}, {6, "DATETIMETYPE"}, {7, "STR255TYPE"}, {8, "STR1024TYPE"},
};

// 41 qoeClearedStatus
constexpr EnumEntryData kClearedStatus[] = {
    {1, "Cleared"},
    {2, "NotCleared"},
    {3, "Pending"},
};

// 42 qoePayrollAccrualPeriod
constexpr EnumEntryData kPayrollAccrualPeriod[] = {
    {1, "Beginning Of Year"},
    {2, "Every Paycheck"},
    {3, "Every Hour On Paycheck"},
};

// 43 qoePayrollPayFrequency
constexpr EnumEntryData kPayrollPayFrequency[] = {
    {1, "Daily"},   {2, "Weekly"},    {3, "Biweekly"}, {4, "Semimonthly"},
    {5, "Monthly"}, {6, "Quarterly"}, {7, "Yearly"},
};

// 44 qoeReportAccountFilters
constexpr EnumEntryData kReportAccountFilters[] = {
    {1, "Accounts Payable"},
    {2, "Accounts Receivable"},
    {3, "Allowed For 1099"},
    {4, "AP And Sales Tax"},
    {5, "AP Or Credit Card"},
    {6, "AR And AP"},
    {7, "Asset"},
    {8, "Balance Sheet"},
    {9, "Bank"},
    {10, "Bank And AR And AP And UF"},
    {11, "Bank And UF"},
    {12, "Cost Of Sales"},
    {13, "Credit Card"},
    {14, "Current Asset"},
    {15, "Current Asset And Expense"},
    {16, "Current Liability"},
    {17, "Equity"},
    {18, "Equity And Income And Expense"},
    {19, "Expense And Other Expense"},
    {20, "Fixed Asset"},
    {21, "Income And Expense"},
    {22, "Income And Other Income"},
    {23, "Liability"},
    {24, "Liability And Equity"},
    {25, "Long Term Liability"},
    {26, "Non Posting"},
    {27, "Ordinary Expense"},
    {28, "Ordinary Income"},
    {29, "Ordinary Income And COGS"},
    {30, "Ordinary Income And Expense"},
    {31, "Other Asset"},
    {32, "Other Current Asset"},
    {33, "Other Current Liability"},
    {34, "Other Expense"},
    {35, "Other Income"},
    {36, "Other Income Or Expense"},
};

// 45 qoeReportBudgetCriterion
constexpr EnumEntryData kReportBudgetCriterion[] = {
    {1, "Accounts"},
    {2, "AccountsAndClasses"},
    {3, "AccountsAndCustomers"},
};

// 46 qoeReportBudgetSumColsByEnum
constexpr EnumEntryData kReportBudgetSumColsByEnum[] = {
    {1, "Date"},
    {2, "Class"},
    {3, "Customer"},
};

// 47 qoeReportBudgetSumRowsByEnum
constexpr EnumEntryData kReportBudgetSumRowsByEnum[] = {
    {1, "Account"},
    {2, "Class"},
    {3, "Customer"},
};

// 48 qoeReportDetailLevelFilterEnum
constexpr EnumEntryData kReportDetailLevelFilterEnum[] = {
    {1, "All"},
    {2, "Summary Only"},
    {3, "All Except Summary"},
};

// 49 qoeReportPostingStatusFilter
constexpr EnumEntryData kReportPostingStatusFilter[] = {
    {1, "Either"},
    {2, "NonP osting"},
    {3, "Posting"},
};

// 50 qoeCashFlowClassification
constexpr EnumEntryData kCashFlowClassification[] = {
    {1, "None"}, {2, "Operating"}, {3, "Investing"}, {4, "Financing"}, {5, "Not Applicable"},
};

// 51 qoeSpecialAcountType
constexpr EnumEntryData kSpecialAcountType[] = {
    {1, "AccountsPayable"},
    {2, "AccountsReceivable"},
    {3, "CondenseItemAdjustmentExpenses"},
    {4, "CostOfGoodsSold"},
    {5, "DirectDepositLiabilities"},
    {6, "Estimates"},
    {7, "InventoryAssets"},
    {8, "OpeningBalanceEquity"},
    {9, "PayrollExpenses"},
    {10, "PayrollLiabilities"},
    {11, "PurchaseOrders"},
    {12, "RetainedEarnings"},
    {13, "SalesOrders"},
    {14, "SalesTaxPayable"},
    {15, "UncategorizedExpenses"},
    {16, "UncategorizedIncome"},
    {17, "UndepositedFunds"},
};

// 52 qoePayrollItemNonWage
constexpr EnumEntryData kPayrollItemNonWage[] = {
    {1, "Addition"}, {2, "Deduction"}, {3, "Contribution"}, {4, "Tax"}, {5, "Direct Deposit"},
};

// 53 qoeDataBaseTableName
constexpr EnumEntryData kDataBaseTableName[] = {
    {1, "Account"},
    {2, "SalesTaxCode"},
    {3, "ItemService"},
    {4, "ItemInventory"},
    {5, "ItemNonInventory"},
    {6, "ItemOtherCharge"},
    {7, "ItemSubtotal"},
    {8, "ItemGroup"},
    {9, "ItemDiscount"},
    {10, "ItemPayment"},
    {11, "ItemSalesTax"},
    {12, "ItemSalesTaxGroup"},
    {14, "Customer"},
    {13, "Class"},
    {15, "PaymentMethod"},
    {16, "CustomerType"},
    {17, "JobType"},
    {18, "VendorType"},
    {19, "ShipMethod"},
    {20, "Vendor"},
    {21, "OtherName"},
    {22, "JournalEntry"},
    {23, "Bill"},
    {24, "StandardTerms"},
    {25, "DateDrivenTerms"},
    {26, "Employee"},
    {27, "Check"},
    {28, "SalesRep"},
    {29, "PurchaseOrder"},
    {30, "CustomerMessage"},
    {31, "ToDo"},
    {32, "VendorCredit"},
    {33, "CreditCardCharge"},
    {34, "CreditCardCredit"},
    {35, "TimeTracking"},
    {36, "Invoice"},
    {37, "PayrollItemWage"},
    {38, "SalesReceipt"},
    {39, "CreditMemo"},
    {40, "Estimate"},
    {41, "ReceivePayment"},
    {42, "BillPayment"},
    {43, "Deposit"},
    {44, "Item"},
    {45, "Entity"},
    {46, "Terms"},
    {47, "Charge"},
    {48, "ItemInventoryAssembly"},
    {49, "InventoryAdjustment"},
    {50, "ReceivePaymentToDeposit"},
    {51, "SalesTaxPaymentCheck"},
    {52, "SalesOrder"},
    {53, "PayrollItemNonWage"},
    {54, "ItemFixedAsset"},
    {55, "ItemReceipt"},
    {56, "Template"},
    {57, "PriceLevel"},
    {58, "BillPaymentCheck"},
    {59, "BillPaymentCreditCard"},
    {60, "ARRefundCreditCard"},
    {61, "BuildAssembly"},
    {62, "Vehicle"},
    {63, "VehicleMileage"},
    {64, "CustomFieldDefinitions", "DataExtDef"},
    {65, "Currency"},
};

// 54 qoeMenuConditions
constexpr EnumEntryData kMenuConditions[] = {
    {1, "MultiUserMode"},       {2, "HasCustomers"},          {3, "HasVendors"},
    {4, "InventoryEnabled"},    {5, "ClassesEnabled"},        {6, "PayrollEnabled"},
    {7, "TimeTrackingEnabled"}, {8, "PriceLevelsEnabled"},    {9, "AssemblyItemsEnabled"},
    {10, "SalesOrdersEnabled"}, {11, "EstimatesEnabled"},     {12, "SalesTaxEnabled"},
    {13, "IsAccountantCopy"},   {14, "AccountantCopyExists"},
};

// 55 qoeMenuNames
constexpr EnumEntryData kMenuNames[] = {
    {1, "File"}, {2, "Company"}, {3, "Customers"}, {4, "Vendors"}, {5, "Employees"}, {6, "Banking"},
};

// 56 qoeFieldNames
constexpr EnumEntryData kFieldNames[] = {
    {1, "Full Name"},
    {2, "List ID"},
    {3, "Sales Description", "SalesDesc"},
    {4, "Item Type"},
    {5, "Txn ID"},
    {6, "Is Active"},
    {7, "Custom Field 1"},
    {8, "Custom Field 2"},
    {9, "Custom Field 3"},
    {10, "Custom Field 4"},
    {11, "Custom Field 5"},
    {12, "Custom Field 6"},
    {13, "Custom Field 7"},
    {14, "Name"},
    {100, "Company Name"},
    {102, "Salutation"},
    {103, "First Name"},
    {104, "Last Name"},
    {105, "Phone"},
    {106, "Alt Phone"},
    {107, "Fax"},
    {108, "Email"},
    {109, "Contact"},
    {110, "Alt Contact"},
    {111, "Customer Type"},
    {112, "Customer Terms"},
    {113, "Sales Rep"},
    {114, "Balance"},
    {115, "Total Balance"},
    {118, "Resale Number"},
    {119, "Account Number"},
    {200, "On Hand"},
    {201, "On Sales Order"},
    {202, "On Order"},
    {203, "Price"},
};

// 9 qoeTaxForm, 12 qoeField and 13 qoeFileOpenMode get no entries; 30 qoeReport holds the
// report catalogue.

// Unregistered: kinds of terms records, and the done status of to-do queries.
constexpr EnumEntryData kTermsKind[] = {
    {0, "Terms"},
    {1, "Standard Terms"},
    {2, "Date Driven Terms"},
};

constexpr EnumEntryData kDoneStatus[] = {
    {1, "All"},
    {2, "DoneOnly"},
    {3, "NotDoneOnly"},
};

constexpr EnumTableData kRegistered[] = {
    {qoeObjectState, "ObjectState", kObjectState},
    {qoeObjectType, "ObjectType", kObjectType},
    {qoeListType, "ListType", kListType},
    {qoeJobStatus, "JobStatus", kJobStatus},
    {qoeDeliveryMethod, "DeliveryMethod", kDeliveryMethod},
    {qoeItemType, "ItemType", kItemType},
    {qoeAccountType, "AccountType", kAccountType},
    {qoeActiveStatus, "ActiveStatus", kActiveStatus},
    {qoeTaxForm, "TaxForm", {}},
    {qoeMonth, "Month", kMonth},
    {qoeOperator, "Operator", kOperator},
    {qoeField, "Field", {}},
    {qoeFileOpenMode, "FileOpenMode", {}},
    {qoeDateMacro, "DateMacro", kDateMacro},
    {qoeTxnPaymentType, "TxnPaymentType", kTxnPaymentType},
    {qoeTxnLineType, "TxnLineType", kTxnLineType},
    {qoeGenderType, "GenderType", kGenderType},
    {qoeEmployeeType, "EmployeeType", kEmployeeType},
    {qoeWageType, "WageType", kWageType},
    {qoeMatchType, "MatchType", kMatchType},
    {qoePaidStatus, "PaidStatus", kPaidStatus},
    {qoeWarnings, "Warnings", kWarnings},
    {qoeTxnState, "TxnState", kTxnState},
    {qoeCalculateChargesFrom, "CalculateChargesFrom", kCalculateChargesFrom},
    {qoeAgingReportBasis, "AgingReportBasis", kAgingReportBasis},
    {qoeSummaryReportBasis, "SummaryReportBasis", kSummaryReportBasis},
    {qoePaySalesTax, "PaySalesTax", kPaySalesTax},
    {qoeDayOfWeek, "FirstDayOfWeek", kDayOfWeek},
    {qoeLinkedTxnType, "TxnType", kLinkedTxnType},
    {qoeReport, "ReportTypes", {}},
    {qoeReportField, "ReportFields", kReportField},
    {qoeReportDateMacro, "Report Date Macros", kReportDateMacro},
    {qoeTxnType, "Txn Types", kTxnType},
    {qoeEntityType, "Entity Types", kEntityType},
    {qoeBillableStatus, "Billable Status", kBillableStatus},
    {qoeReportGroup, "Report Groups", kReportGroup},
    {qoeReportCalendar, "Report Calendar", kReportCalendar},
    {qoeReportRowColReturn, "Report Row/Col Returns", kReportRowColReturn},
    {qoeReportColSortFields, "Report Column Sort Fields", kReportColSortFields},
    {qoeDataExtDataTypes, "Data Extensions Data Types", kDataExtDataTypes},
    {qoeClearedStatus, "Cleared Status", kClearedStatus},
    {qoePayrollAccrualPeriod, "Payroll Accrual Period", kPayrollAccrualPeriod},
    {qoePayrollPayFrequency, "Pay Periods", kPayrollPayFrequency},
    {qoeReportAccountFilters, "Report Account Filters", kReportAccountFilters},
    {qoeReportBudgetCriterion, "Budget Criterion", kReportBudgetCriterion},
    {qoeReportBudgetSumColsByEnum, "Budget Summarize Cols By", kReportBudgetSumColsByEnum},
    {qoeReportBudgetSumRowsByEnum, "Budget Summarize Rows By", kReportBudgetSumRowsByEnum},
    {qoeReportDetailLevelFilterEnum, "Report Detail Level Filter", kReportDetailLevelFilterEnum},
    {qoeReportPostingStatusFilter, "Report Posting Status Filter", kReportPostingStatusFilter},
    {qoeCashFlowClassification, "Cash Flow Classification", kCashFlowClassification},
    {qoeSpecialAcountType, "Special Account Type", kSpecialAcountType},
    {qoePayrollItemNonWage, "Payroll Items Non-Wage", kPayrollItemNonWage},
    {qoeDataBaseTableName, "Database Table Name", kDataBaseTableName},
    {qoeMenuConditions, "Menu Conditions", kMenuConditions},
    {qoeMenuNames, "Menu Names", kMenuNames},
    {qoeFieldNames, "Field Names", kFieldNames},
};

static_assert(std::size(kRegistered) == kEnumerationTableCount);

constexpr bool RegisteredInTypeOrder() {
  for (size_t i = 0; i < std::size(kRegistered); ++i) {
    if (kRegistered[i].type != static_cast<int32_t>(i + 1)) return false;
  }
  return true;
}
static_assert(RegisteredInTypeOrder(), "a table's position must equal its qoEnumerationType");

}  // namespace

std::span<const EnumTableData> RegisteredEnumTables() noexcept { return kRegistered; }
std::span<const EnumEntryData> TermsKindEntries() noexcept { return kTermsKind; }
std::span<const EnumEntryData> DoneStatusEntries() noexcept { return kDoneStatus; }

}  // namespace brennock
