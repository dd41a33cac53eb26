// Accounts on a recording processor: the validation rules in order, exact Add bodies and queries,
// what a response fills, the derived names and balances, and the company's default accounts.
#include <string>
#include <vector>

#include "brennock/brennock.h"
#include "tests/lists/lists_fixture.h"

namespace brennock::testing {
namespace {

class AccountTest : public ListsTest {
 protected:
  static std::string AccountResponse(const std::string& body) {
    return Response(Status("AccountQueryRs", 1, 0, "Status OK", body));
  }
};

constexpr const char* kChartRet =
    "<AccountRet><ListID>10-1</ListID><TimeCreated>2020-01-02T03:04:05-08:00</TimeCreated>"
    "<EditSequence>5</EditSequence><Name>Utilities</Name><FullName>Utilities</FullName>"
    "<IsActive>true</IsActive><Sublevel>0</Sublevel><AccountType>Expense</AccountType>"
    "<AccountNumber>6800</AccountNumber><Balance>10.00</Balance><TotalBalance>45.50"
    "</TotalBalance><CashFlowClassification>Operating</CashFlowClassification></AccountRet>"
    "<AccountRet><ListID>11-1</ListID><Name>Telephone</Name><FullName>Utilities:Telephone"
    "</FullName><IsActive>false</IsActive><ParentRef><ListID>10-1</ListID><FullName>Utilities"
    "</FullName></ParentRef><Sublevel>1</Sublevel><AccountType>Expense</AccountType>"
    "<DetailAccountType>Utilities</DetailAccountType><AccountNumber>6820</AccountNumber>"
    "<BankNumber>B-7</BankNumber><LastCheckNumber>1001</LastCheckNumber><Desc>Phones</Desc>"
    "<Balance>35.50</Balance><TotalBalance>35.50</TotalBalance><SalesTaxCodeRef><FullName>Non"
    "</FullName></SalesTaxCodeRef><TaxLineInfoRet><TaxLineID>336</TaxLineID><TaxLineName>"
    "Telephone</TaxLineName></TaxLineInfoRet><CurrencyRef><FullName>US Dollar</FullName>"
    "</CurrencyRef><DataExtRet><OwnerID>{APP}</OwnerID><DataExtName>Budget</DataExtName>"
    "<DataExtType>AMTTYPE</DataExtType><DataExtValue>40.00</DataExtValue></DataExtRet>"
    "</AccountRet>"
    "<AccountRet><ListID>12-1</ListID><Name>Checking</Name><FullName>Checking</FullName>"
    "<AccountType>Bank</AccountType><SpecialAccountType>AccountsReceivable</SpecialAccountType>"
    "</AccountRet>";

TEST_F(AccountTest, ValidationAddsEveryBrokenRuleInOrder) {
  processor_->SetResponder([](const std::string& request) {
    if (request.find("<FullName>Banks</FullName>") != std::string::npos)
      return AccountResponse(
          "<AccountRet><Name>Banks</Name><FullName>Banks</FullName><AccountType>Bank"
          "</AccountType></AccountRet>");
    return Response(Status("AccountQueryRs", 1, 500, "not found"));
  });
  struct Case {
    qbEnumAccountType type;
    std::string name, parent, number, bankNumber, description;
    std::vector<std::pair<int32_t, std::string>> errors;
  };
  const std::string x7(7, '7'), x25(25, 'b'), x29(29, 'd');
  const std::vector<Case> cases = {
      {qbBank, "Checking", "Banks", x7, x25, x29, {}},
      {qbExpense, "Phones", "Banks", "", "", "", {{1303, "Parent"}}},
      {qbBank, "Petty", "Nowhere", "", "", "", {{1010, "Parent"}}},
      {qbBank, std::string(31, 'n'), "", x7 + "8", "", "", {{1300, "Number"}}},
      {qbBank,
       std::string(32, 'n'),
       "",
       "",
       x25 + "x",
       x29 + "x",
       {{1013, "Name"}, {1301, "BankNumber"}, {1302, "Description"}}},
      {qbBank,
       "",
       "Nowhere",
       "12345678",
       "",
       "",
       {{1012, "Name"}, {1010, "Parent"}, {1300, "Number"}}},
  };
  auto accounts = company_->Accounts();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name + " / " + c.parent);
    accounts->Clear();
    auto account =
        accounts->Add(c.type, c.name, c.parent, c.bankNumber, c.description, true, c.number);
    EXPECT_EQ(account->Validate(), c.errors.empty());
    std::vector<std::pair<int32_t, std::string>> found;
    for (const auto& error : *account->Errors())
      found.emplace_back(error->Number() - ErrorNumber(0), error->Field());
    EXPECT_EQ(found, c.errors);
  }
  auto account = accounts->Add(qbIncome, "Sales", "", "", std::string(30, 'd'));
  account->Validate();
  EXPECT_EQ(account->Errors()->Item(1)->Description(),
            "Account description cannot exceed 29 characters");
}

TEST_F(AccountTest, AddBodyWritesNumbersAlwaysAndTheOpeningBalanceOnlyWhenPositive) {
  auto accounts = company_->Accounts();
  EXPECT_EQ(AddRequest(*accounts->Add(qbExpense, "Telephone", "Utilities")),
            "<AccountAddRq requestID = \"1\"><AccountAdd><Name>Telephone</Name><IsActive>1"
            "</IsActive><ParentRef><FullName>Utilities</FullName></ParentRef><AccountType>Expense"
            "</AccountType><AccountNumber></AccountNumber><BankNumber></BankNumber><Desc></Desc>"
            "</AccountAdd></AccountAddRq>");
  EXPECT_EQ(AddRequest(*accounts->Add(qbBank, "Savings", "", "0042-77", "Reserve", false, "1010",
                                      Currency(2500), "2023-12-31")),
            "<AccountAddRq requestID = \"1\"><AccountAdd><Name>Savings</Name><IsActive>0"
            "</IsActive><AccountType>Bank</AccountType><AccountNumber>1010</AccountNumber>"
            "<BankNumber>0042-77</BankNumber><Desc>Reserve</Desc><OpenBalance>2500.00"
            "</OpenBalance><OpenBalanceDate>2023-12-31</OpenBalanceDate></AccountAdd>"
            "</AccountAddRq>");
  auto noDate = accounts->Add(qbCostOfGoodsSold, "Freight", "", "", "", true, "", Currency(1));
  EXPECT_NE(
      AddRequest(*noDate).find("<OpenBalance>1.00</OpenBalance><OpenBalanceDate>" +
                               ModConvertDtypes::DateToText(Date::Today()) + "</OpenBalanceDate>"),
      std::string::npos);
  auto negative =
      accounts->Add(qbEquity, "Drawings", "", "", "", true, "", Currency(-5), "2023-01-01");
  EXPECT_EQ(AddRequest(*negative).find("OpenBalance"), std::string::npos);
  EXPECT_EQ(negative->OpeningBalanceDate(), "2023-01-01");
}

TEST_F(AccountTest, QueriesWriteTheirFiltersAndLoadEveryField) {
  Session().dataExtOwnerID = "{APP}";
  processor_->SetResponder([](const std::string&) { return AccountResponse(kChartRet); });
  auto accounts = std::make_shared<Accounts>();
  EXPECT_EQ(accounts->GetByAccountType(qbBank, 5), 3);
  EXPECT_EQ(processor_->LastRequestText(),
            std::string(kOpen20) +
                "<AccountQueryRq requestID = \"1\"><MaxReturned>5</MaxReturned><AccountType>Bank"
                "</AccountType></AccountQueryRq>" +
                kClose);
  accounts->SetIncludeDataExtensions(true);
  accounts->GetAll();
  EXPECT_EQ(processor_->LastRequestText(),
            std::string(kOpen20) +
                "<AccountQueryRq requestID = \"1\"><ActiveStatus>All</ActiveStatus><OwnerID>0"
                "</OwnerID></AccountQueryRq>" +
                kClose);
  // One flag, however the collection is reached: the owner is asked for once.
  static_cast<ListCollectionCore&>(*accounts).SetIncludeDataExtensions(false);
  EXPECT_FALSE(accounts->IncludeDataExtensions());
  static_cast<ListCollectionCore&>(*accounts).SetIncludeDataExtensions(true);
  EXPECT_TRUE(accounts->IncludeDataExtensions());
  accounts->GetByAccountType(qbBank);
  EXPECT_NE(processor_->LastRequestText().find("<AccountType>Bank</AccountType><OwnerID>0</OwnerID>"
                                               "</AccountQueryRq>"),
            std::string::npos);
  EXPECT_EQ(
      RaisedBy([&] { accounts->GetByAccountType(static_cast<qbEnumAccountType>(17)); }).Number(),
      ErrorNumber(errInvalidEnumString));

  auto phone = accounts->Item("Utilities:Telephone");
  EXPECT_EQ(phone->ObjectState(), qoObjectStateClean);
  EXPECT_EQ(phone->AccountType(), qbExpense);
  EXPECT_EQ(phone->Parent(), "Utilities");
  EXPECT_EQ(phone->Sublevel(), 1);
  EXPECT_FALSE(phone->IsActive());
  EXPECT_EQ(phone->Number(), "6820");
  EXPECT_EQ(phone->BankNumber(), "B-7");
  EXPECT_EQ(phone->LastCheckNumber(), "1001");
  EXPECT_EQ(phone->Description(), "Phones");
  EXPECT_EQ(phone->Balance(), Currency(35.5));
  EXPECT_EQ(phone->CDNTaxCode(), "Non");
  EXPECT_EQ(phone->TaxLineId(), 336);
  EXPECT_EQ(phone->TaxLineName(), "Telephone");
  EXPECT_EQ(phone->CurrencyType(), "US Dollar");
  ASSERT_EQ(phone->ApplicationFields()->Count(), 1);
  EXPECT_EQ(phone->ApplicationFields()->Item(1)->Value(), Variant(Currency(40)));
  auto utilities = accounts->Item(1);
  EXPECT_EQ(utilities->CashFlowClassification(), "Operating");
  EXPECT_EQ(utilities->TimeCreated(), Date::FromDateTime(2020, 1, 2, 3, 4, 5));
  EXPECT_EQ(accounts->Item("Checking")->SpecialAccountType(), "AccountsReceivable");
  ASSERT_EQ(utilities->Children()->Count(), 1);
  EXPECT_EQ(utilities->Children()->Item(1)->FullName(), "Utilities:Telephone");
}

// Found by fuzzing: an account read without a type wrote <AccountType></AccountType> in its
// query-result form, which did not read back.
TEST_F(AccountTest, TheQueryFormOfAnAccountWithoutATypeReadsBack) {
  XmlDocument document;
  ASSERT_TRUE(document.loadXML("<AccountRet><Name>Loose</Name><AccountType/></AccountRet>"));
  Account account;
  account.FromDom(document.documentElement());
  EXPECT_EQ(account.AccountType(), 0);
  xmlBldr builder;
  account.XMLQueryRs(builder);
  ASSERT_TRUE(document.loadXML("<AccountRet>" + builder.GetXML() + "</AccountRet>"));
  Account again;
  again.FromDom(document.documentElement());
  EXPECT_EQ(again.Name(), "Loose");
}

TEST_F(AccountTest, NamesWithNumbersAndRolledUpBalancesFollowTheHierarchy) {
  processor_->QueueResponse(AccountResponse(kChartRet));
  auto accounts = company_->Accounts();
  ASSERT_EQ(accounts->GetAll(), 3);
  auto phone = accounts->Item("Utilities:Telephone");
  EXPECT_EQ(phone->NameWithNumber(), "6820 \u00B7 Telephone");
  EXPECT_EQ(phone->FullNameWithNumber(), "6800 \u00B7 Utilities:6820 \u00B7 Telephone");
  EXPECT_EQ(accounts->Item("Checking")->NameWithNumber(), "Checking");
  EXPECT_EQ(accounts->Item("Checking")->FullNameWithNumber(), "Checking");
  EXPECT_EQ(accounts->Item(1)->RollUpBalances(), Currency(45.5));
  // A level the company does not hold keeps its plain name.
  auto orphan = accounts->Add(qbExpense, "Fax", "Office", "", "", true, "6900");
  EXPECT_EQ(orphan->FullNameWithNumber(), "Office:6900 \u00B7 Fax");
}

TEST_F(AccountTest, SavedAccountsChangeOnlyInTheLibraryAndRefusalsAreLabelled) {
  processor_->QueueResponse(AccountResponse(kChartRet));
  auto accounts = company_->Accounts();
  accounts->GetAll();
  auto checking = accounts->Item("Checking");
  AutomationError error = RaisedBy([&] { checking->SetOpeningBalance(Currency(1)); });
  EXPECT_EQ(error.Number(), ErrorNumber(1002));
  EXPECT_EQ(error.Source(), "Account");
  EXPECT_EQ(RaisedBy([&] { checking->SetOpeningBalanceDate("2020-01-01"); }).Number(),
            ErrorNumber(1002));
  EXPECT_EQ(checking->ObjectState(), qoObjectStateClean);
  checking->SetDescription("Main");
  EXPECT_EQ(checking->ObjectState(), qoObjectStateDirty);
  error = RaisedBy([&] { accounts->Commit(); });
  EXPECT_EQ(error.Number(), ErrorNumber(1003));
  EXPECT_EQ(error.Source(), "Brennock: Account");
  EXPECT_EQ(error.Description(), "XMLModify not supported");

  accounts->Clear();
  auto added = accounts->Add(qbBank, "Payroll");
  processor_->QueueResponse(Response(Status(
      "AccountAddRs", 1, 3180, "There was an error.  QuickBooks error message: No account type")));
  Session().errorMode = false;
  EXPECT_EQ(accounts->Commit(), 1);
  ASSERT_EQ(added->Errors()->Count(), 1);
  EXPECT_EQ(added->Errors()->Item(1)->Field(), "QuickBooks response: ");
  EXPECT_EQ(added->Errors()->Item(1)->Description(), "No account type");
  EXPECT_EQ(RaisedBy([&] { Accounts().Add(qbBank, "x"); }).Source(), "Account");
}

TEST_F(AccountTest, CompanyDefaultAccountsAreCachedOnceFound) {
  processor_->SetResponder([](const std::string& request) {
    if (request.find("<AccountType>AccountsReceivable<") == std::string::npos)
      return Response(Status("AccountQueryRs", 1, 1, "none"));
    return AccountResponse(
        "<AccountRet><Name>AR</Name><ParentRef><FullName>Assets</FullName></ParentRef>"
        "<AccountType>AccountsReceivable</AccountType></AccountRet>");
  });
  EXPECT_EQ(company_->DefaultARAccount(), "Assets:AR");
  EXPECT_EQ(company_->DefaultARAccount(), "Assets:AR");
  EXPECT_EQ(company_->DefaultAPAccount(), "");
  EXPECT_EQ(processor_->Requests().size(), 2u);
  EXPECT_EQ(company_->Accounts()->Count(), 0) << "the master collection is left alone";
}

}  // namespace
}  // namespace brennock::testing
