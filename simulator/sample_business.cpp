#include "simulator/sample_business.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <pugixml.hpp>
#include <stdexcept>

#include "simulator/lists/field_values.h"
#include "simulator/lists/list_store.h"
#include "simulator/xml_writer.h"

namespace brennock::simulator {
namespace {

// splitmix64: small, fast and the same on every platform, so a seed always gives one business.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9e3779b97f4a7c15ull);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
  }
  size_t Below(size_t n) { return static_cast<size_t>(Next() % n); }
  template <typename T, size_t N>
  const T& Pick(const std::array<T, N>& items) {
    return items[Below(N)];
  }

 private:
  uint64_t state_;
};

constexpr std::array<const char*, 24> kFirstNames = {
    "Ada",   "Ben",  "Carla", "Dev",  "Elena", "Farid",  "Greta", "Hugo",
    "Iris",  "Jon",  "Kira",  "Liam", "Maya",  "Nils",   "Olga",  "Pavel",
    "Quinn", "Rosa", "Sam",   "Tara", "Uma",   "Victor", "Wren",  "Yusuf"};
constexpr std::array<const char*, 24> kLastNames = {
    "Abbott", "Baker",  "Chen",     "Diaz",   "Evans",  "Fischer",  "Garcia", "Hughes",
    "Ivanov", "Jensen", "Kowalski", "Larsen", "Moreau", "Nakamura", "Okafor", "Patel",
    "Quist",  "Rossi",  "Schmidt",  "Tanaka", "Ueda",   "Varga",    "Walsh",  "Young"};
constexpr std::array<const char*, 8> kCities = {"Middlefield", "Bayshore", "Redwood",   "Oakdale",
                                                "Riverton",    "Lakeside", "Hillcrest", "Fairview"};
constexpr std::array<const char*, 6> kStates = {"CA", "OR", "WA", "NV", "AZ", "TX"};
constexpr std::array<const char*, 4> kJobNames = {"Kitchen Remodel", "New Deck", "Roof Repair",
                                                  "Office Fit-out"};

class Builder {
 public:
  explicit Builder(CompanyDb& company) : company_(company), lists_(company) {}

  // Adds a record through the same path an AddRq takes; the text is the inside of the Add.
  ListRecord Add(std::string_view list, const std::string& inner) {
    std::string xml = "<A>" + inner + "</A>";
    pugi::xml_document doc;
    if (!doc.load_buffer(xml.data(), xml.size())) throw std::runtime_error("sample: bad XML");
    const ListType* type = FindListType(list);
    ListRecord record;
    Status status = lists_.Add(*type, doc.first_child(), record);
    if (!status.ok()) throw std::runtime_error("sample business: " + status.message);
    return record;
  }

  ListStore& lists() { return lists_; }

 private:
  CompanyDb& company_;
  ListStore lists_;
};

std::string El(std::string_view tag, std::string_view text) {
  std::string out;
  XmlWriter(out).Element(tag, text);
  return out;
}

std::string Ref(std::string_view tag, std::string_view full_name) {
  return "<" + std::string(tag) + ">" + El("FullName", full_name) + "</" + std::string(tag) + ">";
}

std::string Account(std::string_view name, std::string_view type, std::string_view parent = {}) {
  std::string inner = El("Name", name);
  if (!parent.empty()) inner += Ref("ParentRef", parent);
  inner += El("AccountType", type);
  return inner;
}

// Customers are most of a large sample's work, so their count measures its progress: told about
// a hundred times at most.
void AddCustomers(Builder& b, Random& rng, const SampleBusiness& sample,
                  const std::function<void(double)>& progress) {
  const int report_every = std::max(1, sample.customers / 100);
  const ListType& customer = *FindListType("Customer");
  auto index = [&](std::string_view field) {
    return static_cast<uint16_t>(customer.field_index(field));
  };
  auto ref_value = [&](std::string_view list, std::string_view name) {
    auto r = b.lists().LoadByFullName(*FindListType(list), name);
    return r->list_id + kRefSeparator + r->full_name;
  };
  const std::array<std::string, 2> types = {ref_value("CustomerType", "Residential"),
                                            ref_value("CustomerType", "Commercial")};
  const std::array<std::string, 2> terms = {ref_value("StandardTerms", "Net 30"),
                                            ref_value("StandardTerms", "Due on receipt")};
  const std::string tax = ref_value("SalesTaxCode", "Tax");
  const std::string job_type = ref_value("JobType", "Remodel");
  char buf[160];
  for (int i = 1; i <= sample.customers; ++i) {
    ListRecord c;
    c.type = &customer;
    const char* first = rng.Pick(kFirstNames);
    const char* last = rng.Pick(kLastNames);
    std::snprintf(buf, sizeof buf, "%s, %s %06d", last, first, i);
    c.name = buf;
    c.full_name = c.name;
    c.SetField(index("FirstName"), first);
    c.SetField(index("LastName"), last);
    std::string address;
    XmlWriter w(address);
    std::snprintf(buf, sizeof buf, "%d %s Street", static_cast<int>(rng.Below(9000) + 100), last);
    w.Element("Addr1", buf);
    w.Element("City", rng.Pick(kCities));
    w.Element("State", rng.Pick(kStates));
    std::snprintf(buf, sizeof buf, "%05d", static_cast<int>(rng.Below(90000) + 10000));
    w.Element("PostalCode", buf);
    c.SetField(index("BillAddress"), address);
    std::snprintf(buf, sizeof buf, "555-%04d", static_cast<int>(rng.Below(10000)));
    c.SetField(index("Phone"), buf);
    std::snprintf(buf, sizeof buf, "%s.%s%d@example.com", first, last, i);
    c.SetField(index("Email"), buf);
    c.SetField(index("CustomerTypeRef"), types[rng.Below(2)]);
    c.SetField(index("TermsRef"), terms[rng.Below(2)]);
    c.SetField(index("SalesTaxCodeRef"), tax);
    c.SetField(index("JobStatus"), "None");
    b.lists().InsertPrepared(c);
    if (progress && i % report_every == 0) progress(static_cast<double>(i) / sample.customers);
    if (i % 3 != 0) continue;
    for (int j = 0; j < sample.jobs_per_customer; ++j) {
      ListRecord job;
      job.type = &customer;
      job.name = kJobNames[static_cast<size_t>(j) % kJobNames.size()];
      if (j >= static_cast<int>(kJobNames.size())) job.name.append(" ").append(std::to_string(j));
      job.full_name = c.full_name + ":" + job.name;
      job.parent_id = c.list_id;
      job.sublevel = 1;
      job.SetField(index("BillAddress"), address);
      job.SetField(index("JobStatus"), "InProgress");
      job.SetField(index("JobTypeRef"), job_type);
      b.lists().InsertPrepared(job);
    }
  }
}

}  // namespace

void AddSampleBusiness(CompanyDb& company, const SampleBusiness& sample,
                       std::map<std::string, std::string>& company_values,
                       std::map<std::string, std::string>& preferences,
                       const std::function<void(double)>& progress) {
  Builder b(company);
  Random rng(sample.seed);
  // A standard chart of accounts.
  b.Add("Account", Account("Checking", "Bank"));
  b.Add("Account", Account("Savings", "Bank"));
  b.Add("Account", Account("Accounts Receivable", "AccountsReceivable"));
  b.Add("Account", Account("Undeposited Funds", "OtherCurrentAsset"));
  b.Add("Account", Account("Inventory Asset", "OtherCurrentAsset"));
  b.Add("Account", Account("Furniture and Equipment", "FixedAsset"));
  b.Add("Account", Account("Accounts Payable", "AccountsPayable"));
  b.Add("Account", Account("Company Card", "CreditCard"));
  b.Add("Account", Account("Payroll Liabilities", "OtherCurrentLiability"));
  b.Add("Account", Account("Sales Tax Payable", "OtherCurrentLiability"));
  b.Add("Account", Account("Bank Loan", "LongTermLiability"));
  b.Add("Account", Account("Opening Balance Equity", "Equity"));
  b.Add("Account", Account("Owner's Equity", "Equity"));
  b.Add("Account", Account("Sales", "Income"));
  b.Add("Account", Account("Services", "Income"));
  b.Add("Account", Account("Finance Charge Income", "Income"));
  b.Add("Account", Account("Cost of Goods Sold", "CostOfGoodsSold"));
  b.Add("Account", Account("Advertising", "Expense"));
  b.Add("Account", Account("Payroll Expenses", "Expense"));
  b.Add("Account", Account("Utilities", "Expense"));
  b.Add("Account", Account("Telephone", "Expense", "Utilities"));
  b.Add("Account", Account("Gas and Electric", "Expense", "Utilities"));
  b.Add("Account", Account("Discounts Given", "Expense"));
  b.Add("Account", Account("Interest Income", "OtherIncome"));
  b.Add("Account", Account("Other Expenses", "OtherExpense"));
  b.Add("Account", Account("Estimates", "NonPosting"));

  for (auto n : {"Retail", "Wholesale"}) b.Add("Class", El("Name", n));
  b.Add("Class", El("Name", "East") + Ref("ParentRef", "Wholesale"));
  for (auto n : {"Residential", "Commercial"}) b.Add("CustomerType", El("Name", n));
  for (auto n : {"New Construction", "Remodel"}) b.Add("JobType", El("Name", n));
  for (auto n : {"Supplies", "Subcontractors", "Tax Agency"}) b.Add("VendorType", El("Name", n));
  for (auto n : {"UPS", "FedEx", "Courier"}) b.Add("ShipMethod", El("Name", n));
  for (auto n : {"Cash", "Check", "Visa", "MasterCard"}) b.Add("PaymentMethod", El("Name", n));
  for (auto n : {"Thank you for your business.", "Please remit to the address above."})
    b.Add("CustomerMsg", El("Name", n));
  b.Add("StandardTerms", El("Name", "Net 30") + El("StdDueDays", "30"));
  b.Add("StandardTerms", El("Name", "Due on receipt") + El("StdDueDays", "0"));
  b.Add("StandardTerms", El("Name", "2% 10 Net 30") + El("StdDueDays", "30") +
                             El("StdDiscountDays", "10") + El("DiscountPct", "2.00"));
  b.Add("DateDrivenTerms",
        El("Name", "Due on the 15th") + El("DayOfMonthDue", "15") + El("DueNextMonthDays", "5"));
  b.Add("SalesTaxCode", El("Name", "Tax") + El("IsTaxable", "true") + El("Desc", "Taxable sales"));
  b.Add("SalesTaxCode",
        El("Name", "Non") + El("IsTaxable", "false") + El("Desc", "Non-taxable sales"));
  b.Add("PriceLevel", El("Name", "Wholesale Discount") + El("PriceLevelType", "FixedPercentage") +
                          El("PriceLevelFixedPercentage", "-10.0"));
  b.Add("Currency", El("Name", "US Dollar") + El("CurrencyCode", "USD"));

  b.Add("Vendor", El("Name", "State Board of Equalization") + Ref("VendorTypeRef", "Tax Agency"));
  for (int i = 1; i <= sample.vendors; ++i) {
    char name[80];
    std::snprintf(name, sizeof name, "%s Supply %d", rng.Pick(kLastNames), i);
    b.Add("Vendor", El("Name", name) + El("CompanyName", name) + Ref("VendorTypeRef", "Supplies") +
                        Ref("TermsRef", "Net 30"));
  }
  std::string first_employee;
  for (int i = 1; i <= sample.employees; ++i) {
    const char* first = rng.Pick(kFirstNames);
    char last[40];
    std::snprintf(last, sizeof last, "%s%d", rng.Pick(kLastNames), i);
    auto e = b.Add("Employee", El("FirstName", first) + El("LastName", last));
    if (first_employee.empty()) first_employee = e.full_name;
  }
  for (int i = 1; i <= sample.other_names; ++i)
    b.Add("OtherName", El("Name", "Owner " + std::to_string(i)));
  if (!first_employee.empty())
    b.Add("SalesRep", El("Initial", "SR1") + Ref("SalesRepEntityRef", first_employee));

  b.Add("PayrollItemWage", El("Name", "Salary") + El("WageType", "SalaryRegular") +
                               Ref("ExpenseAccountRef", "Payroll Expenses"));
  b.Add("PayrollItemWage", El("Name", "Hourly Rate") + El("WageType", "HourlyRegular") +
                               Ref("ExpenseAccountRef", "Payroll Expenses"));
  // QuickBooks creates the non-wage payroll items itself; so does the sample business.
  {
    const ListType& nonwage = *FindListType("PayrollItemNonWage");
    ListRecord r;
    r.type = &nonwage;
    r.name = r.full_name = "Federal Withholding";
    r.SetField(static_cast<uint16_t>(nonwage.field_index("NonWageType")), "Tax");
    auto liability = b.lists().LoadByFullName(*FindListType("Account"), "Payroll Liabilities");
    r.SetField(static_cast<uint16_t>(nonwage.field_index("LiabilityAccountRef")),
               liability->list_id + kRefSeparator + liability->full_name);
    b.lists().InsertPrepared(r);
  }
  {
    const ListType& templ = *FindListType("Template");
    for (auto [name, kind] :
         {std::pair{"Intuit Product Invoice", "Invoice"}, std::pair{"Custom Estimate", "Estimate"},
          std::pair{"Custom Sales Receipt", "SalesReceipt"}}) {
      ListRecord r;
      r.type = &templ;
      r.name = r.full_name = name;
      r.SetField(static_cast<uint16_t>(templ.field_index("TemplateType")), kind);
      b.lists().InsertPrepared(r);
    }
  }

  // One item of every kind.
  b.Add("ItemSalesTax", El("Name", "State Tax") + El("ItemDesc", "State sales tax") +
                            El("TaxRate", "7.25") +
                            Ref("TaxVendorRef", "State Board of Equalization"));
  b.Add("ItemSalesTax", El("Name", "County Tax") + El("TaxRate", "1.00") +
                            Ref("TaxVendorRef", "State Board of Equalization"));
  b.Add("ItemSalesTaxGroup", El("Name", "Combined Tax") + El("ItemDesc", "State and county") +
                                 Ref("ItemSalesTaxRef", "State Tax") +
                                 Ref("ItemSalesTaxRef", "County Tax"));
  auto sales_or_purchase = [](std::string_view desc, std::string_view price,
                              std::string_view account) {
    return "<SalesOrPurchase>" + El("Desc", desc) + El("Price", price) +
           Ref("AccountRef", account) + "</SalesOrPurchase>";
  };
  b.Add("ItemService", El("Name", "Consulting") + Ref("SalesTaxCodeRef", "Non") +
                           sales_or_purchase("Consulting, per hour", "95.00", "Services"));
  b.Add("ItemService", El("Name", "Installation") + Ref("SalesTaxCodeRef", "Non") +
                           sales_or_purchase("Installation labour", "65.00", "Services"));
  b.Add("ItemNonInventory", El("Name", "Hardware") + Ref("SalesTaxCodeRef", "Tax") +
                                sales_or_purchase("Miscellaneous hardware", "4.50", "Sales"));
  b.Add("ItemOtherCharge", El("Name", "Delivery") + Ref("SalesTaxCodeRef", "Non") +
                               sales_or_purchase("Delivery charge", "25.00", "Sales"));
  b.Add("ItemInventory", El("Name", "Widget") + Ref("SalesTaxCodeRef", "Tax") +
                             El("SalesDesc", "Standard widget") + El("SalesPrice", "12.00") +
                             Ref("IncomeAccountRef", "Sales") +
                             El("PurchaseDesc", "Standard widget") + El("PurchaseCost", "7.00") +
                             Ref("COGSAccountRef", "Cost of Goods Sold") +
                             Ref("AssetAccountRef", "Inventory Asset") + El("ReorderPoint", "20"));
  b.Add("ItemInventory", El("Name", "Gadget") + Ref("SalesTaxCodeRef", "Tax") +
                             El("SalesPrice", "30.00") + Ref("IncomeAccountRef", "Sales") +
                             El("PurchaseCost", "18.00") +
                             Ref("COGSAccountRef", "Cost of Goods Sold") +
                             Ref("AssetAccountRef", "Inventory Asset"));
  b.Add("ItemInventoryAssembly",
        El("Name", "Widget Kit") + Ref("SalesTaxCodeRef", "Tax") + El("SalesPrice", "45.00") +
            Ref("IncomeAccountRef", "Sales") + Ref("COGSAccountRef", "Cost of Goods Sold") +
            Ref("AssetAccountRef", "Inventory Asset") + "<ItemInventoryAssemblyLine>" +
            Ref("ItemInventoryRef", "Widget") + El("Quantity", "3") +
            "</ItemInventoryAssemblyLine>");
  b.Add("ItemFixedAsset", El("Name", "Delivery Van") + El("AcquiredAs", "New") +
                              El("PurchaseDesc", "Delivery van") +
                              El("PurchaseDate", "2020-01-15") + El("PurchaseCost", "28000.00") +
                              Ref("AssetAccountRef", "Furniture and Equipment"));
  b.Add("ItemSubtotal", El("Name", "Subtotal") + El("ItemDesc", "Subtotal"));
  b.Add("ItemDiscount", El("Name", "Loyalty Discount") + El("ItemDesc", "10% off") +
                            El("DiscountRatePercent", "10.0") +
                            Ref("AccountRef", "Discounts Given"));
  b.Add("ItemPayment", El("Name", "Deposit") + El("ItemDesc", "Customer deposit") +
                           Ref("DepositToAccountRef", "Undeposited Funds") +
                           Ref("PaymentMethodRef", "Check"));
  b.Add("ItemGroup", El("Name", "Starter Pack") + El("ItemDesc", "Widget with installation") +
                         El("IsPrintItemsInGroup", "true") + "<ItemGroupLine>" +
                         Ref("ItemRef", "Widget") + El("Quantity", "1") + "</ItemGroupLine>" +
                         "<ItemGroupLine>" + Ref("ItemRef", "Installation") + El("Quantity", "1") +
                         "</ItemGroupLine>");

  AddCustomers(b, rng, sample, progress);
  ListFilter customers;
  customers.types = {"Customer"};
  auto first_customer = b.lists().Select(customers);
  if (!first_customer.empty()) {
    auto c = b.lists().LoadByRow(first_customer.front());
    b.Add("ToDo", El("Notes", "Call about the next order") + Ref("CustomerRef", c->full_name) +
                      El("IsDone", "false") + El("ReminderDate", "2030-01-15"));
  }
  b.Add("ToDo", El("Notes", "Renew the business licence") + El("IsDone", "false"));

  b.lists().Flush();
  company_values["IsSampleCompany"] = "true";
  company_values["CompanyName"] = "Brennock Sample Company";
  preferences["FinanceChargePreferences.FinanceChargeAccountRef"] = "Finance Charge Income";
  preferences["PurchasesAndVendorsPreferences.DefaultDiscountAccountRef"] = "Discounts Given";
  preferences["SalesAndCustomersPreferences.DefaultShipMethodRef"] = "UPS";
  preferences["SalesTaxPreferences.DefaultItemSalesTaxRef"] = "State Tax";
  preferences["SalesTaxPreferences.PaySalesTax"] = "Monthly";
  preferences["SalesTaxPreferences.DefaultTaxableSalesTaxCodeRef"] = "Tax";
  preferences["SalesTaxPreferences.DefaultNonTaxableSalesTaxCodeRef"] = "Non";
}

}  // namespace brennock::simulator
