#include "brennock/company/company.h"

#include <gtest/gtest.h>

#include "brennock/company/data_extension_definitions.h"
#include "brennock/company/preferences.h"
#include "brennock/lists/address.h"
#include "brennock/model/data_extension.h"
#include "brennock/xml/xml_document.h"
#include "simulator/company_file.h"
#include "tests/company/company_fixture.h"

namespace brennock::testing {
namespace {

simulator::CompanyFileOptions Options() {
  simulator::CompanyFileOptions options;
  options.company["CompanyName"] = "Harbour & Sons";
  options.company["LegalAddress.Addr1"] = "12 Quay Road";
  options.company["LegalAddress.City"] = "Portsmouth";
  options.company["FirstMonthFiscalYear"] = "April";
  options.company["FirstMonthIncomeTaxYear"] = "October";
  options.preferences["AccountingPreferences.ClosingDate"] = "2023-06-30";
  options.preferences["SalesAndCustomersPreferences.DefaultShipMethodRef"] = "Courier";
  options.preferences["SalesTaxPreferences.DefaultTaxableSalesTaxCodeRef"] = "Tax";
  options.preferences["SalesTaxPreferences.DefaultNonTaxableSalesTaxCodeRef"] = "Non";
  options.preferences["TimeTrackingPreferences.FirstDayOfWeek"] = "Wednesday";
  return options;
}

using CompanyConnectTest = SimulatedCompanyTest;

TEST_F(CompanyConnectTest, ConnectReadsCompanyInformationAndPreferences) {
  std::shared_ptr<Company> company = Connect(Options());
  ASSERT_NE(company, nullptr);
  EXPECT_EQ(company, Session().company);
  EXPECT_EQ(company->Name(), "Harbour & Sons");
  EXPECT_EQ(company->LegalAddress()->Addr1(), "12 Quay Road");
  EXPECT_EQ(company->LegalAddress()->City(), "Portsmouth");
  EXPECT_EQ(company->AddressForCustomers()->City(), "Middlefield");
  EXPECT_EQ(company->FirstMonthFiscalYear(), "4");
  EXPECT_EQ(company->FirstMonthIncomeTaxYear(), "10");
  EXPECT_EQ(company->qbEnumTaxForm(), "Form1120");

  std::shared_ptr<Preferences> preferences = company->Preferences();
  EXPECT_EQ(preferences->ClosingDate(), Date::FromDate(2023, 6, 30));
  EXPECT_EQ(preferences->DefaultShipMethod(), "Courier");
  EXPECT_EQ(preferences->DefaultShipMethodRef()->List(), qoListShipMethods);
  EXPECT_EQ(preferences->DefaultTaxableSalesTaxCode(), "Tax");
  EXPECT_EQ(preferences->DefaultNonTaxableSalesTaxCode(), "Non");
  EXPECT_EQ(preferences->FirstDayOfWeek(), qoDayOfWeekWednesday);
  EXPECT_TRUE(preferences->TimeTrackingEnabled());
  EXPECT_EQ(preferences->GracePeriod(), 30);
  EXPECT_EQ(preferences->AgingReportBasis(), qoAgingReportBasisAgeFromDueDate);
  EXPECT_EQ(preferences->DefaultMarkup(), Currency(25));
  EXPECT_EQ(preferences->DefaultItemSalesTax(), "");  // absent in the file
}

TEST_F(CompanyConnectTest, RefreshRereadsAndActivityTimesComeFromTheFile) {
  simulator::CompanyFileOptions options = Options();
  options.activity["LastRestoreTime"] = "2023-01-02T03:04:05";
  options.activity["LastCondenseTime"] = "2022-12-31T10:00:00";
  std::shared_ptr<Company> company = Connect(options, "{5D1B2C3A-0000-4000-8000-000000000001}");
  company->Refresh();
  EXPECT_EQ(recorder_->LastRequestText().find("<OwnerID>{5D1B2C3A-0000-4000-8000-000000000001}"
                                              "</OwnerID></CompanyQueryRq>") == std::string::npos,
            false);
  EXPECT_EQ(company->Name(), "Harbour & Sons");
  EXPECT_EQ(company->LastRestoreTime(), Date::FromDateTime(2023, 1, 2, 3, 4, 5));
  EXPECT_EQ(company->LastCondenseTime(), Date::FromDateTime(2022, 12, 31, 10, 0, 0));
}

TEST_F(CompanyConnectTest, EmptyActivityRaisesAClearError) {
  std::shared_ptr<Company> company = Connect(Options());
  EXPECT_THROW(company->LastCondenseTime(), AutomationError);
}

TEST_F(CompanyConnectTest, DefaultBankAccountStaysEmptyAndAsksAgain) {
  std::shared_ptr<Company> company = Connect(Options());
  size_t before = recorder_->Requests().size();
  EXPECT_EQ(company->DefaultBankAccount(), "");
  EXPECT_EQ(company->DefaultBankAccount(), "");
  EXPECT_EQ(recorder_->Requests().size(), before + 2);
  EXPECT_NE(recorder_->LastRequestText().find(
                "<AccountQueryRq requestID = \"1\"><AccountType>Bank</AccountType>"
                "</AccountQueryRq>"),
            std::string::npos);
}

TEST_F(CompanyConnectTest, ApplicationFieldOnTheCompanyRoundTrips) {
  const std::string owner = "{5D1B2C3A-0000-4000-8000-000000000002}";
  std::shared_ptr<Company> company = Connect(Options(), owner);
  std::shared_ptr<DataExtensionDefinitions> fields = company->ApplicationFields();
  EXPECT_EQ(fields->Count(), 0);
  auto region = fields->Add("Region");
  region->AddAssignedTo(qoObjectTypeCompany);
  EXPECT_EQ(fields->Commit(), 0);

  company->CompanyApplicationFields()->Item(std::string("Region"))->SetValue(Variant("North"));
  EXPECT_EQ(company->SaveApplicationFields(), 0);
  company->CompanyApplicationFields()->Clear();
  company->Refresh();
  ASSERT_EQ(company->CompanyApplicationFields()->Count(), 1);
  EXPECT_EQ(company->CompanyApplicationFields()->Item(1)->Value().ToString(), "North");

  company->CompanyApplicationFields()->Item(1)->SetValue(Variant(""));
  company->Commit();
  EXPECT_NE(recorder_->LastRequestText().find("<DataExtDelRq requestID = \"1\">"),
            std::string::npos);
  company->CompanyApplicationFields()->Clear();
  company->Refresh();
  EXPECT_EQ(company->CompanyApplicationFields()->Count(), 0);
}

TEST_F(CompanyConnectTest, ListsHoldsEveryListCollectionInItsOrderTemplatesIncluded) {
  simulator::CompanyFileOptions options = Options();
  options.sample = simulator::SampleBusiness{.customers = 3};
  std::shared_ptr<Company> company = Connect(options);
  const std::vector<std::string> keys = {
      "Account",    "Customer",   "SalesTaxCode",  "Item",         "Vendor",
      "OtherName",  "Terms",      "Employee",      "SalesRep",     "CustomerMessage",
      "ToDo",       "Class",      "PaymentMethod", "CustomerType", "JobType",
      "VendorType", "ShipMethod", "Template",      "Entity",       "PayrollItemWage",
      "TaxCodes",   "PriceLevels"};
  std::shared_ptr<Lists> lists = company->Lists();
  ASSERT_EQ(lists->Count(), static_cast<int32_t>(keys.size()));
  for (size_t i = 0; i < keys.size(); ++i)
    EXPECT_EQ(lists->Item(static_cast<int32_t>(i + 1)), lists->Item(keys[i])) << keys[i];

  std::shared_ptr<Templates> templates = company->Templates();
  ASSERT_NE(templates, nullptr);
  EXPECT_EQ(lists->Item("Template"), std::static_pointer_cast<qcList>(templates));
  EXPECT_EQ(BrennockGlobals().Templates(), templates);
  EXPECT_GT(templates->GetAll(), 0);
  EXPECT_NE(recorder_->LastRequestText().find("<TemplateQueryRq requestID = \"1\">"),
            std::string::npos);
}

}  // namespace
}  // namespace brennock::testing
