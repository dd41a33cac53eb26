// Accounts and terms end to end against the simulated company: added through the master
// collections, read back field for field by collections of their own, and deleted.
#include <memory>
#include <string>

#include "simulator/company_file.h"
#include "tests/company/company_fixture.h"

namespace brennock::testing {
namespace {

using AccountsAndTermsSimulatorTest = SimulatedCompanyTest;

simulator::CompanyFileOptions Sample() {
  simulator::CompanyFileOptions options;
  options.sample = simulator::SampleBusiness{};
  return options;
}

TEST_F(AccountsAndTermsSimulatorTest, AccountsAreAddedReadBackAndDeleted) {
  std::shared_ptr<Company> company = Connect(Sample());
  auto accounts = company->Accounts();
  auto tools = accounts->Add(qbFixedAsset, "Tools", "Furniture and Equipment", "T-9", "Power tools",
                             true, "1510", Currency(500), "2024-01-31");
  accounts->Add(qbBank, "Petty Cash", "", "", "Cash box", true, "1020");
  auto wrong = accounts->Add(qbExpense, "Fees", "Checking");
  EXPECT_FALSE(wrong->Validate());
  EXPECT_EQ(wrong->Errors()->Item(1)->Number(), ErrorNumber(1303));
  accounts->Remove("Checking:Fees");
  ASSERT_EQ(accounts->Commit(), 0) << accounts->Errors()->Count();
  EXPECT_EQ(tools->ObjectState(), qoObjectStateClean);
  EXPECT_FALSE(tools->ListID().empty());

  Accounts fixed;
  ASSERT_GT(fixed.GetByAccountType(qbFixedAsset), 0);
  auto read = fixed.Item("Furniture and Equipment:Tools");
  EXPECT_EQ(read->AccountType(), qbFixedAsset);
  EXPECT_EQ(read->Parent(), "Furniture and Equipment");
  EXPECT_EQ(read->Sublevel(), 1);
  EXPECT_EQ(read->Number(), "1510");
  EXPECT_EQ(read->BankNumber(), "T-9");
  EXPECT_EQ(read->Description(), "Power tools");
  EXPECT_EQ(read->Balance(), Currency(500));
  EXPECT_EQ(read->FullNameWithNumber(), "1500 \u00B7 Furniture and Equipment:1510 \u00B7 Tools");
  auto furniture = fixed.Item("Furniture and Equipment");
  // The parent's own balance (the sample's month-end depreciation moves it) and the tools below.
  EXPECT_EQ(furniture->TotalBalance(), furniture->Balance() + Currency(500));
  EXPECT_EQ(furniture->RollUpBalances(), furniture->TotalBalance());

  EXPECT_EQ(company->DefaultBankAccount(), "Checking");
  EXPECT_EQ(company->DefaultARAccount(), "Accounts Receivable");
  EXPECT_EQ(company->DefaultAPAccount(), "Accounts Payable");

  accounts->Delete(tools->ListID());
  EXPECT_FALSE(accounts->ItemExists("Furniture and Equipment:Tools"));
  EXPECT_EQ(Accounts().GetByFullName("Furniture and Equipment:Tools"), nullptr);
}

TEST_F(AccountsAndTermsSimulatorTest, TermsOfEachKindAreAddedReadBackAndDeleted) {
  std::shared_ptr<Company> company = Connect(Sample());
  auto terms = company->Terms();
  terms->AddStandard("Net 45", true, 45, 15, Currency(1.5));
  terms->AddDateDriven("Due on the 25th", 25, false, 10, Currency(2), 7);
  ASSERT_EQ(terms->Commit(), 0);

  Terms all;
  EXPECT_EQ(all.GetAll(), 10);  // the sample's eight and these two
  EXPECT_EQ(all.GetActive(qbDateDrivenTerms), 2);
  EXPECT_EQ(all.GetAll(qbStandardTerms), 6);
  auto standard = std::dynamic_pointer_cast<StandardTerm>(all.Item("Net 45"));
  ASSERT_NE(standard, nullptr);
  EXPECT_EQ(standard->DueDays(), "45");
  EXPECT_EQ(standard->DiscountDays(), "15");
  EXPECT_EQ(standard->DiscountPercent(), Currency(1.5));
  EXPECT_TRUE(standard->IsActive());

  auto dated = std::dynamic_pointer_cast<DateDrivenTerm>(all.GetByFullName("Due on the 25th"));
  ASSERT_NE(dated, nullptr);
  EXPECT_EQ(dated->DayOfMonthDue(), 25);
  EXPECT_EQ(dated->DueNextMonthDays(), 7);
  EXPECT_EQ(dated->DiscountDayOfMonth(), 10);
  EXPECT_EQ(dated->DiscountPercent(), Currency(2));
  EXPECT_FALSE(dated->IsActive());

  terms->Delete(standard->ListID(), qbStandardTerms);
  terms->Delete(dated->ListID(), qbDateDrivenTerms);
  EXPECT_EQ(terms->Count(), 0);
  EXPECT_EQ(Terms().GetAll(), 8);
}

}  // namespace
}  // namespace brennock::testing
