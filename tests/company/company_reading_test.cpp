// Reading CompanyRet and PreferencesRet elements as QuickBooks may send them: prefixed names,
// elements the library does not know, and the preferences nested in their aggregates.
#include <gtest/gtest.h>

#include "brennock/company/company.h"
#include "brennock/company/preferences.h"
#include "brennock/errors/automation_error.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/lists/address.h"
#include "brennock/model/data_extension.h"
#include "brennock/xml/xml_document.h"

namespace brennock::testing {
namespace {

class CompanyReadingTest : public ::testing::Test {
 protected:
  void SetUp() override { Session() = SessionState{}; }
  void TearDown() override { Session() = SessionState{}; }

  XmlNode Load(const std::string& xml) {
    EXPECT_TRUE(document_.loadXML(xml));
    return document_.documentElement();
  }

  XmlDocument document_;
};

TEST_F(CompanyReadingTest, CompanyRetKeepsKnownFieldsAndSkipsTheRest) {
  Company company;
  std::shared_ptr<Address> legal = company.LegalAddress();
  legal->SetNote("stale");
  company.FromDom(
      Load("<CompanyRet xmlns:q=\"urn:q\"><IsSampleCompany>true</IsSampleCompany>"
           "<q:CompanyName>Harbour</q:CompanyName><Unknown>x</Unknown>"
           "<LegalAddress><Addr1>1 Quay</Addr1><q:City>Poole</q:City></LegalAddress>"
           "<AccountantCopy><Phone>999</Phone><Email>no@one</Email></AccountantCopy>"
           "<Phone>555</Phone><FirstMonthFiscalYear>April</FirstMonthFiscalYear>"
           "<q:FirstMonthIncomeTaxYear>December</q:FirstMonthIncomeTaxYear>"
           "<TaxForm>Form1120S</TaxForm>"
           "<DataExtRet><OwnerID>0</OwnerID><DataExtName>Colour</DataExtName>"
           "<DataExtType>STR255TYPE</DataExtType><DataExtValue>Teal</DataExtValue></DataExtRet>"
           "<DataExtRet><OwnerID>{APP}</OwnerID><DataExtName>Region</DataExtName>"
           "<DataExtType>STR255TYPE</DataExtType><DataExtValue>North</DataExtValue></DataExtRet>"
           "</CompanyRet>"));
  EXPECT_TRUE(company.IsSampleCompany());
  EXPECT_EQ(company.Name(), "Harbour");
  // The address handed out before is refilled in place: absent fields become empty.
  EXPECT_EQ(company.LegalAddress(), legal);
  EXPECT_EQ(legal->Addr1(), "1 Quay");
  EXPECT_EQ(legal->City(), "Poole");
  EXPECT_EQ(legal->Note(), "");
  // Fields of an aggregate the company does not read are not its own.
  EXPECT_EQ(company.Phone(), "555");
  EXPECT_EQ(company.Email(), "");
  EXPECT_EQ(company.FirstMonthFiscalYear(), "4");
  EXPECT_EQ(company.FirstMonthIncomeTaxYear(), "12");
  EXPECT_EQ(company.qbEnumTaxForm(), "Form1120S");
  // Custom-field values have no place on the company; application values do.
  ASSERT_EQ(company.CompanyApplicationFields()->Count(), 1);
  EXPECT_EQ(company.CompanyApplicationFields()->Item(1)->Name(), "Region");
  EXPECT_EQ(company.CompanyApplicationFields()->Item(1)->Value().ToString(), "North");
}

TEST_F(CompanyReadingTest, CompanyRetWithAnUnknownMonthRaisesTheEnumerationError) {
  Company company;
  EXPECT_THROW(company.FromDom(Load("<CompanyRet><FirstMonthFiscalYear>Smarch"
                                    "</FirstMonthFiscalYear></CompanyRet>")),
               AutomationError);
}

TEST_F(CompanyReadingTest, PreferencesAreReadFromEveryAggregate) {
  Preferences preferences;
  preferences.FromDom(
      Load("<PreferencesRet xmlns:q=\"urn:q\">"
           "<AccountingPreferences><IsUsingAccountNumbers>true</IsUsingAccountNumbers>"
           "<q:IsAssigningJournalEntryNumbers>true</q:IsAssigningJournalEntryNumbers>"
           "<ClosingDate>2023-06-30</ClosingDate></AccountingPreferences>"
           "<FinanceChargePreferences><AnnualInterestRate>18.5</AnnualInterestRate>"
           "<GracePeriod>10</GracePeriod><FinanceChargeAccountRef><ListID>80-1</ListID>"
           "<FullName>Finance</FullName></FinanceChargeAccountRef>"
           "<CalculateChargesFrom>InvoiceOrBilledDate</CalculateChargesFrom>"
           "</FinanceChargePreferences>"
           "<q:MultiCurrencyPreferences><IsMultiCurrencyOn>true</IsMultiCurrencyOn>"
           "<HomeCurrencyRef><ListID>90-1</ListID><FullName>Euro</FullName></HomeCurrencyRef>"
           "</q:MultiCurrencyPreferences>"
           "<ReportsPreferences><AgingReportBasis>AgeFromTransactionDate</AgingReportBasis>"
           "<SummaryReportBasis>Cash</SummaryReportBasis></ReportsPreferences>"
           "<SalesAndCustomersPreferences><DefaultFOB>Dock</DefaultFOB>"
           "<PriceLevels><IsUsingPriceLevels>true</IsUsingPriceLevels></PriceLevels>"
           "<IsAutoApplyingPayments>true</IsAutoApplyingPayments></SalesAndCustomersPreferences>"
           "<SalesTaxPreferences><PaySalesTax>Quarterly</PaySalesTax></SalesTaxPreferences>"
           "<CurrentAppAccessRights><IsPersonalDataAccessAllowed>true"
           "</IsPersonalDataAccessAllowed></CurrentAppAccessRights>"
           "</PreferencesRet>"));
  EXPECT_TRUE(preferences.IsUsingAccountNumbers());
  EXPECT_TRUE(preferences.IsAssigningJournalNumbers());
  EXPECT_EQ(preferences.ClosingDate(), Date::FromDate(2023, 6, 30));
  EXPECT_EQ(preferences.AnnualInterestRate(), Currency(18.5));
  EXPECT_EQ(preferences.GracePeriod(), 10);
  EXPECT_EQ(preferences.FinanceChargeAccount(), "Finance");
  EXPECT_EQ(preferences.CalculateChargesFrom(), qoCalculateChargesFromInvoiceOrBilledDate);
  EXPECT_EQ(preferences.HomeCurrency(), "Euro");
  EXPECT_EQ(preferences.AgingReportBasis(), qoAgingReportBasisAgeFromTransactionDate);
  EXPECT_EQ(preferences.SummaryReportBasis(), qoSummaryReportBasisCash);
  EXPECT_EQ(preferences.DefaultFOB(), "Dock");
  EXPECT_TRUE(preferences.IsAutoApplyingPayments());
  EXPECT_EQ(preferences.PaySalesTax(), qoPaySalesTaxQuarterly);
  EXPECT_TRUE(preferences.IsSensitiveDataAccessAllowed());
  // No TimeTrackingPreferences: time tracking stays off.
  EXPECT_FALSE(preferences.TimeTrackingEnabled());
}

}  // namespace
}  // namespace brennock::testing
