#include "brennock/lists/list_registry.h"

#include <cctype>
#include <string>

#include "brennock/lists/account.h"
#include "brennock/lists/currency_type.h"
#include "brennock/lists/customer.h"
#include "brennock/lists/employee.h"
#include "brennock/lists/entities.h"
#include "brennock/lists/hierarchical_lists.h"
#include "brennock/lists/item_registry.h"
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

namespace brennock {
namespace {

template <class Collection>
std::shared_ptr<ListCollectionCore> New() {
  return std::make_shared<Collection>();
}

constexpr std::string_view kNotAllowed = "XMLModify not allowed";
constexpr std::string_view kNotSupported = "XMLModify not supported";
constexpr std::string_view kModifyNotAllowed = "Modify not allowed";
constexpr std::string_view kGroupModifyRefused = "modify not supported";

// QuickBooks' rules for the usual list: add, delete, the common query filters.
constexpr uint16_t kAddDelete = kCanAdd | kCanDelete | kFilters;
constexpr uint16_t kFull = kAddDelete | kCanModify;
constexpr uint16_t kItem = kFull | kIterates;

// clang-format off
constexpr ListRecordKind kLists[] = {
  // object type, list type, class, qbXML name, XMLModify refusal, flags, Lists key, name space,
  // command word, label, command columns, bindings, collection
  {qoObjectTypeAccount, qoListAccounts, "Account", "Account", kNotSupported, kFull | kHierarchical | kMaster,
   "Account", "Account", "account", "account", "FullName,AccountType,AccountNumber,Balance,IsActive",
   &Account::Bindings, &New<Accounts>},
  {qoObjectTypeCustomer, qoListCustomers, "Customer", "Customer", {},
   kFull | kHierarchical | kIterates | kMaster | kModChanges, "Customer", "Entity", "customer", "customer",
   "FullName,Phone,Email,Balance,IsActive", &Customer::Bindings, &New<Customers>},
  {qoObjectTypeSalesTaxCode, qoListSalesTaxCodes, "SalesTaxCode", "SalesTaxCode", kNotSupported, kFull | kMaster,
   "SalesTaxCode", "SalesTaxCode", "salestaxcode", "sales tax code", "Name,IsTaxable,Desc,IsActive",
   &SalesTaxCode::Bindings, &New<SalesTaxCodes>},
  // Every kind of item in one collection, the Item row's.
  {qoObjectTypeItem, qoListItems, "Item", "Item", {}, kMixed | kHierarchical | kIterates | kFilters | kMaster,
   "Item", "Item", "item", "item", "Type,Name,IsActive", nullptr, &NewItemsCollection},
  {qoObjectTypeVendor, qoListVendors, "Vendor", "Vendor", {}, kFull | kIterates | kMaster, "Vendor", "Entity",
   "vendor", "vendor", "Name,CompanyName,Phone,Balance,IsActive", &Vendor::Bindings, &New<Vendors>},
  {qoObjectTypeOtherName, qoListOtherNames, "OtherName", "OtherName", {}, kFull | kMaster, "OtherName", "Entity",
   "othername", "other name", "Name,Phone,IsActive", &OtherName::Bindings, &New<OtherNames>},
  // Both kinds of terms are filed in the Terms row's collection.
  {qoObjectTypeTerms, qoListTerms, "qcTerm", "Terms", {}, kMixed | kFilters | kMaster, "Terms", "Terms", "terms",
   "terms", "Type,Name,StdDueDays,DayOfMonthDue,IsActive", nullptr, &New<Terms>},
  {qoObjectTypeEmployee, qoListEmployees, "Employee", "Employee", {}, kFull | kMaster | kModChanges, "Employee", "Entity",
   "employee", "employee", "Name,Phone,Email,IsActive", &Employee::Bindings, &New<Employees>},
  {qoObjectTypeSalesRep, qoListSalesReps, "SalesRep", "SalesRep", kNotSupported, kFull | kMaster,
   "SalesRep", "SalesRep", "salesrep", "sales rep", "Initial,SalesRepEntityRef,IsActive",
   &SalesRep::Bindings, &New<SalesReps>},
  {qoObjectTypeCustomerMsg, qoListCustomerMessages, "CustomerMessage", "CustomerMsg", kModifyNotAllowed,
   kAddDelete | kMaster, "CustomerMessage", "CustomerMsg", "customermsg", "customer message", "Name,IsActive",
   &NamedListRecord::Bindings, &New<CustomerMessages>},
  {qoObjectTypeToDo, qoListToDos, "ToDo", "ToDo", {}, kFull | kMaster, "ToDo", "ToDo", "todo", "to-do",
   "Notes,IsDone,ReminderDate,IsActive", &ToDo::Bindings, &New<ToDoList>},
  {qoObjectTypeClass, qoListClasses, "Class", "Class", kNotAllowed, kFull | kHierarchical | kMaster,
   "Class", "Class", "class", "class", "FullName,IsActive", &HierarchicalListRecord::Bindings, &New<Classes>},
  {qoObjectTypePaymentMethod, qoListPaymentMethods, "PaymentMethod", "PaymentMethod", kModifyNotAllowed,
   kAddDelete | kMaster, "PaymentMethod", "PaymentMethod", "paymentmethod", "payment method", "Name,IsActive",
   &NamedListRecord::Bindings, &New<PaymentMethods>},
  {qoObjectTypeCustomerType, qoListCustomerTypes, "CustomerType", "CustomerType", kNotAllowed,
   kAddDelete | kHierarchical | kMaster, "CustomerType", "CustomerType", "customertype", "customer type",
   "FullName,IsActive", &HierarchicalListRecord::Bindings, &New<CustomerTypes>},
  {qoObjectTypeJobType, qoListJobTypes, "JobType", "JobType", kNotAllowed, kAddDelete | kHierarchical | kMaster,
   "JobType", "JobType", "jobtype", "job type", "FullName,IsActive", &HierarchicalListRecord::Bindings,
   &New<JobTypes>},
  {qoObjectTypeVendorType, qoListVendorTypes, "VendorType", "VendorType", kNotAllowed,
   kAddDelete | kHierarchical | kMaster, "VendorType", "VendorType", "vendortype", "vendor type",
   "FullName,IsActive", &HierarchicalListRecord::Bindings, &New<VendorTypes>},
  {qoObjectTypeShipMethod, qoListShipMethods, "ShipMethod", "ShipMethod", kModifyNotAllowed, kAddDelete | kMaster,
   "ShipMethod", "ShipMethod", "shipmethod", "ship method", "Name,IsActive", &NamedListRecord::Bindings,
   &New<ShipMethods>},
  // Read and deleted only; among the company's Lists, not its master collections.
  {qoObjectTypeTemplate, qoListTemplates, "Template", "Template", kNotSupported, kCanDelete, "Template",
   "Template", "template", "template", "Name,TemplateType,IsActive", &Template::Bindings, &New<Templates>},
  // Reads all four kinds of names; its records are saved through their own lists.
  {qoObjectTypeEntity, qoListEntities, "Entity", "Entity", {}, kMixed | kIterates | kFilters | kMaster, "Entity",
   "Entity", "entity", "entity", "Type,Name,Phone,IsActive", nullptr, &New<Entities>},
  {qoObjectTypePayrollItemWage, qoListPayrollItemWages, "PayrollItemWage", "PayrollItemWage", kNotAllowed,
   kFull | kMaster, "PayrollItemWage", "PayrollItem", "payrollitemwage", "wage payroll item",
   "Name,WageType,IsActive", &PayrollItemWage::Bindings, &New<PayrollItemWages>},
  {qoObjectTypeTaxCodes, qoListTaxCodes, "TaxCode", "TaxCodes", kNotSupported, 0, "TaxCodes", "TaxCodes",
   "taxcode", "tax code", "Name,Desc,IsActive", &TaxCode::Bindings, &New<TaxCodes>},
  {qoObjectTypePriceLevel, static_cast<qoEnumListType>(0), "PriceLevel", "PriceLevel", kNotAllowed, kFull, "PriceLevels",
   "PriceLevel", "pricelevel", "price level", "Name,PriceLevelType,PriceLevelFixedPercentage,IsActive",
   &PriceLevel::Bindings, &New<PriceLevels>},
  // Not among the company's Lists.
  {qoObjectTypeCurrency, qoListCurrencies, "CurrencyType", "Currency", kNotSupported, kFull | kMaster, {},
   "Currency", "currency", "currency", "Name,CurrencyCode,IsActive", &CurrencyType::Bindings,
   &New<CurrencyTypes>},
  {qoObjectTypePayrollItemNonWage, qoListPayrollItemNonWages, "PayrollItemNonWage", "PayrollItemNonWage",
   kNotAllowed, kCanDelete | kFilters, {}, "PayrollItem", "payrollitemnonwage", "non-wage payroll item",
   "Name,NonWageType,IsActive", &PayrollItemNonWage::Bindings, &New<PayrollItemNonWages>},
  // Lists the library has no record class for yet: the simulator and the command use them.
  {qoObjectTypeStandardTerms, qoListTerms, "StandardTerm", "StandardTerms", kNotSupported, kAddDelete, {},
   "Terms", "standardterms", "standard terms", "Name,StdDueDays,StdDiscountDays,DiscountPct,IsActive",
   &StandardTerm::Bindings},
  {qoObjectTypeDateDrivenTerms, qoListTerms, "DateDrivenTerm", "DateDrivenTerms", kNotSupported, kAddDelete, {},
   "Terms", "datedriventerms", "date-driven terms", "Name,DayOfMonthDue,DueNextMonthDays,IsActive",
   &DateDrivenTerm::Bindings},
  {qoObjectTypeItemService, qoListItems, "ItemService", "ItemService", {}, kItem | kHierarchical, {}, "Item",
   "itemservice", "service item", "FullName,SalesOrPurchase.Price,IsActive", &ItemServiceBindings},
  {qoObjectTypeItemNonInventory, qoListItems, "ItemNonInventory", "ItemNonInventory", {}, kItem | kHierarchical,
   {}, "Item", "itemnoninventory", "non-inventory item", "FullName,SalesOrPurchase.Price,IsActive",
   &ItemNonInventoryBindings},
  {qoObjectTypeItemOtherCharge, qoListItems, "ItemOtherCharge", "ItemOtherCharge", {}, kItem | kHierarchical,
   {}, "Item", "itemothercharge", "other charge item", "FullName,SalesOrPurchase.Price,IsActive",
   &ItemOtherChargeBindings},
  {qoObjectTypeItemInventory, qoListItems, "ItemInventory", "ItemInventory", {}, kItem | kHierarchical, {},
   "Item", "iteminventory", "inventory item", "FullName,SalesPrice,QuantityOnHand,IsActive",
   &ItemInventoryBindings},
  {qoObjectTypeItemAssembly, qoListItems, "ItemAssembly", "ItemInventoryAssembly", {},
   kItem | kHierarchical, {}, "Item", "iteminventoryassembly", "inventory assembly item",
   "FullName,SalesPrice,IsActive", &ItemAssemblyBindings},
  {qoObjectTypeItemFixedAssset, qoListItems, "ItemFixedAsset", "ItemFixedAsset", {}, kItem, {}, "Item",
   "itemfixedasset", "fixed asset item", "Name,PurchaseCost,IsActive", &ItemFixedAssetBindings},
  {qoObjectTypeItemSubtotal, qoListItems, "ItemSubtotal", "ItemSubtotal", {}, kItem, {}, "Item", "itemsubtotal",
   "subtotal item", "Name,ItemDesc,IsActive", &ItemSubtotalBindings},
  {qoObjectTypeItemDiscount, qoListItems, "ItemDiscount", "ItemDiscount", kModifyNotAllowed,
   kItem | kHierarchical, {}, "Item", "itemdiscount", "discount item",
   "FullName,DiscountRate,DiscountRatePercent,IsActive", &ItemDiscountBindings},
  {qoObjectTypeItemPayment, qoListItems, "ItemPayment", "ItemPayment", kNotSupported, kItem, {}, "Item",
   "itempayment", "payment item", "Name,ItemDesc,IsActive", &ItemPaymentBindings},
  {qoObjectTypeItemSalesTax, qoListItems, "ItemSalesTax", "ItemSalesTax", {}, kItem, {}, "Item", "itemsalestax",
   "sales tax item", "Name,TaxRate,TaxVendorRef,IsActive", &ItemSalesTaxBindings},
  {qoObjectTypeItemSalesTaxGroup, qoListItems, "ItemSalesTaxGroup", "ItemSalesTaxGroup", kNotSupported, kItem,
   {}, "Item", "itemsalestaxgroup", "sales tax group item", "Name,ItemDesc,IsActive",
   &ItemSalesTaxGroupBindings},
  {qoObjectTypeItemGroup, qoListItems, "ItemGroup", "ItemGroup", kGroupModifyRefused, kItem, {}, "Item",
   "itemgroup", "group item", "Name,ItemDesc,IsActive", &ItemGroupBindings},
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

}  // namespace

std::span<const ListRecordKind> ListRegistry() { return kLists; }

const ListRecordKind* FindListKind(qoEnumListType list) {
  for (const ListRecordKind& kind : kLists)
    if (kind.listType == list) return &kind;
  return nullptr;
}

const ListRecordKind* FindListKindByObject(qoEnumListObjectType object) {
  for (const ListRecordKind& kind : kLists)
    if (kind.objectType == object) return &kind;
  return nullptr;
}

const ListRecordKind* FindListKindByStem(std::string_view stem) {
  for (const ListRecordKind& kind : kLists)
    if (kind.stem == stem) return &kind;
  return nullptr;
}

const ListRecordKind* FindListKindByCommand(std::string_view word) {
  std::string wanted = Folded(word);
  for (const ListRecordKind& kind : kLists)
    if (kind.command == wanted || Folded(kind.stem) == wanted) return &kind;
  return nullptr;
}

}  // namespace brennock
