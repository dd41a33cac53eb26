#include "cli/qbxml/list_types.h"

#include <array>

#include "brennock/util/text.h"

namespace brennock::cli {
namespace {

constexpr std::array<ListTypeInfo, 37> kListTypes = {{
    {"account", "Account", "FullName,AccountType,AccountNumber,Balance,IsActive", false, false,
     true},
    {"class", "Class", "FullName,IsActive", false, false, true},
    {"currency", "Currency", "Name,CurrencyCode,IsActive", false, false, true},
    {"customer", "Customer", "FullName,Phone,Email,Balance,IsActive", false, true, true},
    {"customermsg", "CustomerMsg", "Name,IsActive", false, false, true},
    {"customertype", "CustomerType", "FullName,IsActive", false, false, true},
    {"datedriventerms", "DateDrivenTerms", "Name,DayOfMonthDue,DueNextMonthDays,IsActive", false,
     false, true},
    {"employee", "Employee", "Name,Phone,Email,IsActive", false, false, true},
    {"entity", "Entity", "Type,Name,Phone,IsActive", true, true, true},
    {"item", "Item", "Type,Name,IsActive", true, true, true},
    {"itemdiscount", "ItemDiscount", "FullName,DiscountRate,DiscountRatePercent,IsActive", false,
     true, true},
    {"itemfixedasset", "ItemFixedAsset", "Name,PurchaseCost,IsActive", false, true, true},
    {"itemgroup", "ItemGroup", "Name,ItemDesc,IsActive", false, true, true},
    {"iteminventory", "ItemInventory", "FullName,SalesPrice,QuantityOnHand,IsActive", false, true,
     true},
    {"iteminventoryassembly", "ItemInventoryAssembly", "FullName,SalesPrice,IsActive", false, true,
     true},
    {"itemnoninventory", "ItemNonInventory", "FullName,SalesOrPurchase.Price,IsActive", false, true,
     true},
    {"itemothercharge", "ItemOtherCharge", "FullName,SalesOrPurchase.Price,IsActive", false, true,
     true},
    {"itempayment", "ItemPayment", "Name,ItemDesc,IsActive", false, true, true},
    {"itemsalestax", "ItemSalesTax", "Name,TaxRate,TaxVendorRef,IsActive", false, true, true},
    {"itemsalestaxgroup", "ItemSalesTaxGroup", "Name,ItemDesc,IsActive", false, true, true},
    {"itemservice", "ItemService", "FullName,SalesOrPurchase.Price,IsActive", false, true, true},
    {"itemsubtotal", "ItemSubtotal", "Name,ItemDesc,IsActive", false, true, true},
    {"jobtype", "JobType", "FullName,IsActive", false, false, true},
    {"othername", "OtherName", "Name,Phone,IsActive", false, false, true},
    {"paymentmethod", "PaymentMethod", "Name,IsActive", false, false, true},
    {"payrollitemnonwage", "PayrollItemNonWage", "Name,NonWageType,IsActive", false, false, true},
    {"payrollitemwage", "PayrollItemWage", "Name,WageType,IsActive", false, false, true},
    {"pricelevel", "PriceLevel", "Name,PriceLevelType,PriceLevelFixedPercentage,IsActive", false,
     false, true},
    {"salesrep", "SalesRep", "Initial,SalesRepEntityRef,IsActive", false, false, true},
    {"salestaxcode", "SalesTaxCode", "Name,IsTaxable,Desc,IsActive", false, false, true},
    {"shipmethod", "ShipMethod", "Name,IsActive", false, false, true},
    {"standardterms", "StandardTerms", "Name,StdDueDays,StdDiscountDays,DiscountPct,IsActive",
     false, false, true},
    {"template", "Template", "Name,TemplateType,IsActive", false, false, false},
    {"terms", "Terms", "Type,Name,StdDueDays,DayOfMonthDue,IsActive", true, false, true},
    {"todo", "ToDo", "Notes,IsDone,ReminderDate,IsActive", false, false, true},
    {"vendor", "Vendor", "Name,CompanyName,Phone,Balance,IsActive", false, true, true},
    {"vendortype", "VendorType", "FullName,IsActive", false, false, true},
}};

// Lower case without '-' and '_'.
std::string Normalized(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  for (char c : name) {
    if (c == '-' || c == '_') continue;
    out += AsciiLower(c);
  }
  return out;
}

}  // namespace

std::span<const ListTypeInfo> ListTypes() { return kListTypes; }

const ListTypeInfo* FindListType(std::string_view name) {
  std::string wanted = Normalized(name);
  for (const auto& type : ListTypes()) {
    if (type.name == wanted || Normalized(type.stem) == wanted) return &type;
  }
  return nullptr;
}

std::string ListTypeNames() {
  std::string names;
  for (const auto& type : ListTypes()) {
    if (!names.empty()) names += ", ";
    names += type.name;
  }
  return names;
}

}  // namespace brennock::cli
