// The simulator's reports read as an accountant reads them: identities that hold whatever the
// books hold, checked over random invoices; figures worked out by hand; and QuickBooks' own
// answer to a stock status report matched element for element.
#include <cstdio>
#include <functional>
#include <list>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "simulator/company_file.h"
#include "tests/simulator/books_fixture.h"

namespace brennock::testing {
namespace {

class ReportBooksTest : public BooksTest {
 protected:
  std::mt19937 rng_{20241206};
  size_t Below(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng_); }

  pugi::xml_node Report(const std::string& family, const std::string& type,
                        const std::string& options = {}) {
    pugi::xml_node rs = Ok("<" + family + "ReportQueryRq><" + family + "ReportType>" + type + "</" +
                           family + "ReportType>" + options + "</" + family + "ReportQueryRq>");
    // A copy that outlives the fixture's next request (which replaces its document).
    return kept_.emplace_back().append_copy(rs.child("ReportRet"));
  }
  std::list<pugi::xml_document> kept_;
  static std::string Period(const std::string& from, const std::string& to) {
    return "<ReportPeriod><FromReportDate>" + from + "</FromReportDate><ToReportDate>" + to +
           "</ToReportDate></ReportPeriod>";
  }
  // The figure in a column of the row whose first column reads `label` (0 when none has it).
  static int64_t Figure(pugi::xml_node report, const std::string& label, int column) {
    for (pugi::xml_node row : report.child("ReportData").children()) {
      pugi::xml_node first = row.find_child_by_attribute("ColData", "colID", "1");
      if (!first || label != first.attribute("value").value()) continue;
      pugi::xml_node cell =
          row.find_child_by_attribute("ColData", "colID", std::to_string(column).c_str());
      return cell ? Cents(cell.attribute("value").value()) : 0;
    }
    return 0;
  }

  void AddInvoice(const std::string& customer, const std::string& date, const std::string& lines) {
    Ok("<InvoiceAddRq><InvoiceAdd>" + Ref("CustomerRef", customer) + "<TxnDate>" + date +
       "</TxnDate>" + lines + "</InvoiceAdd></InvoiceAddRq>");
  }
};

TEST_F(ReportBooksTest, StatementsAgreeWithEachOtherOverRandomInvoices) {
  std::vector<std::string> customers;
  for (auto c : Ok("<CustomerQueryRq/>").children("CustomerRet"))
    customers.push_back(c.child_value("FullName"));
  const char* kItems[] = {"Consulting", "Widget", "Bracket", "Hinge", "Delivery"};
  for (int n = 0; n < 40; ++n) {
    std::string lines;
    for (size_t k = 1 + Below(3); k > 0; --k)
      lines += Line(kItems[Below(std::size(kItems))], std::to_string(1 + Below(4)));
    // In 2021, a year before the sample business's own invoices.
    char date[16];
    std::snprintf(date, sizeof date, "2021-%02d-%02d", static_cast<int>(1 + Below(12)),
                  static_cast<int>(1 + Below(28)));
    AddInvoice(customers[Below(customers.size())], date, lines);
  }
  for (const std::string end : {"2021-06-30", "2021-12-31", "2023-11-14"}) {
    SCOPED_TRACE("as of " + end);
    const std::string as_of = Period(end.substr(0, 4) + "-01-01", end);
    pugi::xml_node sheet = Report("GeneralSummary", "BalanceSheetStandard", as_of);
    EXPECT_NE(Figure(sheet, "TOTAL ASSETS", 2), 0);
    EXPECT_EQ(Figure(sheet, "TOTAL ASSETS", 2), Figure(sheet, "TOTAL LIABILITIES & EQUITY", 2));
    // The year's profit is the balance sheet's net income (the fiscal year starts in January).
    pugi::xml_node profit = Report("GeneralSummary", "ProfitAndLossStandard", as_of);
    EXPECT_EQ(Figure(profit, "Net Income", 2), Figure(sheet, "Net Income", 2));
    pugi::xml_node trial = Report("GeneralSummary", "TrialBalance", as_of);
    EXPECT_EQ(Figure(trial, "TOTAL", 2), Figure(trial, "TOTAL", 3));
    // What customers owe, four ways.
    const int64_t receivable = Figure(sheet, "Total Accounts Receivable", 2);
    EXPECT_GT(receivable, 0);
    EXPECT_EQ(Figure(Report("Aging", "ARAgingSummary", as_of), "TOTAL", 7), receivable);
    EXPECT_EQ(Figure(Report("GeneralSummary", "CustomerBalanceSummary", as_of), "TOTAL", 2),
              receivable);
    EXPECT_EQ(Figure(Report("GeneralDetail", "OpenInvoices", as_of), "TOTAL", 9), receivable);
    // Stock at average cost is the inventory asset account.
    EXPECT_EQ(Figure(Report("GeneralSummary", "InventoryValuationSummary", as_of), "TOTAL", 5),
              Figure(sheet, "Inventory Asset", 2));
  }
  // Nothing is paid yet, so the cash basis has no income from these invoices: the two bases
  // differ by the unpaid invoices' income (their subtotals: these lines carry no discount).
  int64_t unpaid = 0;
  for (auto i : Ok("<InvoiceQueryRq><TxnDateRangeFilter><FromTxnDate>2021-01-01</FromTxnDate>"
                   "<ToTxnDate>2021-12-31</ToTxnDate></TxnDateRangeFilter></InvoiceQueryRq>")
                    .children("InvoiceRet"))
    unpaid += Cents(i.child_value("Subtotal"));
  const std::string year = Period("2021-01-01", "2021-12-31");
  pugi::xml_node accrual = Report("GeneralSummary", "ProfitAndLossStandard", year);
  pugi::xml_node cash =
      Report("GeneralSummary", "ProfitAndLossStandard", year + "<ReportBasis>Cash</ReportBasis>");
  EXPECT_EQ(std::string(cash.child_value("ReportBasis")), "Cash");
  EXPECT_GT(unpaid, 0);
  EXPECT_EQ(Figure(accrual, "Total Income", 2) - Figure(cash, "Total Income", 2), unpaid);
}

TEST_F(ReportBooksTest, AProfitAndLossWorkedByHand) {
  // March 2020, before anything else in the sample company's books.
  const std::string customer = Ok("<CustomerQueryRq><MaxReturned>1</MaxReturned></CustomerQueryRq>")
                                   .child("CustomerRet")
                                   .child_value("FullName");
  AddInvoice(customer, "2020-03-02", Line("Consulting", "3") + Line("Delivery", "1"));
  AddInvoice(customer, "2020-03-20", Line("Widget", "2"));
  pugi::xml_node pnl =
      Report("GeneralSummary", "ProfitAndLossStandard", Period("2020-03-01", "2020-03-31"));
  EXPECT_EQ(std::string(pnl.child_value("ReportSubtitle")), "March 1 - 31, 2020");
  EXPECT_EQ(Figure(pnl, "Total Income", 2), 33400);  // 3 x 95.00 + 25.00 + 2 x 12.00
  EXPECT_EQ(Figure(pnl, "Total COGS", 2), 1400);     // 2 widgets at their average cost of 7.00
  EXPECT_EQ(Figure(pnl, "Gross Profit", 2), 32000);  // 334.00 - 14.00
  EXPECT_EQ(Figure(pnl, "Net Income", 2), 32000);    // no expenses that month
  // By month over the quarter: everything falls in March, and the TOTAL column repeats it.
  pugi::xml_node months =
      Report("GeneralSummary", "ProfitAndLossStandard",
             Period("2020-01-01", "2020-03-31") + "<SummarizeColumnsBy>Month</SummarizeColumnsBy>");
  EXPECT_EQ(std::string(months.child_value("NumColumns")), "5");  // label, Jan, Feb, Mar, TOTAL
  EXPECT_EQ(Figure(months, "Net Income", 2), 0);
  EXPECT_EQ(Figure(months, "Net Income", 4), 32000);
  EXPECT_EQ(Figure(months, "Net Income", 5), 32000);
}

// What the company owes, five ways, on the sample's year of buying: the balance sheet's payables,
// the aging, the vendors' balances, the unpaid bills and the open transactions themselves (bills
// with something due, item receipts not yet billed, less vendor credits left to use).
TEST_F(ReportBooksTest, PayablesAgreeWithTheOpenBillsAndCredits) {
  for (const std::string& as_of : {std::string(), Period("2023-01-01", "2023-06-30")}) {
    SCOPED_TRACE("as of " + (as_of.empty() ? std::string("today") : as_of));
    const int64_t payable = Figure(Report("GeneralSummary", "BalanceSheetStandard", as_of),
                                   "Total Accounts Payable", 2);
    EXPECT_EQ(Figure(Report("Aging", "APAgingSummary", as_of), "TOTAL", 7), payable);
    EXPECT_EQ(Figure(Report("GeneralDetail", "UnpaidBillsDetail", as_of), "TOTAL", 9), payable);
    pugi::xml_node vendors = Report("GeneralSummary", "VendorBalanceSummary", as_of);
    EXPECT_EQ(Figure(vendors, "TOTAL", 2), payable);
    if (!as_of.empty()) continue;
    EXPECT_GT(payable, 0);
    int64_t open = 0;
    for (auto b : First("<BillQueryRq/>").children("BillRet"))
      open += Cents(b.child_value("AmountDue"));
    for (auto r : First("<ItemReceiptQueryRq><IncludeLinkedTxns>true</IncludeLinkedTxns>"
                        "</ItemReceiptQueryRq>")
                      .children("ItemReceiptRet")) {
      bool billed = false;
      for (auto link : r.children("LinkedTxn"))
        billed |= std::string_view(link.child_value("TxnType")) == "Bill";
      if (!billed) open += Cents(r.child_value("TotalAmount"));
    }
    for (auto c : First("<VendorCreditQueryRq/>").children("VendorCreditRet"))
      open -= Cents(c.child_value("OpenAmount"));
    EXPECT_EQ(open, payable);
    // Each vendor's row is its balance.
    for (auto v : First("<VendorQueryRq/>").children("VendorRet"))
      EXPECT_EQ(Figure(vendors, v.child_value("Name"), 2), Cents(v.child_value("Balance")))
          << v.child_value("Name");
  }
}

TEST_F(ReportBooksTest, PayablesAgedByHand) {
  // In 2020, before the sample company's own trade; a vendor without terms, so each bill is due
  // on its date.
  Ok("<VendorAddRq><VendorAdd><Name>Harbour Supply</Name></VendorAdd></VendorAddRq>");
  auto expense = [](const std::string& amount) {
    return "<ExpenseLineAdd>" + Ref("AccountRef", "Rent") + "<Amount>" + amount +
           "</Amount></ExpenseLineAdd>";
  };
  const std::string vendor = Ref("VendorRef", "Harbour Supply");
  std::string first = Ok("<BillAddRq><BillAdd>" + vendor + "<TxnDate>2020-01-10</TxnDate>" +
                         expense("300.00") + "</BillAdd></BillAddRq>")
                          .child("BillRet")
                          .child_value("TxnID");
  Ok("<BillAddRq><BillAdd>" + vendor + "<TxnDate>2020-03-20</TxnDate>" + expense("200.00") +
     "</BillAdd></BillAddRq>");
  Ok("<VendorCreditAddRq><VendorCreditAdd>" + vendor + "<TxnDate>2020-03-25</TxnDate>" +
     expense("50.00") + "</VendorCreditAdd></VendorCreditAddRq>");
  Ok("<BillPaymentCheckAddRq><BillPaymentCheckAdd>" + Ref("PayeeEntityRef", "Harbour Supply") +
     "<TxnDate>2020-03-28</TxnDate>" + Ref("BankAccountRef", "Checking") +
     "<IsToBePrinted>true</IsToBePrinted><AppliedToTxnAdd><TxnID>" + first +
     "</TxnID><PaymentAmount>100.00</PaymentAmount></AppliedToTxnAdd></BillPaymentCheckAdd>"
     "</BillPaymentCheckAddRq>");
  // As of March 31: the first bill has 300.00 - 100.00 = 200.00 left, 81 days past due (61 - 90);
  // the second 200.00, 11 days past due, and the credit -50.00, 6 days old (both 1 - 30).
  // Owed: 200.00 + 200.00 - 50.00 = 350.00.
  const std::string march = Period("2020-01-01", "2020-03-31");
  pugi::xml_node aging = Report("Aging", "APAgingSummary", march);
  EXPECT_EQ(Figure(aging, "Harbour Supply", 2), 0);      // Current
  EXPECT_EQ(Figure(aging, "Harbour Supply", 3), 15000);  // 1 - 30: 200.00 - 50.00
  EXPECT_EQ(Figure(aging, "Harbour Supply", 5), 20000);  // 61 - 90
  EXPECT_EQ(Figure(aging, "TOTAL", 7), 35000);
  EXPECT_EQ(Figure(Report("GeneralSummary", "VendorBalanceSummary", march), "TOTAL", 2), 35000);
  EXPECT_EQ(Figure(Report("GeneralDetail", "UnpaidBillsDetail", march), "TOTAL", 9), 35000);
  EXPECT_EQ(
      Figure(Report("GeneralSummary", "BalanceSheetStandard", march), "Total Accounts Payable", 2),
      35000);
  // Before the payment (March 27) the first bill still had all of its 300.00 open.
  EXPECT_EQ(
      Figure(Report("Aging", "APAgingSummary", Period("2020-01-01", "2020-03-27")), "TOTAL", 7),
      45000);
}

TEST_F(ReportBooksTest, FiltersNamingNoRecordAreRefused) {
  pugi::xml_node rs = First(
      "<GeneralDetailReportQueryRq><GeneralDetailReportType>GeneralLedger</GeneralDetailReportType>"
      "<ReportAccountFilter><FullName>No Such Account</FullName></ReportAccountFilter>"
      "</GeneralDetailReportQueryRq>");
  EXPECT_EQ(Code(rs), 3120);
  EXPECT_EQ(std::string(rs.attribute("statusMessage").value()),
            "There is an invalid reference to \"No Such Account\" in the report filter.");
}

// A company holding only the items of QuickBooks' sample answer.
class StockStatusSampleTest : public BooksTest {
 protected:
  simulator::CompanyFileOptions Options() override { return {}; }
};

TEST_F(StockStatusSampleTest, MatchesQuickBooksAnswerPathForPathAndColumnForColumn) {
  BRENNOCK_REQUIRE_QBXML_DIR();
  Ok("<AccountAddRq><AccountAdd><Name>Sales</Name><AccountType>Income</AccountType></AccountAdd></"
     "AccountAddRq>");
  Ok("<AccountAddRq><AccountAdd><Name>Cost of Goods "
     "Sold</Name><AccountType>CostOfGoodsSold</AccountType>"
     "</AccountAdd></AccountAddRq>");
  Ok("<AccountAddRq><AccountAdd><Name>Inventory "
     "Asset</Name><AccountType>OtherCurrentAsset</AccountType>"
     "</AccountAdd></AccountAddRq>");
  auto item = [&](const std::string& name, const std::string& parent, const std::string& reorder,
                  const std::string& on_hand) {
    Ok("<ItemInventoryAddRq><ItemInventoryAdd><Name>" + name + "</Name>" +
       (parent.empty() ? "" : Ref("ParentRef", parent)) + Ref("IncomeAccountRef", "Sales") +
       Ref("COGSAccountRef", "Cost of Goods Sold") + Ref("AssetAccountRef", "Inventory Asset") +
       (reorder.empty() ? "" : "<ReorderPoint>" + reorder + "</ReorderPoint>") +
       "<QuantityOnHand>" + on_hand +
       "</QuantityOnHand><TotalValue>10.00</TotalValue></ItemInventoryAdd></ItemInventoryAddRq>");
  };
  item("another inventory", "", "5", "35");
  item("test inventory part", "", "5", "12");
  item("test sub product", "test inventory part", "", "5");
  // Five of the part on order, expected on the day QuickBooks shows as the next delivery.
  Ok("<VendorAddRq><VendorAdd><Name>Parts Supplier</Name></VendorAdd></VendorAddRq>");
  Ok("<PurchaseOrderAddRq><PurchaseOrderAdd>" + Ref("VendorRef", "Parts Supplier") +
     "<TxnDate>2010-09-20</TxnDate><ExpectedDate>2010-09-27</ExpectedDate><PurchaseOrderLineAdd>" +
     Ref("ItemRef", "test inventory part") +
     "<Quantity>5</Quantity></PurchaseOrderLineAdd></PurchaseOrderAdd></PurchaseOrderAddRq>");
  pugi::xml_document theirs;
  ASSERT_TRUE(theirs.load_string(
      ReadQbxmlFile("samples/extracted/GeneralSummaryReportQueryRs_InventoryStockStatusByItem.xml")
          .c_str()));
  pugi::xml_node expected =
      theirs.child("QBXML").child("QBXMLMsgsRs").first_child().child("ReportRet");
  pugi::xml_node ours =
      Ok("<GeneralSummaryReportQueryRq><GeneralSummaryReportType>InventoryStockStatusByItem"
         "</GeneralSummaryReportType>" +
         std::string(
             "<ReportPeriod><FromReportDate>"
             "2011-02-01</FromReportDate><ToReportDate>2011-02-04</ToReportDate></ReportPeriod>") +
         "</GeneralSummaryReportQueryRq>")
          .child("ReportRet");
  // Every element and attribute in the same place, with every column's value.
  std::function<std::vector<std::string>(pugi::xml_node, std::string)> paths =
      [&](pugi::xml_node node, std::string at) {
        std::vector<std::string> out;
        for (pugi::xml_node child : node.children()) {
          if (child.type() != pugi::node_element) continue;
          std::string path = at + "/" + child.name();
          for (pugi::xml_attribute a : child.attributes())
            path += "[" + std::string(a.name()) + "=" + a.value() + "]";
          if (child.text() && !child.first_child().first_child())
            path += "=" + std::string(child.text().get());
          out.push_back(path);
          for (auto& inner : paths(child, path)) out.push_back(std::move(inner));
        }
        return out;
      };
  EXPECT_EQ(paths(ours, "ReportRet"), paths(expected, "ReportRet"));
}

}  // namespace
}  // namespace brennock::testing
