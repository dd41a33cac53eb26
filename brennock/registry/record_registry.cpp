#include "brennock/internal/registry/record_registry.h"

#include <cctype>
#include <string>

#include "brennock/items/items.h"
#include "brennock/lists/account.h"
#include "brennock/lists/currency_type.h"
#include "brennock/lists/customer.h"
#include "brennock/lists/employee.h"
#include "brennock/lists/entities.h"
#include "brennock/lists/hierarchical_lists.h"
#include "brennock/lists/named_lists.h"
#include "brennock/lists/other_name.h"
#include "brennock/lists/payroll_items.h"
#include "brennock/lists/price_level.h"
#include "brennock/lists/sales_rep.h"
#include "brennock/lists/tax_codes.h"
#include "brennock/lists/template.h"
#include "brennock/lists/terms.h"
#include "brennock/lists/to_do.h"
#include "brennock/lists/vendor.h"
#include "brennock/transactions/assembly_build.h"
#include "brennock/transactions/bill.h"
#include "brennock/transactions/bill_payment.h"
#include "brennock/transactions/card_txn.h"
#include "brennock/transactions/check.h"
#include "brennock/transactions/credit_memo.h"
#include "brennock/transactions/deposit.h"
#include "brennock/transactions/estimate.h"
#include "brennock/transactions/inventory_adjustment.h"
#include "brennock/transactions/invoice.h"
#include "brennock/transactions/journal_entry.h"
#include "brennock/transactions/purchase_order.h"
#include "brennock/transactions/receive_payment.h"
#include "brennock/transactions/sales_order.h"
#include "brennock/transactions/sales_receipt.h"
#include "brennock/transactions/sales_tax_payment_check.h"
#include "brennock/transactions/statement_charge.h"
#include "brennock/transactions/time_tracking.h"
#include "brennock/transactions/undeposited_fund.h"
#include "brennock/transactions/vendor_credit.h"

namespace brennock {
namespace {

template <class Collection>
std::shared_ptr<CollectionCore> New() {
  return std::make_shared<Collection>();
}

constexpr std::string_view kNotAllowed = "XMLModify not allowed";
constexpr std::string_view kNotSupported = "XMLModify not supported";
constexpr std::string_view kModifyNotAllowed = "Modify not allowed";
constexpr std::string_view kGroupModifyRefused = "modify not supported";
constexpr std::string_view kModRqRefused = "ModRq not supported";

// QuickBooks' rules for the usual list: add, delete, the common query filters.
constexpr uint16_t kAddDelete = kCanAdd | kCanDelete | kFilters;
constexpr uint16_t kFull = kAddDelete | kCanModify;
constexpr uint16_t kItem = kFull | kIterates;

// clang-format off
constexpr RecordFamily kList = RecordFamily::kList;
constexpr RecordFamily kTxn = RecordFamily::kTransaction;
constexpr auto kNoList = static_cast<qoEnumListType>(0);
// A transaction QuickBooks adds, modifies, deletes and voids, queried with every filter.
constexpr uint32_t kSalesTxn = kCanAdd | kCanModify | kCanDelete | kCanVoid | kIterates | kMaster |
                               kPaidStatus | kLineItems | kRefNumbers | kAccountFilter |
                               kEntityFilter;
// The other transactions' queries: PaidStatus, IncludeLinkedTxns, IncludeLineItems and the
// account and ref-number filters only where QuickBooks' schema of the kind has them.
constexpr uint32_t kTxnQueries = kIterates | kMaster | kRefNumbers | kAccountFilter | kEntityFilter;
// The same without PaidStatus: checks, vendor credits, item receipts.
constexpr uint32_t kVendorTxn = kSalesTxn & ~kPaidStatus;

// Every kind of record: the lists first, in the order a company walks them in Lists, then the
// transactions.
constexpr RecordKind kKinds[] = {
  // family, object type, list type, class, qbXML name, XMLModify refusal, flags, Lists key,
  // name space, command word, label, command columns, bindings, collection
  {kList, qoObjectTypeAccount, qoListAccounts, "Account", "Account", kNotSupported, kFull | kHierarchical | kMaster,
   "Account", "Account", "account", "account", "FullName,AccountType,AccountNumber,Balance,IsActive",
   &Account::Bindings, &New<Accounts>},
  {kList, qoObjectTypeCustomer, qoListCustomers, "Customer", "Customer", {},
   kFull | kHierarchical | kIterates | kMaster | kModChanges, "Customer", "Entity", "customer", "customer",
   "FullName,Phone,Email,Balance,IsActive", &Customer::Bindings, &New<Customers>},
  {kList, qoObjectTypeSalesTaxCode, qoListSalesTaxCodes, "SalesTaxCode", "SalesTaxCode", kNotSupported, kFull | kMaster,
   "SalesTaxCode", "SalesTaxCode", "salestaxcode", "sales tax code", "Name,IsTaxable,Desc,IsActive",
   &SalesTaxCode::Bindings, &New<SalesTaxCodes>},
  // Every kind of item in one collection, the Item row's.
  {kList, qoObjectTypeItem, qoListItems, "Item", "Item", {}, kMixed | kHierarchical | kIterates | kFilters | kMaster,
   "Item", "Item", "item", "item", "Type,Name,IsActive", nullptr, &New<Items>},
  {kList, qoObjectTypeVendor, qoListVendors, "Vendor", "Vendor", {}, kFull | kIterates | kMaster, "Vendor", "Entity",
   "vendor", "vendor", "Name,CompanyName,Phone,Balance,IsActive", &Vendor::Bindings, &New<Vendors>},
  {kList, qoObjectTypeOtherName, qoListOtherNames, "OtherName", "OtherName", {}, kFull | kMaster, "OtherName", "Entity",
   "othername", "other name", "Name,Phone,IsActive", &OtherName::Bindings, &New<OtherNames>},
  // Both kinds of terms are filed in the Terms row's collection.
  {kList, qoObjectTypeTerms, qoListTerms, "qcTerm", "Terms", {}, kMixed | kFilters | kMaster, "Terms", "Terms", "terms",
   "terms", "Type,Name,StdDueDays,DayOfMonthDue,IsActive", nullptr, &New<Terms>},
  {kList, qoObjectTypeEmployee, qoListEmployees, "Employee", "Employee", {}, kFull | kMaster | kModChanges, "Employee", "Entity",
   "employee", "employee", "Name,Phone,Email,IsActive", &Employee::Bindings, &New<Employees>},
  {kList, qoObjectTypeSalesRep, qoListSalesReps, "SalesRep", "SalesRep", kNotSupported, kFull | kMaster,
   "SalesRep", "SalesRep", "salesrep", "sales rep", "Initial,SalesRepEntityRef,IsActive",
   &SalesRep::Bindings, &New<SalesReps>},
  {kList, qoObjectTypeCustomerMsg, qoListCustomerMessages, "CustomerMessage", "CustomerMsg", kModifyNotAllowed,
   kAddDelete | kMaster, "CustomerMessage", "CustomerMsg", "customermsg", "customer message", "Name,IsActive",
   &NamedListRecord::Bindings, &New<CustomerMessages>},
  {kList, qoObjectTypeToDo, qoListToDos, "ToDo", "ToDo", {}, kFull | kMaster, "ToDo", "ToDo", "todo", "to-do",
   "Notes,IsDone,ReminderDate,IsActive", &ToDo::Bindings, &New<ToDoList>},
  {kList, qoObjectTypeClass, qoListClasses, "Class", "Class", kNotAllowed, kFull | kHierarchical | kMaster,
   "Class", "Class", "class", "class", "FullName,IsActive", &HierarchicalListRecord::Bindings, &New<Classes>},
  {kList, qoObjectTypePaymentMethod, qoListPaymentMethods, "PaymentMethod", "PaymentMethod", kModifyNotAllowed,
   kAddDelete | kMaster, "PaymentMethod", "PaymentMethod", "paymentmethod", "payment method", "Name,IsActive",
   &NamedListRecord::Bindings, &New<PaymentMethods>},
  {kList, qoObjectTypeCustomerType, qoListCustomerTypes, "CustomerType", "CustomerType", kNotAllowed,
   kAddDelete | kHierarchical | kMaster, "CustomerType", "CustomerType", "customertype", "customer type",
   "FullName,IsActive", &HierarchicalListRecord::Bindings, &New<CustomerTypes>},
  {kList, qoObjectTypeJobType, qoListJobTypes, "JobType", "JobType", kNotAllowed, kAddDelete | kHierarchical | kMaster,
   "JobType", "JobType", "jobtype", "job type", "FullName,IsActive", &HierarchicalListRecord::Bindings,
   &New<JobTypes>},
  {kList, qoObjectTypeVendorType, qoListVendorTypes, "VendorType", "VendorType", kNotAllowed,
   kAddDelete | kHierarchical | kMaster, "VendorType", "VendorType", "vendortype", "vendor type",
   "FullName,IsActive", &HierarchicalListRecord::Bindings, &New<VendorTypes>},
  {kList, qoObjectTypeShipMethod, qoListShipMethods, "ShipMethod", "ShipMethod", kModifyNotAllowed, kAddDelete | kMaster,
   "ShipMethod", "ShipMethod", "shipmethod", "ship method", "Name,IsActive", &NamedListRecord::Bindings,
   &New<ShipMethods>},
  // Read and deleted only; among the company's Lists, not its master collections.
  {kList, qoObjectTypeTemplate, qoListTemplates, "Template", "Template", kNotSupported, kCanDelete, "Template",
   "Template", "template", "template", "Name,TemplateType,IsActive", &Template::Bindings, &New<Templates>},
  // Reads all four kinds of names; its records are saved through their own lists.
  {kList, qoObjectTypeEntity, qoListEntities, "Entity", "Entity", {}, kMixed | kIterates | kFilters | kMaster, "Entity",
   "Entity", "entity", "entity", "Type,Name,Phone,IsActive", nullptr, &New<Entities>},
  {kList, qoObjectTypePayrollItemWage, qoListPayrollItemWages, "PayrollItemWage", "PayrollItemWage", kNotAllowed,
   kFull | kMaster, "PayrollItemWage", "PayrollItem", "payrollitemwage", "wage payroll item",
   "Name,WageType,IsActive", &PayrollItemWage::Bindings, &New<PayrollItemWages>},
  {kList, qoObjectTypeTaxCodes, qoListTaxCodes, "TaxCode", "TaxCodes", kNotSupported, 0, "TaxCodes", "TaxCodes",
   "taxcode", "tax code", "Name,Desc,IsActive", &TaxCode::Bindings, &New<TaxCodes>},
  {kList, qoObjectTypePriceLevel, static_cast<qoEnumListType>(0), "PriceLevel", "PriceLevel", kNotAllowed, kFull, "PriceLevels",
   "PriceLevel", "pricelevel", "price level", "Name,PriceLevelType,PriceLevelFixedPercentage,IsActive",
   &PriceLevel::Bindings, &New<PriceLevels>},
  // Not among the company's Lists.
  {kList, qoObjectTypeCurrency, qoListCurrencies, "CurrencyType", "Currency", kNotSupported, kFull | kMaster, {},
   "Currency", "currency", "currency", "Name,CurrencyCode,IsActive", &CurrencyType::Bindings,
   &New<CurrencyTypes>},
  {kList, qoObjectTypePayrollItemNonWage, qoListPayrollItemNonWages, "PayrollItemNonWage", "PayrollItemNonWage",
   kNotAllowed, kCanDelete | kFilters, {}, "PayrollItem", "payrollitemnonwage", "non-wage payroll item",
   "Name,NonWageType,IsActive", &PayrollItemNonWage::Bindings, &New<PayrollItemNonWages>},
  // Lists the library has no record class for yet: the simulator and the command use them.
  {kList, qoObjectTypeStandardTerms, qoListTerms, "StandardTerm", "StandardTerms", kNotSupported, kAddDelete, {},
   "Terms", "standardterms", "standard terms", "Name,StdDueDays,StdDiscountDays,DiscountPct,IsActive",
   &StandardTerm::Bindings},
  {kList, qoObjectTypeDateDrivenTerms, qoListTerms, "DateDrivenTerm", "DateDrivenTerms", kNotSupported, kAddDelete, {},
   "Terms", "datedriventerms", "date-driven terms", "Name,DayOfMonthDue,DueNextMonthDays,IsActive",
   &DateDrivenTerm::Bindings},
  {kList, qoObjectTypeItemService, qoListItems, "ItemService", "ItemService", {}, kItem | kHierarchical, {}, "Item",
   "itemservice", "service item", "FullName,SalesOrPurchase.Price,IsActive", &ItemService::Bindings},
  {kList, qoObjectTypeItemNonInventory, qoListItems, "ItemNonInventory", "ItemNonInventory", {}, kItem | kHierarchical,
   {}, "Item", "itemnoninventory", "non-inventory item", "FullName,SalesOrPurchase.Price,IsActive",
   &ItemNonInventory::Bindings},
  {kList, qoObjectTypeItemOtherCharge, qoListItems, "ItemOtherCharge", "ItemOtherCharge", {}, kItem | kHierarchical,
   {}, "Item", "itemothercharge", "other charge item", "FullName,SalesOrPurchase.Price,IsActive",
   &ItemOtherCharge::Bindings},
  {kList, qoObjectTypeItemInventory, qoListItems, "ItemInventory", "ItemInventory", {}, kItem | kHierarchical, {},
   "Item", "iteminventory", "inventory item", "FullName,SalesPrice,QuantityOnHand,IsActive",
   &ItemInventory::Bindings},
  {kList, qoObjectTypeItemAssembly, qoListItems, "ItemAssembly", "ItemInventoryAssembly", {},
   kItem | kHierarchical, {}, "Item", "iteminventoryassembly", "inventory assembly item",
   "FullName,SalesPrice,IsActive", &ItemAssembly::Bindings},
  {kList, qoObjectTypeItemFixedAssset, qoListItems, "ItemFixedAsset", "ItemFixedAsset", {}, kItem, {}, "Item",
   "itemfixedasset", "fixed asset item", "Name,PurchaseCost,IsActive", &ItemFixedAsset::Bindings},
  {kList, qoObjectTypeItemSubtotal, qoListItems, "ItemSubtotal", "ItemSubtotal", {}, kItem, {}, "Item", "itemsubtotal",
   "subtotal item", "Name,ItemDesc,IsActive", &ItemSubtotal::Bindings},
  {kList, qoObjectTypeItemDiscount, qoListItems, "ItemDiscount", "ItemDiscount", kModifyNotAllowed,
   kItem | kHierarchical, {}, "Item", "itemdiscount", "discount item",
   "FullName,DiscountRate,DiscountRatePercent,IsActive", &ItemDiscount::Bindings},
  {kList, qoObjectTypeItemPayment, qoListItems, "ItemPayment", "ItemPayment", kNotSupported, kItem, {}, "Item",
   "itempayment", "payment item", "Name,ItemDesc,IsActive", &ItemPayment::Bindings},
  {kList, qoObjectTypeItemSalesTax, qoListItems, "ItemSalesTax", "ItemSalesTax", {}, kItem, {}, "Item", "itemsalestax",
   "sales tax item", "Name,TaxRate,TaxVendorRef,IsActive", &ItemSalesTax::Bindings},
  {kList, qoObjectTypeItemSalesTaxGroup, qoListItems, "ItemSalesTaxGroup", "ItemSalesTaxGroup", kNotSupported, kItem,
   {}, "Item", "itemsalestaxgroup", "sales tax group item", "Name,ItemDesc,IsActive",
   &ItemSalesTaxGroup::Bindings},
  {kList, qoObjectTypeItemGroup, qoListItems, "ItemGroup", "ItemGroup", kGroupModifyRefused, kItem, {}, "Item",
   "itemgroup", "group item", "Name,ItemDesc,IsActive", &ItemGroup::Bindings},

  // Transactions. Their command words, labels and columns are the command's (cli/app/txn_kinds).
  {kTxn, qoObjectTypeInvoice, kNoList, "Invoice", "Invoice", {}, kSalesTxn | kLinkedTxns, {}, {}, {},
   {}, {}, &Invoice::Bindings, &New<Invoices>},
  // QuickBooks adds sales receipts and customer payments; the library sends no Mod of them.
  {kTxn, qoObjectTypeSalesReceipt, kNoList, "SalesReceipt", "SalesReceipt", kModRqRefused,
   kCanAdd | kCanDelete | kCanVoid | kLineItems | kTxnQueries, {}, {}, {}, {}, {},
   &SalesReceipt::Bindings, &New<SalesReceipts>},
  {kTxn, qoObjectTypeCreditMemo, kNoList, "CreditMemo", "CreditMemo", {},
   kCanAdd | kCanModify | kCanDelete | kCanVoid | kLineItems | kLinkedTxns | kTxnQueries, {}, {},
   {}, {}, {}, &CreditMemo::Bindings, &New<CreditMemos>},
  {kTxn, qoObjectTypeEstimate, kNoList, "Estimate", "Estimate", {},
   kCanAdd | kCanModify | kCanDelete | kLineItems | kLinkedTxns | kTxnQueries, {}, {}, {}, {}, {},
   &Estimate::Bindings, &New<Estimates>},
  // A sales order's query takes no account filter.
  {kTxn, qoObjectTypeSalesOrder, kNoList, "SalesOrder", "SalesOrder", {},
   kCanAdd | kCanModify | kCanDelete | kCanVoid | kLineItems | kLinkedTxns |
       (kTxnQueries & ~kAccountFilter),
   {}, {}, {}, {}, {}, &SalesOrder::Bindings, &New<SalesOrders>},
  // Statement charges: the Delete type "Charge"; no line items, no ref-number filters.
  {kTxn, qoObjectTypeCharge, kNoList, "StatementCharge", "Charge", {},
   kCanAdd | kCanModify | kCanDelete | kLinkedTxns | (kTxnQueries & ~kRefNumbers), {}, {}, {}, {},
   {}, &StatementCharge::Bindings, &New<StatementCharges>},
  {kTxn, qoObjectTypeReceivePayment, kNoList, "ReceivePayment", "ReceivePayment", kModRqRefused,
   kCanAdd | kCanDelete | kLineItems | kTxnQueries, {}, {}, {}, {}, {},
   &ReceivePayment::Bindings, &New<ReceivePayments>},
  // Modified from qbXML 7.0 on (the record refuses below it).
  {kTxn, qoObjectTypeDeposit, kNoList, "Deposit", "Deposit", {},
   kCanAdd | kCanModify | kCanDelete | kCanVoid | kLineItems | (kTxnQueries & ~kRefNumbers), {},
   {}, {}, {}, {}, &Deposit::Bindings, &New<Deposits>},
  // What waits in Undeposited Funds: read only, one query without filters.
  {kTxn, qoObjectTypeReceivePaymentToDeposit, kNoList, "UndepositedFund", "ReceivePaymentToDeposit",
   kModRqRefused, kMaster, {}, {}, {}, {}, {}, &UndepositedFund::Bindings,
   &New<UndepositedFunds>},
  // QuickBooks writes these checks when it pays the sales tax; read only here.
  {kTxn, qoObjectTypeSalesTaxPaymentCheck, kNoList, "SalesTaxPaymentCheck", "SalesTaxPaymentCheck",
   kModRqRefused, kLineItems | kTxnQueries, {}, {}, {}, {}, {}, &SalesTaxPaymentCheck::Bindings,
   &New<SalesTaxPaymentChecks>},
  // Time: no void, no line items; its entity filter is TimeTrackingEntityFilter.
  {kTxn, qoObjectTypeTimeTracking, kNoList, "TimeTracking", "TimeTracking", {},
   kCanAdd | kCanModify | kCanDelete | kIterates | kMaster | kEntityFilter | kOwnEntityFilter, {},
   {}, {}, {}, {}, &TimeTracking::Bindings, &New<TimeTrackings>},
  // QuickBooks adds adjustments; the library sends no Mod of them. No ref-number queries here.
  {kTxn, qoObjectTypeInventoryAdjustment, kNoList, "InventoryAdjustment", "InventoryAdjustment",
   kModRqRefused, kCanAdd | kCanDelete | kLineItems | (kTxnQueries & ~kRefNumbers), {}, {}, {},
   {}, {}, &InventoryAdjustment::Bindings, &New<InventoryAdjustments>},
  // Builds: added and deleted, queried by dates only.
  {kTxn, qoObjectTypeBuildAssembly, kNoList, "AssemblyBuild", "BuildAssembly", kModifyNotAllowed,
   kCanAdd | kCanDelete | kIterates | kMaster, {}, {}, {}, {}, {}, &AssemblyBuild::Bindings,
   &New<AssemblyBuilds>},
  {kTxn, qoObjectTypeBill, kNoList, "Bill", "Bill", {}, kSalesTxn | kLinkedTxns, {}, {}, {},
   {}, {}, &Bill::Bindings, &New<Bills>},
  {kTxn, qoObjectTypeCheck, kNoList, "Check", "Check", {}, kVendorTxn | kLinkedTxns, {}, {}, {},
   {}, {}, &Check::Bindings, &New<Checks>},
  {kTxn, qoObjectTypeVendorCredit, kNoList, "VendorCredit", "VendorCredit", {},
   kVendorTxn | kLinkedTxns, {}, {}, {}, {}, {}, &VendorCredit::Bindings, &New<VendorCredits>},
  // Closed, never voided; its query takes no PaidStatus.
  {kTxn, qoObjectTypePurchaseOrder, kNoList, "PurchaseOrder", "PurchaseOrder", {},
   (kVendorTxn & ~kCanVoid) | kLinkedTxns, {}, {}, {}, {}, {}, &PurchaseOrder::Bindings,
   &New<PurchaseOrders>},
  {kTxn, qoObjectTypeItemReceipt, kNoList, "ItemReceipt", "ItemReceipt", {},
   kVendorTxn | kLinkedTxns, {}, {}, {}, {}, {}, &ItemReceipt::Bindings, &New<ItemReceipts>},
  {kTxn, qoObjectTypeCreditCardCharge, kNoList, "CreditCardCharge", "CreditCardCharge", {},
   kVendorTxn, {}, {}, {}, {}, {}, &CreditCardCharge::Bindings, &New<CreditCardCharges>},
  {kTxn, qoObjectTypeJournalEntry, kNoList, "JournalEntry", "JournalEntry", {},
   kCanAdd | kCanModify | kCanDelete | kCanVoid | kLineItems | kTxnQueries, {}, {}, {}, {}, {},
   &JournalEntry::Bindings, &New<JournalEntries>},
  // Both kinds of bill payment in one collection: the check stem is the kind's, a card payment is
  // added with its own request (BillPayments).
  {kTxn, qoObjectTypeBillPayment, kNoList, "BillPayment", "BillPaymentCheck", {},
   kCanAdd | kCanModify | kCanDelete | kLineItems | kTxnQueries, {}, {}, {}, {}, {},
   &BillPayment::Bindings, &New<BillPayments>},
  {kTxn, qoObjectTypeCreditCardCredit, kNoList, "CreditCardCredit", "CreditCardCredit",
   "ModRq not supported", kVendorTxn & ~kCanModify, {}, {}, {}, {}, {}, &CreditCardCredit::Bindings,
   &New<CreditCardCredits>},
};
// clang-format on

// Lower case without '-' and '_'.
std::string Folded(std::string_view word) {
  std::string out;
  out.reserve(word.size());
  for (char c : word) {
    if (c == '-' || c == '_') continue;
    out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return out;
}

constexpr size_t ListKindCount() {
  size_t count = 0;
  while (count < std::size(kKinds) && kKinds[count].family == kList) ++count;
  return count;
}

// Hands the table to the records and collections below, before main.
bool Register() {
  RegisterRecordKinds(kKinds);
  return true;
}

}  // namespace

// Named by the library's link interface, so that linking the library keeps this registration.
extern "C" {
extern const bool brennock_record_registry_registered;
const bool brennock_record_registry_registered = Register();
}

std::span<const RecordKind> RecordRegistry() { return kKinds; }
std::span<const RecordKind> ListRegistry() { return std::span(kKinds).first(ListKindCount()); }
std::span<const RecordKind> TransactionRegistry() {
  return std::span(kKinds).subspan(ListKindCount());
}

const RecordKind* FindListKind(qoEnumListType list) {
  for (const RecordKind& kind : ListRegistry())
    if (kind.listType == list) return &kind;
  return nullptr;
}

const RecordKind* FindListKindByStem(std::string_view stem) {
  for (const RecordKind& kind : ListRegistry())
    if (kind.stem == stem) return &kind;
  return nullptr;
}

const RecordKind* FindListKindByCommand(std::string_view word) {
  std::string wanted = Folded(word);
  for (const RecordKind& kind : ListRegistry())
    if (kind.command == wanted || Folded(kind.stem) == wanted) return &kind;
  return nullptr;
}

}  // namespace brennock
