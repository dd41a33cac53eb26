// The chart of accounts and the terms as the simulated QuickBooks keeps them, and the sample
// business's records reading like a real company's.
#include <cctype>
#include <iterator>
#include <map>
#include <set>
#include <string>

#include "simulator/company_file.h"
#include "simulator/simulator_processor.h"
#include "tests/simulator/simulator_fixture.h"

namespace brennock::testing {
namespace {

using AccountsAndTermsTest = SimulatorTest;

std::string AddAccount(const std::string& name, const std::string& type,
                       const std::string& parent = "", const std::string& extra = "") {
  std::string parent_ref =
      parent.empty() ? "" : "<ParentRef><FullName>" + parent + "</FullName></ParentRef>";
  return "<AccountAddRq><AccountAdd><Name>" + name + "</Name>" + parent_ref + "<AccountType>" +
         type + "</AccountType>" + extra + "</AccountAdd></AccountAddRq>";
}

TEST_F(AccountsAndTermsTest, QuickBooksOwnAccountsAreMarkedAndKept) {
  auto chart = Responses(Send("<AccountQueryRq/>")).first_child();
  std::map<std::string, std::string> special;
  for (auto a : chart.children("AccountRet"))
    if (*a.child_value("SpecialAccountType"))
      special[a.child_value("FullName")] = a.child_value("SpecialAccountType");
  for (auto [name, kind] : {std::pair{"Accounts Receivable", "AccountsReceivable"},
                            std::pair{"Accounts Payable", "AccountsPayable"},
                            std::pair{"Undeposited Funds", "UndepositedFunds"},
                            std::pair{"Inventory Asset", "InventoryAssets"},
                            std::pair{"Opening Balance Equity", "OpeningBalanceEquity"},
                            std::pair{"Sales Tax Payable", "SalesTaxPayable"},
                            std::pair{"Payroll Liabilities", "PayrollLiabilities"}})
    EXPECT_EQ(special[name], kind) << name;

  auto funds = First("<AccountQueryRq><FullName>Undeposited Funds</FullName></AccountQueryRq>")
                   .child("AccountRet");
  // Each First replaces the document its nodes live in: keep the texts.
  std::string id = funds.child_value("ListID");
  std::string edit_sequence = funds.child_value("EditSequence");
  EXPECT_EQ(Code(First("<ListDelRq><ListDelType>Account</ListDelType><ListID>" + id +
                       "</ListID></ListDelRq>")),
            3170);
  auto retyped =
      First("<AccountModRq><AccountMod><ListID>" + id + "</ListID><EditSequence>" + edit_sequence +
            "</EditSequence><AccountType>Bank</AccountType></AccountMod></AccountModRq>");
  EXPECT_EQ(Code(retyped), 3170);
  EXPECT_STREQ(retyped.attribute("statusMessage").value(),
               "There was an error when modifying a Account list, element \"Undeposited Funds\".  "
               "QuickBooks error message: The account type of a special account cannot be "
               "changed.");
  // A client cannot make an account special.
  strict_ = false;
  unsetenv("BRENNOCK_QBXML_SCHEMA");
  auto plain = First(AddAccount("Cash Drawer", "OtherCurrentAsset", "",
                                "<SpecialAccountType>PettyCash</SpecialAccountType>"));
  ASSERT_EQ(Code(plain), 0);
  EXPECT_FALSE(plain.child("AccountRet").child("SpecialAccountType"));
}

TEST_F(AccountsAndTermsTest, SubaccountsShareTheirParentsTypeAndBalances) {
  auto vehicles =
      First("<AccountQueryRq><FullName>Vehicles</FullName></AccountQueryRq>").child("AccountRet");
  EXPECT_STREQ(vehicles.child_value("AccountNumber"), "1600");
  EXPECT_STREQ(vehicles.child_value("Balance"), "0.00");
  EXPECT_STREQ(vehicles.child_value("TotalBalance"), "22400.00");
  EXPECT_STREQ(vehicles.child_value("CashFlowClassification"), "Investing");
  std::string id = vehicles.child_value("ListID");
  std::string edit_sequence = vehicles.child_value("EditSequence");

  auto refused = First(AddAccount("Vans", "Expense", "Vehicles"));
  EXPECT_EQ(Code(refused), 3180);
  EXPECT_STREQ(refused.attribute("statusMessage").value(),
               "There was an error when saving a Account list, element \"Vans\".  QuickBooks "
               "error message: A subaccount must be of the same account type as its parent "
               "account.");
  auto vans =
      First(AddAccount("Vans", "FixedAsset", "Vehicles",
                       "<AccountNumber>1630</AccountNumber><OpenBalance>1000</OpenBalance>"));
  ASSERT_EQ(Code(vans), 0);
  EXPECT_STREQ(vans.child("AccountRet").child_value("Sublevel"), "1");
  EXPECT_STREQ(First("<AccountQueryRq><FullName>Vehicles</FullName></AccountQueryRq>")
                   .child("AccountRet")
                   .child_value("TotalBalance"),
               "23400.00");
  auto retyped =
      First("<AccountModRq><AccountMod><ListID>" + id + "</ListID><EditSequence>" + edit_sequence +
            "</EditSequence><AccountType>OtherAsset</AccountType></AccountMod>"
            "</AccountModRq>");
  EXPECT_EQ(Code(retyped), 3170);

  auto by_type = Responses(Send("<AccountQueryRq><AccountType>Equity</AccountType><AccountType>"
                                "LongTermLiability</AccountType></AccountQueryRq>"))
                     .first_child();
  std::set<std::string> types;
  int count = 0;
  for (auto a : by_type.children("AccountRet")) {
    types.insert(a.child_value("AccountType"));
    ++count;
  }
  EXPECT_EQ(types, (std::set<std::string>{"Equity", "LongTermLiability"}));
  EXPECT_EQ(count, 7);

  strict_ = false;  // what the schema would refuse: no type, or one QuickBooks does not know
  unsetenv("BRENNOCK_QBXML_SCHEMA");
  EXPECT_EQ(Code(First(AddAccount("Odd", ""))), 3020);
  EXPECT_EQ(Code(First(AddAccount("Odd", "Savings"))), 3020);
}

TEST_F(AccountsAndTermsTest, TermsOfBothKindsShareANameSpaceAndAreDeletedByKind) {
  auto all = Responses(Send("<TermsQueryRq><ActiveStatus>All</ActiveStatus></TermsQueryRq>"))
                 .first_child();
  std::map<std::string, std::string> kinds;
  for (auto t : all.children()) kinds[t.child_value("Name")] = t.name();
  EXPECT_EQ(kinds.size(), 8u);
  EXPECT_EQ(kinds["Net 30"], "StandardTermsRet");
  EXPECT_EQ(kinds["Due end of month"], "DateDrivenTermsRet");  // inactive
  EXPECT_EQ(Code(First("<StandardTermsAddRq><StandardTermsAdd><Name>due END of month</Name>"
                       "</StandardTermsAdd></StandardTermsAddRq>")),
            3100);
  auto dated = First(
      "<DateDrivenTermsQueryRq><FullName>Due on the 15th</FullName>"
      "</DateDrivenTermsQueryRq>");
  std::string id = dated.child("DateDrivenTermsRet").child_value("ListID");
  EXPECT_EQ(Code(First("<ListDelRq><ListDelType>StandardTerms</ListDelType><ListID>" + id +
                       "</ListID></ListDelRq>")),
            3120);
}

TEST_F(AccountsAndTermsTest, SampleRecordsReadLikeARealCompanysAndRepeatForASeed) {
  auto customers =
      Responses(Send("<CustomerQueryRq><OwnerID>0</OwnerID></CustomerQueryRq>")).first_child();
  int with_terms = 0, with_custom = 0, businesses = 0, shipped_elsewhere = 0;
  for (auto c : customers.children("CustomerRet")) {
    std::string name = c.child_value("Name");
    SCOPED_TRACE(name);
    EXPECT_TRUE(c.child("BillAddress").child("City"));
    EXPECT_TRUE(c.child("ShipAddress").child("PostalCode"));
    EXPECT_NE(std::string(c.child_value("Phone")).find("-555-01"), std::string::npos);
    if (*c.child("ParentRef").child_value("FullName")) continue;  // a job
    for (char ch : name) EXPECT_FALSE(std::isdigit(static_cast<unsigned char>(ch)));
    EXPECT_NE(std::string(c.child_value("Email")).find('@'), std::string::npos);
    with_terms += c.child("TermsRef") ? 1 : 0;
    with_custom += c.child("DataExtRet") ? 1 : 0;
    if (*c.child_value("CompanyName")) {
      ++businesses;
      EXPECT_TRUE(c.child("CreditLimit"));
      shipped_elsewhere += std::string(c.child("BillAddress").child_value("Addr2")) !=
                           c.child("ShipAddress").child_value("Addr2");
    }
  }
  EXPECT_EQ(with_terms, 20);
  EXPECT_GT(with_custom, 5);
  EXPECT_GT(businesses, 2);
  EXPECT_GT(shipped_elsewhere, 0);

  int subcontractors = 0;
  for (auto v : Responses(Send("<VendorQueryRq/>")).first_child().children("VendorRet")) {
    EXPECT_TRUE(v.child("VendorAddress").child("City")) << v.child_value("Name");
    if (std::string(v.child_value("IsVendorEligibleFor1099")) != "true") continue;
    ++subcontractors;
    EXPECT_EQ(std::string(v.child_value("VendorTaxIdent")).size(), 10u);
  }
  EXPECT_EQ(subcontractors, 2);
  for (std::string list : {"Employee", "OtherName"}) {
    for (auto p : Responses(Send("<" + list + "QueryRq/>")).first_child().children()) {
      std::string name = p.child_value("Name");
      EXPECT_EQ(name.find_first_of("0123456789"), std::string::npos) << name;
      EXPECT_TRUE(p.child((list + "Address").c_str()).child("City")) << name;
    }
  }

  // The same seed makes the same business.
  std::string first = Send("<CustomerQueryRq/>");
  std::string again_path = (folder_ / "again.qbw").string();
  simulator::CreateCompanyFile(again_path, Options());
  auto again = simulator::CreateSimulatorProcessor();
  again->OpenConnection("", "again");
  std::string ticket = again->BeginSession(again_path, qbOpenModeDontCare);
  EXPECT_EQ(again->ProcessRequest(ticket, Envelope("<CustomerQueryRq/>")), first);
}

}  // namespace
}  // namespace brennock::testing
