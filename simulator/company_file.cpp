#include "simulator/company_file.h"

#include "simulator/sample_business.h"
#include "simulator/store/company_db.h"

namespace brennock::simulator {
namespace {

std::string_view CountryCode(Edition e) {
  switch (e) {
    case Edition::kCA:
      return "CA";
    case Edition::kUK:
      return "UK";
    case Edition::kAU:
      return "AU";
    default:
      return "US";
  }
}

const std::map<std::string, std::string>& DefaultCompany() {
  static const std::map<std::string, std::string> values = {
      {"IsSampleCompany", "false"},
      {"CompanyName", "Brennock Test Company"},
      {"LegalCompanyName", "Brennock Test Company LLC"},
      {"Address.Addr1", "100 Main Street"},
      {"Address.City", "Middlefield"},
      {"Address.State", "CA"},
      {"Address.PostalCode", "94482"},
      {"Address.Country", "US"},
      {"AddressBlock.Addr1", "100 Main Street"},
      {"AddressBlock.Addr2", "Middlefield, CA 94482"},
      {"LegalAddress.Addr1", "100 Main Street"},
      {"LegalAddress.City", "Middlefield"},
      {"LegalAddress.State", "CA"},
      {"LegalAddress.PostalCode", "94482"},
      {"LegalAddress.Country", "US"},
      {"CompanyAddressForCustomer.Addr1", "100 Main Street"},
      {"CompanyAddressForCustomer.City", "Middlefield"},
      {"CompanyAddressForCustomer.State", "CA"},
      {"CompanyAddressForCustomer.PostalCode", "94482"},
      {"CompanyAddressBlockForCustomer.Addr1", "100 Main Street"},
      {"CompanyAddressBlockForCustomer.Addr2", "Middlefield, CA 94482"},
      {"Phone", "650-555-1234"},
      {"Fax", "650-555-1235"},
      {"Email", "office@example.com"},
      {"CompanyEmailForCustomer", "billing@example.com"},
      {"CompanyWebSite", "www.example.com"},
      {"FirstMonthFiscalYear", "January"},
      {"FirstMonthIncomeTaxYear", "January"},
      {"CompanyType", "GeneralProductBased"},
      {"EIN", "12-3456789"},
      {"TaxForm", "Form1120"},
      {"AccountantCopy.AccountantCopyExists", "false"},
  };
  return values;
}

const std::map<std::string, std::string>& DefaultPreferences() {
  static const std::map<std::string, std::string> values = {
      {"AccountingPreferences.IsUsingAccountNumbers", "false"},
      {"AccountingPreferences.IsRequiringAccounts", "true"},
      {"AccountingPreferences.IsUsingClassTracking", "true"},
      {"AccountingPreferences.IsUsingAuditTrail", "true"},
      {"AccountingPreferences.IsAssigningJournalEntryNumbers", "true"},
      {"FinanceChargePreferences.AnnualInterestRate", "18.00"},
      {"FinanceChargePreferences.MinFinanceCharge", "1.00"},
      {"FinanceChargePreferences.GracePeriod", "30"},
      {"FinanceChargePreferences.IsAssessingForOverdueCharges", "false"},
      {"FinanceChargePreferences.CalculateChargesFrom", "DueDate"},
      {"FinanceChargePreferences.IsMarkedToBePrinted", "false"},
      {"JobsAndEstimatesPreferences.IsUsingEstimates", "true"},
      {"JobsAndEstimatesPreferences.IsUsingProgressInvoicing", "false"},
      {"JobsAndEstimatesPreferences.IsPrintingItemsWithZeroAmounts", "false"},
      {"MultiCurrencyPreferences.IsMultiCurrencyOn", "false"},
      {"MultiLocationInventoryPreferences.IsMultiLocationInventoryAvailable", "false"},
      {"MultiLocationInventoryPreferences.IsMultiLocationInventoryEnabled", "false"},
      {"PurchasesAndVendorsPreferences.IsUsingInventory", "true"},
      {"PurchasesAndVendorsPreferences.DaysBillsAreDue", "10"},
      {"PurchasesAndVendorsPreferences.IsAutomaticallyUsingDiscounts", "false"},
      {"ReportsPreferences.AgingReportBasis", "AgeFromDueDate"},
      {"ReportsPreferences.SummaryReportBasis", "Accrual"},
      {"SalesAndCustomersPreferences.DefaultFOB", "Origin"},
      {"SalesAndCustomersPreferences.DefaultMarkup", "25.00"},
      {"SalesAndCustomersPreferences.IsTrackingReimbursedExpensesAsIncome", "false"},
      {"SalesAndCustomersPreferences.IsAutoApplyingPayments", "true"},
      {"SalesAndCustomersPreferences.PriceLevels.IsUsingPriceLevels", "true"},
      {"SalesAndCustomersPreferences.PriceLevels.IsRoundingSalesPriceUp", "false"},
      {"TimeTrackingPreferences.FirstDayOfWeek", "Monday"},
      {"CurrentAppAccessRights.IsAutomaticLoginAllowed", "false"},
      {"CurrentAppAccessRights.AutomaticLoginUserName", "Admin"},
      {"CurrentAppAccessRights.IsPersonalDataAccessAllowed", "false"},
      {"ItemsAndInventoryPreferences.EnhancedInventoryReceivingEnabled", "false"},
      {"ItemsAndInventoryPreferences.IsTrackingSerialOrLotNumber", "None"},
      {"ItemsAndInventoryPreferences.FIFOEnabled", "false"},
  };
  return values;
}

}  // namespace

std::vector<std::string> DefaultQbxmlVersions(Edition edition) {
  static const char* kVersions[] = {"1.0",  "1.1",  "2.0",  "2.1",  "3.0", "4.0",  "4.1",
                                    "5.0",  "6.0",  "7.0",  "8.0",  "9.0", "10.0", "11.0",
                                    "12.0", "13.0", "14.0", "15.0", "16.0"};
  std::vector<std::string> versions;
  for (const char* v : kVersions) {
    std::string version = v;
    if (edition != Edition::kUS && version != "1.0" && version != "1.1")
      version = std::string(CountryCode(edition)) + version;
    versions.push_back(version);
  }
  return versions;
}

void CreateCompanyFile(const std::string& path, const CompanyFileOptions& options) {
  auto company = CompanyDb::Create(path);
  Transaction txn(company->db(), true);
  std::string product = options.product_name;
  if (product.empty()) {
    product = "QuickBooks Enterprise Solutions 16.0";
    if (options.edition != Edition::kUS)
      product = "QuickBooks Enterprise Solutions 16.0 (" +
                std::string(CountryCode(options.edition)) + ")";
  }
  company->SetSetting("host.ProductName", product);
  company->SetSetting("host.MajorVersion", std::to_string(options.major_version));
  company->SetSetting("host.MinorVersion", std::to_string(options.minor_version));
  company->SetSetting("host.Country", CountryCode(options.edition));
  std::string versions;
  for (const auto& v : options.qbxml_versions.empty() ? DefaultQbxmlVersions(options.edition)
                                                      : options.qbxml_versions)
    versions += v + "\n";
  company->SetSetting("host.SupportedQBXMLVersion", versions);

  auto company_values = DefaultCompany();
  auto preferences = DefaultPreferences();
  if (options.sample) {
    // The customers take about three fifths of the time; the rest goes to the other records and
    // the commit.
    std::function<void(double)> customers_done;
    if (options.progress) customers_done = [&](double share) { options.progress(share * 0.6); };
    AddSampleBusiness(*company, *options.sample, company_values, preferences, customers_done);
  }
  for (const auto& [k, v] : options.company) company_values[k] = v;
  for (const auto& [k, v] : options.preferences) preferences[k] = v;
  for (const auto& [k, v] : company_values) company->SetSetting("company." + k, v);
  for (const auto& [k, v] : preferences) company->SetSetting("pref." + k, v);
  for (const auto& [k, v] : options.activity) company->SetSetting("activity." + k, v);
  txn.Commit();
  if (options.progress) options.progress(1.0);
}

}  // namespace brennock::simulator
