// Loading QuickBooks' report answers: rows and column headers, and where each row sits in the
// report's sections (IndentLevel, FullName), on answers shaped as QuickBooks writes them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "brennock/brennock.h"
#include "tests/support/qbxml_samples.h"

namespace brennock::testing {
namespace {

XmlNode FirstResponse(XmlDocument& document, const std::string& text) {
  EXPECT_TRUE(document.loadXML(text));
  XmlNode msgs = document.documentElement().childNodes().item(0);
  return msgs.childNodes().item(0);
}

std::string Row(const char* kind, const std::string& label, const char* amount = "1.00") {
  return std::string("<") + kind + "><ColData colID=\"1\" value=\"" + label +
         "\"/><ColData colID=\"2\" value=\"" + amount + "\"/></" + kind + ">";
}

// (indent, full name) of every row, in order.
std::vector<std::pair<int, std::string>> Shape(const Report& report) {
  std::vector<std::pair<int, std::string>> out;
  for (const auto& row : *report.ReportRows())
    out.emplace_back(row->IndentLevel(), row->FullName());
  return out;
}

TEST(ReportLoad, TheStockStatusSampleLoadsWithItsColumnsAndSections) {
  BRENNOCK_REQUIRE_QBXML_DIR();
  XmlDocument document;
  XmlNode response = FirstResponse(
      document,
      ReadQbxmlFile(
          "samples/extracted/GeneralSummaryReportQueryRs_InventoryStockStatusByItem.xml"));
  Report report;
  report.SetBaseReport(qbReportInventoryStockStatusByItem);
  report.FromDom(response);
  EXPECT_EQ(report.Title(), "Inventory Stock Status by Item");
  EXPECT_EQ(report.Subtitle(), "February 1 - 4, 2011");
  EXPECT_EQ(report.Basis(), "Accrual");
  EXPECT_EQ(report.MaxRows(), 6);
  EXPECT_EQ(report.MaxColumns(), 9);
  auto headers = report.ColumnHeaders();
  ASSERT_EQ(headers->Count(), 9);
  EXPECT_EQ(headers->Item(1)->Field(), qbReportFieldBlank);
  EXPECT_EQ(headers->Item(2)->Title(), "Item Description");
  EXPECT_EQ(headers->Item(5)->Field(), qbReportFieldQuantityOnHand);
  EXPECT_EQ(headers->Item(5)->DataType(), 6);   // QUANTYPE
  EXPECT_EQ(headers->Item(6)->DataType(), 11);  // BOOLTYPE
  EXPECT_EQ(headers->Item(8)->DataType(), 7);   // DATETYPE
  EXPECT_EQ(headers->Item(9)->TitleText(1), "Sales/Week");
  auto rows = report.ReportRows();
  ASSERT_EQ(rows->Count(), 6);
  EXPECT_EQ(rows->Item(4)->RowDataValue(), "test inventory part:test sub product");
  EXPECT_EQ(rows->Item(5)->Columns()->Item(6)->Text(), "2010-09-27");
  EXPECT_EQ(Shape(report), (std::vector<std::pair<int, std::string>>{
                               {0, "INVENTORY"},
                               {0, "INVENTORY:ANOTHER INVENTORY"},
                               {0, "INVENTORY:TEST INVENTORY PART"},
                               {1, "INVENTORY:TEST INVENTORY PART:TEST SUB PRODUCT"},
                               {1, "INVENTORY:TEST INVENTORY PART:TEST INVENTORY PART - OTHER"},
                               {0, "INVENTORY:TEST INVENTORY PART"}}));
}

TEST(ReportLoad, ProfitAndLossSectionsNestByTheirClosingRows) {
  const std::string answer =
      "<QBXML><QBXMLMsgsRs><GeneralSummaryReportQueryRs statusCode=\"0\"><ReportRet>"
      "<ReportTitle>Profit &amp; Loss</ReportTitle><ReportBasis>Cash</ReportBasis>"
      "<NumRows>13</NumRows><NumColumns>2</NumColumns><NumColTitleRows>1</NumColTitleRows>"
      "<ColDesc colID=\"1\" dataType=\"STRTYPE\"><ColTitle "
      "titleRow=\"1\"/><ColType>Blank</ColType></ColDesc>"
      "<ColDesc colID=\"2\" dataType=\"AMTTYPE\"><ColTitle titleRow=\"1\" value=\"TOTAL\"/>"
      "<ColType>Total</ColType></ColDesc><Unknown/><ReportData>"
      "<TextRow rowNumber=\"1\" value=\"Ordinary Income/Expense\"/>"
      "<TextRow rowNumber=\"2\" value=\"Income\"/>" +
      Row("DataRow", "Sales", "500.00") + Row("SubtotalRow", "Total Income", "500.00") +
      "<TextRow rowNumber=\"5\" value=\"Cost of Goods Sold\"/>" +
      Row("DataRow", "Parts", "120.00") + Row("SubtotalRow", "Total COGS", "120.00") +
      Row("SubtotalRow", "Gross Profit", "380.00") +
      "<TextRow rowNumber=\"9\" value=\"Expense\"/>" + Row("DataRow", "Rent", "80.00") +
      Row("SubtotalRow", "Total Expense", "80.00") +
      Row("SubtotalRow", "Net Ordinary Income", "300.00") +
      Row("TotalRow", "Net Income", "300.00") +
      "</ReportData></ReportRet></GeneralSummaryReportQueryRs>"
      "</QBXMLMsgsRs></QBXML>";
  XmlDocument document;
  Report report;
  report.SetBaseReport(qbReportProfitAndLossStandard);
  report.FromDom(FirstResponse(document, answer));
  EXPECT_EQ(report.ResponseName(), "GeneralSummaryReportQueryRs");
  EXPECT_EQ(report.Basis(), "Cash");
  EXPECT_EQ(report.ReportRows()->Item(3)->RowType(), qbRptRowTypeData);
  EXPECT_EQ(report.ReportRows()->Item(13)->RowType(), qbRptRowTypeTotal);
  // Worked through by hand: from the end, "Net Income" opens a section, "Net Ordinary Income"
  // opens ORDINARY INCOME, "Total Expense" opens EXPENSE and its text row closes it again;
  // "Gross Profit" sits one level up and closes nothing. Forwards, each closing row takes the
  // path of the section it closes, and the pass ends at a closing row on the top level.
  const std::string oie = "ORDINARY INCOME/EXPENSE";
  EXPECT_EQ(Shape(report),
            (std::vector<std::pair<int, std::string>>{{1, oie},
                                                      {2, oie + ":INCOME"},
                                                      {3, oie + ":INCOME:SALES"},
                                                      {2, oie + ":INCOME"},
                                                      {2, oie + ":COST OF GOODS SOLD"},
                                                      {3, oie + ":COST OF GOODS SOLD:PARTS"},
                                                      {2, oie + ":COST OF GOODS SOLD"},
                                                      {1, oie},
                                                      {2, "EXPENSE"},
                                                      {3, "EXPENSE:RENT"},
                                                      {2, "EXPENSE"},
                                                      {1, ""},
                                                      {0, ""}}));
}

TEST(ReportLoad, TransactionListsIndentByTheNamePathOfTheirRows) {
  const std::string answer =
      "<QBXML><QBXMLMsgsRs><GeneralDetailReportQueryRs statusCode=\"0\"><ReportRet>"
      "<ReportTitle>Transaction List by Customer</ReportTitle><ReportData>"
      "<TextRow rowNumber=\"1\" value=\"Kelly Builders\"/><TextRow rowNumber=\"2\" value=\"Roof\"/>"
      "<DataRow rowNumber=\"3\"><RowData rowType=\"name\" value=\"Kelly Builders:Roof\"/>"
      "<ColData colID=\"1\" value=\"\"/></DataRow></ReportData></ReportRet>"
      "</GeneralDetailReportQueryRs></QBXMLMsgsRs></QBXML>";
  XmlDocument document;
  Report report;
  report.SetBaseReport(qbReportTransactionListByCustomer);
  report.FromDom(FirstResponse(document, answer));
  ASSERT_EQ(report.ReportRows()->Count(), 3);
  EXPECT_EQ(report.ReportRows()->Item(1)->IndentLevel(), 0);
  EXPECT_EQ(report.ReportRows()->Item(2)->IndentLevel(), 1);
  EXPECT_EQ(report.ReportRows()->Item(3)->IndentLevel(), 2);
}

}  // namespace
}  // namespace brennock::testing
