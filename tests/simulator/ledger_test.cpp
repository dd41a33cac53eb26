// The ledger's figures and the bookings that are not invoices: opening balances, moves in the
// hierarchy, what may not be deleted, and the rounding rules, against hand-computed values.
#include "simulator/ledger/ledger.h"

#include <gmock/gmock.h>

#include <string>

#include "simulator/ledger/stock_figures.h"
#include "simulator/store/company_db.h"
#include "simulator/transactions/date_macros.h"
#include "tests/simulator/books_fixture.h"

namespace brennock::testing {
namespace {

using LedgerTest = BooksTest;

TEST_F(LedgerTest, OpeningBalancesArePostedAgainstOpeningBalanceEquity) {
  const int64_t equity = AccountBalance("Opening Balance Equity");
  const int64_t receivable = AccountBalance("Accounts Receivable");
  const int64_t payable = AccountBalance("Accounts Payable");
  const int64_t stock = AccountBalance("Inventory Asset");
  Ok("<AccountAddRq><AccountAdd><Name>Petty Cash</Name><AccountType>Bank</AccountType>"
     "<OpenBalance>150.00</OpenBalance></AccountAdd></AccountAddRq>");
  Ok("<AccountAddRq><AccountAdd><Name>Shareholder Loan</Name><AccountType>LongTermLiability"
     "</AccountType><OpenBalance>1000.00</OpenBalance></AccountAdd></AccountAddRq>");
  Ok("<CustomerAddRq><CustomerAdd><Name>Owes Us</Name><OpenBalance>80.25</OpenBalance>"
     "</CustomerAdd></CustomerAddRq>");
  Ok("<VendorAddRq><VendorAdd><Name>We Owe</Name><OpenBalance>40.00</OpenBalance></VendorAdd>"
     "</VendorAddRq>");
  // 12 at a value of 100.00, and 4 at their purchase cost of 2.50 (no value given).
  Ok("<ItemInventoryAddRq><ItemInventoryAdd><Name>Valve</Name>" + Ref("IncomeAccountRef", "Sales") +
     "<PurchaseCost>9.00</PurchaseCost>" + Ref("COGSAccountRef", "Cost of Goods Sold") +
     Ref("AssetAccountRef", "Inventory Asset") +
     "<QuantityOnHand>12</QuantityOnHand><TotalValue>100.00</TotalValue>"
     "</ItemInventoryAdd></ItemInventoryAddRq>");
  Ok("<ItemInventoryAddRq><ItemInventoryAdd><Name>Washer</Name>" +
     Ref("IncomeAccountRef", "Sales") + "<PurchaseCost>2.50</PurchaseCost>" +
     Ref("COGSAccountRef", "Cost of Goods Sold") + Ref("AssetAccountRef", "Inventory Asset") +
     "<QuantityOnHand>4</QuantityOnHand></ItemInventoryAdd></ItemInventoryAddRq>");
  EXPECT_EQ(AccountBalance("Petty Cash"), 15000);
  EXPECT_EQ(AccountBalance("Shareholder Loan"), 100000);
  EXPECT_EQ(CustomerBalance("Owes Us"), 8025);
  EXPECT_EQ(Cents(One("<VendorQueryRq><FullName>We Owe</FullName></VendorQueryRq>", "VendorRet",
                      "Balance")),
            4000);
  EXPECT_EQ(AccountBalance("Accounts Receivable") - receivable, 8025);
  EXPECT_EQ(AccountBalance("Accounts Payable") - payable, 4000);
  EXPECT_EQ(AccountBalance("Inventory Asset") - stock, 11000);
  // 150.00 - 1000.00 + 80.25 - 40.00 + 100.00 + 10.00
  EXPECT_EQ(AccountBalance("Opening Balance Equity") - equity, -69975);
  EXPECT_EQ(ItemField("Valve", "QuantityOnHand"), "12");
  EXPECT_EQ(ItemField("Valve", "AverageCost"), "8.33333");  // 100.00 / 12
  EXPECT_EQ(ItemField("Washer", "AverageCost"), "2.50");
}

TEST_F(LedgerTest, TotalsFollowMovesAndUsedRecordsStay) {
  Ok("<CustomerAddRq><CustomerAdd><Name>First Parent</Name></CustomerAdd></CustomerAddRq>");
  Ok("<CustomerAddRq><CustomerAdd><Name>Second Parent</Name></CustomerAdd></CustomerAddRq>");
  pugi::xml_node job =
      Ok("<CustomerAddRq><CustomerAdd><Name>Deck</Name>" + Ref("ParentRef", "First Parent") +
         "<OpenBalance>70.00</OpenBalance></CustomerAdd></CustomerAddRq>")
          .child("CustomerRet");
  std::string id = job.child_value("ListID"), sequence = job.child_value("EditSequence");
  auto total = [&](const std::string& name) {
    return Cents(One("<CustomerQueryRq><FullName>" + name + "</FullName></CustomerQueryRq>",
                     "CustomerRet", "TotalBalance"));
  };
  EXPECT_EQ(total("First Parent"), 7000);
  Ok("<CustomerModRq><CustomerMod><ListID>" + id + "</ListID><EditSequence>" + sequence +
     "</EditSequence>" + Ref("ParentRef", "Second Parent") + "</CustomerMod></CustomerModRq>");
  EXPECT_EQ(total("First Parent"), 0);
  EXPECT_EQ(total("Second Parent"), 7000);
  // Its own opening balance goes with a deleted record; an invoice makes a customer in use, and
  // an item named only by a voided invoice stays in use too.
  Ok("<ListDelRq><ListDelType>Customer</ListDelType><ListID>" + id + "</ListID></ListDelRq>");
  EXPECT_EQ(total("Second Parent"), 0);
  std::string txn = Ok("<InvoiceAddRq><InvoiceAdd>" + Ref("CustomerRef", "Second Parent") +
                       Line("Delivery", "1") + "</InvoiceAdd></InvoiceAddRq>")
                        .child("InvoiceRet")
                        .child_value("TxnID");
  std::string parent = One("<CustomerQueryRq><FullName>Second Parent</FullName></CustomerQueryRq>",
                           "CustomerRet", "ListID");
  pugi::xml_node used = First("<ListDelRq><ListDelType>Customer</ListDelType><ListID>" + parent +
                              "</ListID></ListDelRq>");
  EXPECT_EQ(Code(used), 3170);
  EXPECT_THAT(std::string(used.attribute("statusMessage").value()),
              ::testing::HasSubstr("This list element is in use and cannot be deleted."));
  Ok("<TxnVoidRq><TxnVoidType>Invoice</TxnVoidType><TxnID>" + txn + "</TxnID></TxnVoidRq>");
  std::string item = One("<ItemQueryRq><FullName>Delivery</FullName></ItemQueryRq>",
                         "ItemOtherChargeRet", "ListID");
  EXPECT_EQ(Code(First("<ListDelRq><ListDelType>ItemOtherCharge</ListDelType><ListID>" + item +
                       "</ListID></ListDelRq>")),
            3170);
}

TEST_F(LedgerTest, TheSummaryCheckCatchesATamperedTotal) {
  simulator::CompanyDb company(path_);
  simulator::Ledger ledger(company);
  EXPECT_TRUE(ledger.VerifyTotals().empty());
  company.db().Exec(
      "UPDATE ledger_totals SET balance=balance+1 WHERE list_id=(SELECT list_id "
      "FROM ledger_totals LIMIT 1)");
  EXPECT_EQ(ledger.VerifyTotals().size(), 1u);
}

TEST(StockFigures, RoundHalfAwayFromZeroAndKeepFiveDecimals) {
  using simulator::Amount;
  using simulator::ParseQuantity;
  EXPECT_EQ(Amount(*ParseQuantity("1"), "2.345"), 235);
  EXPECT_EQ(Amount(*ParseQuantity("-1"), "2.345"), -235);
  EXPECT_EQ(Amount(*ParseQuantity("3"), "0.33333"), 100);  // 0.99999
  EXPECT_EQ(Amount(*ParseQuantity("2.5"), "4.10"), 1025);
  EXPECT_EQ(simulator::PercentOf(7950, "7.25"), 576);  // 5.76375
  EXPECT_EQ(simulator::PercentOf(-5, "10"), -1);       // -0.5 rounds away from zero
  EXPECT_FALSE(Amount(*ParseQuantity("9000000000"), "99999999"));
  EXPECT_FALSE(ParseQuantity("1.000001"));  // more than five decimals
  EXPECT_EQ(simulator::FormatQuantity(*ParseQuantity("140.50")), "140.5");
  EXPECT_EQ(simulator::FormatAverageCost(98000, *ParseQuantity("140")), "7.00");
  EXPECT_EQ(simulator::FormatAverageCost(1000, *ParseQuantity("3")), "3.33333");
  EXPECT_EQ(simulator::FormatAverageCost(1000, 0), "");
}

TEST(DateMacros, RangesOnTheSimulatorsDay) {
  // Tuesday 14 November 2023, 06:13 in the clock's own zone (UTC-8).
  const simulator::SimulatorTime now{1700000000, -480};
  auto range = [&](const char* macro, int fiscal = 1) {
    auto r = simulator::DateMacroRange(macro, now, fiscal);
    return r ? r->first + " " + r->second : std::string("none");
  };
  EXPECT_EQ(range("Today"), "2023-11-14 2023-11-14");
  EXPECT_EQ(range("ThisWeek"), "2023-11-12 2023-11-18");
  EXPECT_EQ(range("LastWeekToDate"), "2023-11-05 2023-11-07");
  EXPECT_EQ(range("ThisMonthToDate"), "2023-11-01 2023-11-14");
  EXPECT_EQ(range("LastMonth"), "2023-10-01 2023-10-31");
  EXPECT_EQ(range("LastMonthToDate"), "2023-10-01 2023-10-14");
  EXPECT_EQ(range("NextMonth"), "2023-12-01 2023-12-31");
  EXPECT_EQ(range("ThisCalendarQuarter"), "2023-10-01 2023-12-31");
  EXPECT_EQ(range("NextCalendarQuarter"), "2024-01-01 2024-03-31");
  EXPECT_EQ(range("LastCalendarYear"), "2022-01-01 2022-12-31");
  // A fiscal year from July.
  EXPECT_EQ(range("ThisFiscalYear", 7), "2023-07-01 2024-06-30");
  EXPECT_EQ(range("ThisFiscalQuarter", 7), "2023-10-01 2023-12-31");
  EXPECT_EQ(range("LastFiscalQuarterToDate", 7), "2023-07-01 2023-08-14");
  EXPECT_EQ(range("All"), "none");
}

}  // namespace
}  // namespace brennock::testing
