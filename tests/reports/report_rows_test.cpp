// A loaded report's rows, kept compactly until asked for: a row asked for alone is the row later
// walked, rows added or removed after a load keep the loaded ones, and a report larger than the
// pages its rows and texts are kept in loads whole.
#include <gtest/gtest.h>

#include <string>

#include "brennock/brennock.h"

namespace brennock::testing {
namespace {

std::string Answer(const std::string& rows) {
  return "<QBXML><QBXMLMsgsRs><GeneralDetailReportQueryRs statusCode=\"0\"><ReportRet>"
         "<ReportTitle>General Ledger</ReportTitle><ReportData>" +
         rows + "</ReportData></ReportRet></GeneralDetailReportQueryRs></QBXMLMsgsRs></QBXML>";
}

std::string DataRow(int number, const std::string& label, const std::string& amount) {
  return "<DataRow rowNumber=\"" + std::to_string(number) + "\"><ColData colID=\"1\" value=\"" +
         label + "\"/><ColData colID=\"2\" value=\"" + amount + "\" dataType=\"AMTTYPE\"/>" +
         "</DataRow>";
}

void Load(Report& report, const std::string& answer) {
  XmlDocument document;
  ASSERT_TRUE(document.loadXML(answer));
  report.SetBaseReport(qbReportGeneralLedger);
  report.FromDom(document.documentElement().childNodes().item(0).childNodes().item(0));
}

int32_t ErrorOf(const rptRows& rows, int32_t index) {
  try {
    rows.Item(index);
  } catch (const AutomationError& error) {
    return error.Number();
  }
  return 0;
}

TEST(ReportRows, ARowAskedForAloneIsTheRowLaterWalked) {
  Report report;
  Load(report, Answer("<TextRow rowNumber=\"1\" value=\"Checking\"/>" +
                      DataRow(2, "Deposit", "10.00") + DataRow(3, "Check", "-4.00")));
  auto rows = report.ReportRows();
  EXPECT_EQ(rows->Count(), 3);
  EXPECT_EQ(ErrorOf(*rows, 0), 9);
  EXPECT_EQ(ErrorOf(*rows, 4), 9);
  auto second = rows->Item(2);
  EXPECT_EQ(second.get(), rows->Item(2).get());
  EXPECT_EQ(second->FullName(), "CHECKING:DEPOSIT");
  EXPECT_EQ(second->Columns()->Item(2)->DataType(), "AMTTYPE");
  second->SetUserData(Variant(std::string("seen")));
  std::string walked;
  for (const auto& row : *rows)
    walked += std::to_string(row->CollectionIndex()) + row->FullName() + " ";
  EXPECT_EQ(walked, "1CHECKING 2CHECKING:DEPOSIT 3CHECKING:CHECK ");
  EXPECT_EQ(rows->NewEnum()[1].get(), second.get());
  EXPECT_EQ(rows->Item(2)->UserData(), Variant(std::string("seen")));
}

TEST(ReportRows, RowsAddedOrRemovedAfterALoadKeepTheLoadedOnes) {
  Report report;
  Load(report, Answer(DataRow(1, "One", "1.00") + DataRow(2, "Two", "2.00")));
  auto rows = report.ReportRows();
  auto added = rows->Add();
  EXPECT_EQ(added->CollectionIndex(), 3);
  EXPECT_EQ(rows->Count(), 3);
  EXPECT_EQ(rows->Item(2)->Columns()->Item(1)->Text(), "Two");
  rows->Remove(1);
  EXPECT_EQ(rows->Count(), 2);
  EXPECT_EQ(rows->Item(1)->FullName(), "TWO");
  EXPECT_EQ(rows->Item(2).get(), added.get());
  // A new load replaces them all; a row kept from the last one stays as it was.
  auto kept = rows->Item(1);
  Load(report, Answer(DataRow(1, "Three", "3.00")));
  EXPECT_EQ(report.ReportRows()->Count(), 1);
  EXPECT_EQ(report.ReportRows()->Item(1)->FullName(), "THREE");
  EXPECT_EQ(kept->FullName(), "TWO");
  report.ReportRows()->Clear();
  EXPECT_EQ(report.ReportRows()->Count(), 0);
}

TEST(ReportRows, AReportLargerThanItsPagesLoadsWhole) {
  // More cells than a page holds, and a text longer than a text page between shorter ones.
  const std::string longText(1 << 21, 'x');
  std::string rows = "<TextRow rowNumber=\"1\" value=\"Sales\"/>";
  const int count = 40000;
  for (int i = 2; i <= count; ++i) {
    rows +=
        DataRow(i, i == 20000 ? longText : "Sale " + std::to_string(i), std::to_string(i) + ".00");
  }
  Report report;
  Load(report, Answer(rows));
  auto loaded = report.ReportRows();
  ASSERT_EQ(loaded->Count(), count);
  for (int i : {2, 19999, 20001, 33000, count}) {
    auto row = loaded->Item(i);
    EXPECT_EQ(row->RowNumber(), i);
    EXPECT_EQ(row->FullName(), "SALES:SALE " + std::to_string(i));
    EXPECT_EQ(row->Columns()->Item(2)->Text(), std::to_string(i) + ".00");
    EXPECT_EQ(row->Columns()->Item(2)->DataType(), "AMTTYPE");
  }
  EXPECT_EQ(loaded->Item(20000)->Columns()->Item(1)->Text(), longText);
  EXPECT_EQ(loaded->Item(20000)->Columns()->Item(2)->Text(), "20000.00");
}

}  // namespace
}  // namespace brennock::testing
