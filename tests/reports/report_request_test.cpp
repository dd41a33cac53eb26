// The report queries the library writes, byte for byte, the filters inside them, reading a saved
// query back, and the one retry QuickBooks' 3151 gets.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "brennock/brennock.h"
#include "tests/support/recording_processor.h"

namespace brennock::testing {
namespace {

class ReportRequestTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Session() = SessionState{};
    processor_ = std::make_shared<RecordingProcessor>();
    Session().processor = processor_;
    Session().ticket = "ticket";
    SetVersion("16.0", 16);
  }
  void TearDown() override { Session() = SessionState{}; }
  static void SetVersion(const char* text, double number) {
    Session().qbxmlVersion = text;
    Session().qbxmlVersionNumber = Currency(number);
  }

  std::shared_ptr<RecordingProcessor> processor_;
  Report report_;
};

TEST_F(ReportRequestTest, PeriodsAreAMacroOrACustomRangeAndNeverSentForTheWorksheet) {
  report_.SetBaseReport(qbReportProfitAndLossStandard);
  report_.SetDateMacro(qbReportDateMacroThisYearToDate);
  EXPECT_EQ(report_.SaveToXml(),
            "<GeneralSummaryReportQueryRq><GeneralSummaryReportType>ProfitAndLossStandard"
            "</GeneralSummaryReportType><ReportDateMacro>ThisYearToDate</ReportDateMacro>"
            "</GeneralSummaryReportQueryRq>");

  report_.SetDateMacro(qbReportDateMacroCustom);
  report_.SetStartDate(Date::FromDate(2024, 1, 1));
  report_.SetEndDate(Date::FromDate(2024, 3, 31));
  report_.SetBasis("cash");
  EXPECT_EQ(report_.Basis(), "Cash");
  EXPECT_EQ(report_.SaveToXml(),
            "<GeneralSummaryReportQueryRq><GeneralSummaryReportType>ProfitAndLossStandard"
            "</GeneralSummaryReportType><ReportPeriod><FromReportDate>2024-01-01</FromReportDate>"
            "<ToReportDate>2024-03-31</ToReportDate></ReportPeriod><ReportBasis>Cash</ReportBasis>"
            "</GeneralSummaryReportQueryRq>");

  Report worksheet;
  worksheet.SetBaseReport(qbReportPhysicalInventoryWorksheet);
  worksheet.SetDateMacro(qbReportDateMacroToday);
  EXPECT_EQ(worksheet.SaveToXml(),
            "<GeneralSummaryReportQueryRq><GeneralSummaryReportType>PhysicalInventoryWorksheet"
            "</GeneralSummaryReportType></GeneralSummaryReportQueryRq>");
}

TEST_F(ReportRequestTest, BasisIsLeftOutForAgingReportsAndOldSessionsAndBadValuesRaise) {
  report_.SetBaseReport(qbReportARAgingSummary);
  report_.SetBasis("ACCRUAL");
  EXPECT_EQ(report_.SaveToXml(),
            "<AgingReportQueryRq><AgingReportType>ARAgingSummary</AgingReportType>"
            "</AgingReportQueryRq>");
  report_.SetBaseReport(qbReportTrialBalance);
  SetVersion("2.0", 2.0);
  EXPECT_EQ(report_.SaveToXml().find("ReportBasis"), std::string::npos);
  try {
    report_.SetBasis("Both");
    FAIL() << "Both was taken";
  } catch (const AutomationError& error) {
    EXPECT_EQ(error.Number(), static_cast<int32_t>(0x80040A2A));
    EXPECT_EQ(error.Source(), "Brennock");
    EXPECT_EQ(error.Description(), "Basis must be Cash or Accural");
  }
  EXPECT_EQ(report_.Basis(), "Accrual");
  Report none;
  try {
    none.SaveToXml();
    FAIL() << "a report without BaseReport was written";
  } catch (const AutomationError& error) {
    EXPECT_EQ(error.Number(), static_cast<int32_t>(0x80040A29));
    EXPECT_EQ(error.Source(), "Brennock:Report");
    EXPECT_EQ(error.Description(), "Invalid BaseReport property.");
  }
}

TEST_F(ReportRequestTest, BudgetAndCustomReportsFillTheirDefaults) {
  report_.SetBaseReport(qbReportProfitAndLossBudgetOverview);
  report_.SetDateMacro(qbReportDateMacroThisYear);
  report_.Filters()->AccountFilter()->FullNames()->Add("Sales");
  EXPECT_EQ(report_.SaveToXml(),
            "<BudgetSummaryReportQueryRq><BudgetSummaryReportType>ProfitAndLossBudgetOverview"
            "</BudgetSummaryReportType><FiscalYear>2003</FiscalYear></BudgetSummaryReportQueryRq>");

  Report detail;
  detail.SetBaseReport(qbReportTransactionDetail);
  EXPECT_EQ(detail.SaveToXml(),
            "<CustomDetailReportQueryRq><CustomDetailReportType>CustomTxnDetail"
            "</CustomDetailReportType><SummarizeRowsBy>TotalOnly</SummarizeRowsBy>"
            "<IncludeColumn>TxnType</IncludeColumn><IncludeColumn>Date</IncludeColumn>"
            "<IncludeColumn>TxnNumber</IncludeColumn><IncludeColumn>Name</IncludeColumn>"
            "<IncludeColumn>Memo</IncludeColumn><IncludeColumn>Account</IncludeColumn>"
            "<IncludeColumn>Class</IncludeColumn><IncludeColumn>ClearedStatus</IncludeColumn>"
            "<IncludeColumn>SplitAccount</IncludeColumn><IncludeColumn>Debit</IncludeColumn>"
            "<IncludeColumn>Credit</IncludeColumn><IncludeColumn>OpenBalance</IncludeColumn>"
            "</CustomDetailReportQueryRq>");
  EXPECT_EQ(detail.SummarizeRowsBy(), qbReportColSortTotalOnly);

  Report summary;
  summary.SetBaseReport(qbReportTransactionSummary);
  summary.SetReturnRows(qbReportReturnNonZero);
  summary.SetReturnColumns(qbReportReturnAll);
  summary.SetIncludeSubColumns(true);
  EXPECT_EQ(summary.SaveToXml(),
            "<CustomSummaryReportQueryRq><CustomSummaryReportType>CustomSummary"
            "</CustomSummaryReportType><SummarizeColumnsBy>TotalOnly</SummarizeColumnsBy>"
            "<SummarizeRowsBy>IncomeStatement</SummarizeRowsBy><IncludeSubcolumns>true"
            "</IncludeSubcolumns><ReturnRows>NonZero</ReturnRows><ReturnCols>All</ReturnCols>"
            "</CustomSummaryReportQueryRq>");
  EXPECT_EQ(summary.SummarizeColumnsBy(), qbReportColSortTotalOnly);
}

TEST_F(ReportRequestTest, FiltersWriteTypeOrNamesAndOneNameWithChildren) {
  report_.SetBaseReport(qbReportGeneralLedger);
  auto accounts = report_.Filters()->AccountFilter();
  accounts->FullNames()->Add("Checking");
  accounts->FullNames()->Add("Savings");
  report_.Filters()->TxnTypes()->Add(qbTxnInvoice);
  report_.Filters()->ClassFilter()->ListIds()->Add("80000001-1");
  EXPECT_EQ(report_.SaveToXml(),
            "<GeneralDetailReportQueryRq><GeneralDetailReportType>GeneralLedger"
            "</GeneralDetailReportType><ReportAccountFilter><FullName>Checking</FullName>"
            "<FullName>Savings</FullName></ReportAccountFilter><ReportClassFilter>"
            "<ListID>80000001-1</ListID></ReportClassFilter><ReportTxnTypeFilter><TxnTypeFilter>"
            "Invoice</TxnTypeFilter></ReportTxnTypeFilter></GeneralDetailReportQueryRq>");

  accounts->SetTypeFilter(qbReportAccountFilterIncomeAndExpense);
  report_.Filters()->Clear();
  EXPECT_EQ(accounts->TypeFilter(), qbReportAccountFilterIncomeAndExpense);  // Clear keeps it
  EXPECT_EQ(report_.SaveToXml(),
            "<GeneralDetailReportQueryRq><GeneralDetailReportType>GeneralLedger"
            "</GeneralDetailReportType><ReportAccountFilter><AccountTypeFilter>IncomeAndExpense"
            "</AccountTypeFilter></ReportAccountFilter></GeneralDetailReportQueryRq>");

  accounts->SetTypeFilter(0);
  accounts->SetWithChildren(true);
  accounts->FullNames()->Add("Utilities");
  accounts->FullNames()->Add("Rent");
  try {
    report_.SaveToXml();
    FAIL() << "two names with children were written";
  } catch (const AutomationError& error) {
    EXPECT_EQ(error.Number(), static_cast<int32_t>(0x80040640));
    EXPECT_EQ(error.Source(), "Brennock");
    EXPECT_EQ(error.Description(), "If WithChildren is specified only one name is allowed");
  }
}

TEST_F(ReportRequestTest, ASavedRequestLoadsBackIntoTheSameProperties) {
  report_.SetBaseReport(qbReportSalesByCustomerSummary);
  report_.SetDateMacro(qbReportDateMacroCustom);
  report_.SetStartDate(Date::FromDate(2024, 2, 1));
  report_.SetEndDate(Date::FromDate(2024, 2, 29));
  report_.Filters()->EntityFilter()->SetWithChildren(true);
  report_.Filters()->EntityFilter()->FullNames()->Add("Kelly Builders");
  report_.SetSummarizeColumnsBy(qbReportColSortMonth);
  report_.SetBalanceAsOfReportEndDate(true);
  const std::string saved = report_.SaveToXml();

  Report loaded;
  EXPECT_TRUE(loaded.LoadFromXml(saved).ToBool());
  EXPECT_EQ(loaded.BaseReport(), qbReportSalesByCustomerSummary);
  EXPECT_EQ(loaded.DateMacro(), qbReportDateMacroCustom);
  EXPECT_TRUE(loaded.Filters()->EntityFilter()->WithChildren());
  EXPECT_EQ(loaded.Filters()->EntityFilter()->FullNames()->Item(1), "Kelly Builders");
  EXPECT_EQ(loaded.SummarizeColumnsBy(), qbReportColSortMonth);
  EXPECT_EQ(loaded.SaveToXml(), saved);
  EXPECT_FALSE(loaded.LoadFromXml("<GeneralSummaryReportQueryRq>").ToBool());
}

TEST_F(ReportRequestTest, Status3151IsRetriedOnceWithoutReturnRowsThenRaised) {
  const std::string refused =
      "<?xml version=\"1.0\" ?><QBXML><QBXMLMsgsRs><GeneralSummaryReportQueryRs "
      "statusCode=\"3151\" "
      "statusSeverity=\"Error\" statusMessage=\"The ReturnRows option is not supported.\"/>"
      "</QBXMLMsgsRs></QBXML>";
  processor_->SetResponder([&](const std::string&) { return refused; });
  report_.SetBaseReport(qbReportBalanceSheetStandard);
  report_.SetReturnRows(qbReportReturnAll);
  try {
    report_.Refresh();
    FAIL() << "the refusal was not raised";
  } catch (const AutomationError& error) {
    EXPECT_EQ(error.Number(), 3151);
    EXPECT_EQ(error.Source(), "Brennock:Reports");
    EXPECT_EQ(error.Description(), "The ReturnRows option is not supported.");
  }
  ASSERT_EQ(processor_->Requests().size(), 2u);
  EXPECT_NE(processor_->Requests()[0].text.find("<ReturnRows>All</ReturnRows>"), std::string::npos);
  EXPECT_EQ(processor_->Requests()[1].text.find("ReturnRows"), std::string::npos);
  EXPECT_EQ(report_.ReturnRows(), 0);
}

TEST(ReportMacroDates, WeeksStartOnSundayAndQuartersAreCalendarQuarters) {
  Date start, end;
  const Date wednesday = Date::FromDate(2024, 5, 15);
  ASSERT_TRUE(ReportMacroDates(qbReportDateMacroThisWeek, wednesday, start, end));
  EXPECT_EQ(start, Date::FromDate(2024, 5, 12));
  EXPECT_EQ(end, Date::FromDate(2024, 5, 18));
  ReportMacroDates(qbReportDateMacroLastQuarter, wednesday, start, end);
  EXPECT_EQ(start, Date::FromDate(2024, 1, 1));
  EXPECT_EQ(end, Date::FromDate(2024, 3, 31));
  ReportMacroDates(qbReportDateMacroLastMonth, Date::FromDate(2024, 3, 31), start, end);
  EXPECT_EQ(start, Date::FromDate(2024, 2, 1));
  EXPECT_EQ(end, Date::FromDate(2024, 2, 29));
  ReportMacroDates(qbReportDateMacroNextFourWeeks, wednesday, start, end);
  EXPECT_EQ(start, Date::FromDate(2024, 5, 16));
  EXPECT_EQ(end, Date::FromDate(2024, 6, 12));
  EXPECT_FALSE(ReportMacroDates(qbReportDateMacroAll, wednesday, start, end));
}

}  // namespace
}  // namespace brennock::testing
