#include "brennock/enums/report_catalogue.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "brennock/enums/enumerations.h"
#include "brennock/errors/automation_error.h"

namespace brennock {
namespace {

std::set<int> Codes(std::initializer_list<std::pair<int, int>> ranges) {
  std::set<int> out;
  for (auto [from, to] : ranges) {
    for (int c = from; c <= to; ++c) out.insert(c);
  }
  return out;
}

std::shared_ptr<rptDescriptor> Report(int code) {
  return ReportDescriptor(static_cast<qbEnumReports>(code));
}

TEST(ReportCatalogue, FillsTheReportTableInCodeOrder) {
  auto table = ThreadEnumerations()->Item(qoeReport);
  ASSERT_EQ(table->Count(), 89);
  int16_t expected = 1;
  for (const auto& entry : *table) {
    ASSERT_NE(std::dynamic_pointer_cast<rptDescriptor>(entry), nullptr);
    EXPECT_EQ(entry->Code(), expected++);
  }
  EXPECT_EQ(table->Item("Profit And Loss Standard")->Code(), qbReportProfitAndLossStandard);
}

TEST(ReportCatalogue, SpotChecks) {
  struct Expect {
    int code;
    const char* description;
    qbEnumReportType type;
    const char* xmlTag;
  };
  const Expect expected[] = {
      {1, "1099 Detail", qbReportTypeGeneralDetail, "1099Detail"},
      {2, "Audit Trail", qbReportTypeGeneralDetail, "AuditTrail"},
      {14, "Journal", qbReportTypeGeneralDetail, "Journal"},
      {17, "Open Purchase Orders", qbReportTypeGeneralDetail, "OpenPOs"},
      {26, "Transaction Detail By Account", qbReportTypeGeneralDetail, "TxnDetailByAccount"},
      {29, "Transaction List By Vendor", qbReportTypeGeneralDetail, "TxnListByVendor"},
      {33, "AP Aging Detail", qbReportTypeAging, "APAgingDetail"},
      {37, "Collections Report", qbReportTypeAging, "CollectionsReport"},
      {48, "Physical Inventory Worksheet", qbReportTypeGeneralSummary,
       "PhysicalInventoryWorksheet"},
      {52, "Profit And Loss Standard", qbReportTypeGeneralSummary, "ProfitAndLossStandard"},
      {53, "Profit And Loss YTD Comp", qbReportTypeGeneralSummary, "ProfitAndLossYTDComp"},
      {63, "Job Estimates Vs Actuals Detail", qbReportTypeJob, "JobEstimatesVsActualsDetail"},
      {72, "Time By Name", qbReportTypeTime, "TimeByName"},
      {76, "Profit And Loss Budget Performance", qbReportTypeBudgetSummary,
       "ProfitAndLossBudgetPerformance"},
      {81, "Payroll Transaction Detail", qbReportTypePayrollDetail, "PayrollTransactionDetail"},
      {84, "Payroll Liability Balances", qbReportTypePayrollSummary, "PayrollLiabilityBalances"},
      {87, "Open Sales Order By Item", qbReportTypeGeneralDetail, "OpenSalesOrderByItem"},
      {88, "Transaction Detail", qbReportTypeCustomDetail, "CustomTxnDetail"},
      {89, "Transaction Summary", qbReportTypeCustomSummary, "CustomSummary"},
  };
  for (const Expect& e : expected) {
    auto d = Report(e.code);
    EXPECT_EQ(d->Description(), e.description) << e.code;
    EXPECT_EQ(d->ReportType(), e.type) << e.code;
    EXPECT_EQ(d->XMLTag(), e.xmlTag) << e.code;
  }
  EXPECT_EQ(Report(17)->CollectionKey(), "OpenPurchaseOrders");
}

TEST(ReportCatalogue, TypesFlagsAndGroupsOfEveryReport) {
  const std::map<qbEnumReportType, std::set<int>> types = {
      {qbReportTypeGeneralDetail, Codes({{1, 32}, {86, 87}})},
      {qbReportTypeAging, Codes({{33, 37}})},
      {qbReportTypeGeneralSummary, Codes({{38, 62}})},
      {qbReportTypeJob, Codes({{63, 68}})},
      {qbReportTypeTime, Codes({{69, 72}})},
      {qbReportTypeBudgetSummary, Codes({{73, 77}})},
      {qbReportTypePayrollDetail, Codes({{78, 82}})},
      {qbReportTypePayrollSummary, Codes({{83, 85}})},
      {qbReportTypeCustomDetail, Codes({{88, 88}})},
      {qbReportTypeCustomSummary, Codes({{89, 89}})},
  };
  const std::map<qbEnumReportGroups, std::set<int>> groups = {
      {qbReportGroupCompanyAndFinancial,
       Codes({{3, 3}, {8, 8}, {10, 10}, {20, 20}, {38, 40}, {42, 43}, {49, 53}})},
      {qbReportGroupCustomersAndReceivables,
       Codes({{5, 5}, {16, 16}, {27, 27}, {35, 37}, {41, 41}})},
      {qbReportGroupSales, Codes({{19, 19}, {23, 25}, {56, 58}, {86, 87}})},
      {qbReportGroupJobsAndTime, Codes({{7, 7}, {13, 13}, {31, 31}, {63, 72}})},
      {qbReportGroupVendorsAndPayables, Codes({{1, 1}, {29, 30}, {32, 34}, {59, 60}, {62, 62}})},
      {qbReportGroupPurchases, Codes({{17, 18}, {21, 22}, {54, 55}})},
      {qbReportGroupInventory, Codes({{12, 12}, {44, 45}, {47, 48}})},
      {qbReportGroupEmployeesAndPayroll, Codes({{78, 85}})},
      {qbReportGroupBanking, Codes({{4, 4}, {6, 6}, {15, 15}})},
      {qbReportGroupAccountantAndTaxes,
       Codes({{2, 2}, {9, 9}, {11, 11}, {14, 14}, {26, 26}, {28, 28}, {46, 46}, {61, 61}})},
      {qbReportGroupBudgetsAndForecasts, Codes({{73, 77}})},
      {qbReportGroupCustom, Codes({{88, 89}})},
  };
  const auto hasTxns = Codes({{1, 33}, {35, 35}, {37, 37}, {63, 63}, {65, 65}, {86, 88}});
  const auto noCalendar = Codes({{44, 45}, {47, 48}});
  const auto needEntity = Codes({{63, 63}, {65, 65}});

  for (int code = 1; code <= 89; ++code) {
    auto d = Report(code);
    int typeHits = 0;
    for (const auto& [type, codes] : types) {
      if (codes.count(code) == 0) continue;
      EXPECT_EQ(d->ReportType(), type) << code;
      ++typeHits;
    }
    int groupHits = 0;
    for (const auto& [group, codes] : groups) {
      if (codes.count(code) == 0) continue;
      EXPECT_EQ(d->ReportGroup(), group) << code;
      ++groupHits;
    }
    EXPECT_EQ(typeHits, 1) << code;
    EXPECT_EQ(groupHits, 1) << code;
    EXPECT_EQ(d->HasTxns(), hasTxns.count(code) == 1) << code;
    EXPECT_EQ(d->NoDateAllowed(), code == 48) << code;
    EXPECT_EQ(d->NoCalendarAllowed(), noCalendar.count(code) == 1) << code;
    EXPECT_EQ(d->NeedEntity(), needEntity.count(code) == 1) << code;
    EXPECT_EQ(d->NeedAccount(), code == 15) << code;
  }
}

TEST(ReportCatalogue, OnlyTwelveReportsStoreATag) {
  const std::set<int> tagged = {17, 18, 26, 27, 28, 29, 33, 34, 35, 36, 88, 89};
  for (const ReportCatalogueEntry& r : ReportCatalogue()) {
    EXPECT_EQ(!r.tag.empty(), tagged.count(r.code) == 1) << r.code;
  }
  // The query-side lookup finds a tagged report by its tag only.
  EXPECT_EQ(EnumTextToCode("OpenPOs", qoeReport), 17);
  EXPECT_EQ(EnumTextToCode("ProfitAndLossStandard", qoeReport), 52);
  EXPECT_THROW(EnumTextToCode("OpenPurchaseOrders", qoeReport), AutomationError);
}

TEST(ReportCatalogue, RequestPrefixesAndUnknownReports) {
  EXPECT_EQ(ReportTypePrefix(qbReportTypeAging), "Aging");
  EXPECT_EQ(ReportTypePrefix(qbReportTypeGeneralDetail), "GeneralDetail");
  EXPECT_EQ(ReportTypePrefix(qbReportTypePayrollSummary), "PayrollSummary");
  EXPECT_EQ(ReportTypePrefix(static_cast<qbEnumReportType>(0)), "");
  EXPECT_EQ(ReportTypePrefix(static_cast<qbEnumReportType>(11)), "");
  try {
    Report(90);
    FAIL() << "no error";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.Number(), vbObjectError + 1003);
    EXPECT_EQ(e.Description(), "Unknown Code");
  }
}

TEST(ReportCatalogue, DescriptorWithoutTagUsesBlankFreeDescription) {
  rptDescriptor d;
  d.SetDescription("Audit Trail");
  EXPECT_EQ(d.XMLTag(), "AuditTrail");
  d.SetXMLTag("Trail");
  EXPECT_EQ(d.XMLTag(), "Trail");
  EXPECT_EQ(d.CollectionKey(), "AuditTrail");
}

}  // namespace
}  // namespace brennock
