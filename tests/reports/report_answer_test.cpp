// Report answers through Refresh: read straight from the text, or as a document when the text
// needs one, with the same rows either way; references in attribute values, refusals that carry
// rows, and answers cut short.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "brennock/brennock.h"
#include "tests/support/recording_processor.h"

namespace brennock::testing {
namespace {

constexpr const char* kHead =
    "<?xml version=\"1.0\" ?>\n<QBXML>\n<QBXMLMsgsRs>\n<GeneralSummaryReportQueryRs "
    "requestID=\"1\" statusCode=\"0\" statusSeverity=\"Info\" statusMessage=\"Status OK\">\n";
constexpr const char* kTail = "</GeneralSummaryReportQueryRs>\n</QBXMLMsgsRs>\n</QBXML>\n";

const std::string kReport =
    "<ReportRet><ReportTitle>Profit &amp; Loss</ReportTitle><ReportSubtitle>May 2026"
    "</ReportSubtitle><ReportBasis>Accrual</ReportBasis><NumRows>4</NumRows><NumColumns>2"
    "</NumColumns><NumColTitleRows>1</NumColTitleRows>\n"
    "<ColDesc colID=\"1\" dataType=\"STRTYPE\"><ColTitle titleRow=\"1\"/><ColType>Blank</ColType>"
    "</ColDesc>\n<ColDesc colID=\"2\" dataType=\"AMTTYPE\"><ColTitle titleRow=\"1\" "
    "value=\"TOTAL\"/><ColType>Total</ColType></ColDesc>\n<ReportData>\n"
    "<TextRow rowNumber=\"1\" value=\"Income &amp; Gains\"/>\n"
    "<DataRow rowNumber=\"2\"><RowData rowType=\"account\" value=\"Parts &amp; Labour\"/>"
    "<ColData colID=\"1\" value=\"Parts &amp; Labour &#8211; Caf\xC3\xA9\"/><Note>kept out"
    "</Note><ColData colID=\"2\" value=\"1&#44;250.00\" dataType=\"AMTTYPE\"/></DataRow>\n"
    "<SubtotalRow rowNumber=\"3\"><ColData colID=\"1\" value=\"Total Income &amp; Gains\"/>"
    "<ColData colID=\"2\" value=\"1,250.00\"/></SubtotalRow>\n"
    "<TotalRow rowNumber=\"4\"><ColData colID=\"1\" value=\"Net Income\"/><ColData colID=\"2\" "
    "value=\"1,250.00\"/></TotalRow>\n</ReportData></ReportRet>\n";

// Everything a loaded report holds, a line per part.
std::string Dump(const Report& report) {
  std::string out = report.ResponseName() + "|" + report.Title() + "|" + report.Subtitle() + "|" +
                    report.Basis() + "|" + std::to_string(report.MaxRows()) + "|" +
                    std::to_string(report.MaxColumns()) + "\n";
  for (const auto& header : *report.ColumnHeaders()) {
    out += "col " + std::to_string(header->ID()) + " " + std::to_string(header->DataType()) + " " +
           std::to_string(header->Field()) + " [" + header->Title() + "]\n";
  }
  for (const auto& row : *report.ReportRows()) {
    out += "row " + std::to_string(row->RowType()) + " " + std::to_string(row->RowNumber()) + " [" +
           row->Text() + "] [" + row->RowDataType() + "=" + row->RowDataValue() + "] " +
           std::to_string(row->IndentLevel()) + " [" + row->FullName() + "]";
    for (const auto& cell : *row->Columns()) {
      out += " " + std::to_string(cell->ID()) + ":" + cell->Text() + ":" + cell->DataType();
    }
    out += "\n";
  }
  return out;
}

class ReportAnswerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Session() = SessionState{};
    processor_ = std::make_shared<RecordingProcessor>();
    Session().processor = processor_;
    Session().ticket = "ticket";
    Session().qbxmlVersion = "16.0";
    Session().qbxmlVersionNumber = Currency(16);
    report_.SetBaseReport(qbReportProfitAndLossStandard);
  }
  void TearDown() override { Session() = SessionState{}; }

  // The report an answer loads through Refresh.
  std::string Refreshed(const std::string& answer) {
    processor_->QueueResponse(answer);
    report_.Refresh();
    return Dump(report_);
  }
  // The same answer loaded from its document, the way Refresh2 (which gives the markup) does.
  std::string Loaded(const std::string& answer) {
    processor_->QueueResponse(answer);
    std::string markup;
    report_.Refresh2(markup);
    EXPECT_TRUE(markup.starts_with("<GeneralSummaryReportQueryRs")) << markup;
    return Dump(report_);
  }
  AutomationError Raised(const std::string& answer) {
    processor_->QueueResponse(answer);
    try {
      report_.Refresh();
    } catch (const AutomationError& error) {
      return error;
    }
    ADD_FAILURE() << "nothing was raised";
    return AutomationError(0, "", "");
  }

  std::shared_ptr<RecordingProcessor> processor_;
  Report report_;
};

TEST_F(ReportAnswerTest, TextAndDocumentGiveTheSameReport) {
  const std::string answer = kHead + kReport + kTail;
  const std::string direct = Refreshed(answer);
  EXPECT_EQ(direct,
            "GeneralSummaryReportQueryRs|Profit & Loss|May 2026|Accrual|4|2\n"
            "col 1 8 11 []\n"
            "col 2 6 55 [TOTAL]\n"
            "row 1 1 [Income & Gains] [=] 1 [INCOME & GAINS]\n"
            "row 2 2 [] [account=Parts & Labour] 2 [INCOME & GAINS:PARTS & LABOUR \xE2\x80\x93 "
            "CAF\xC3\xA9] 1:Parts & Labour \xE2\x80\x93 Caf\xC3\xA9: 2:1,250.00:AMTTYPE\n"
            "row 4 3 [] [=] 1 [INCOME & GAINS] 1:Total Income & Gains: 2:1,250.00:\n"
            "row 3 4 [] [=] 0 [] 1:Net Income: 2:1,250.00:\n");
  EXPECT_EQ(Loaded(answer), direct);
  // A comment sends the answer down the document path, with the same rows.
  std::string commented = answer;
  commented.insert(commented.find("<TextRow"), "<!-- read as a document -->");
  EXPECT_EQ(Refreshed(commented), direct);
  // The builder reports the answer's status either way.
  EXPECT_EQ(processor_->Requests().size(), 3u);
}

TEST_F(ReportAnswerTest, AnAnswerWithoutAReportLoadsNoRows) {
  Refreshed(kHead + kReport + kTail);
  const std::string empty =
      "<?xml version=\"1.0\" ?><QBXML><QBXMLMsgsRs><GeneralSummaryReportQueryRs "
      "statusCode=\"0\" statusMessage=\"OK\"/></QBXMLMsgsRs></QBXML>";
  EXPECT_EQ(Refreshed(empty), "GeneralSummaryReportQueryRs|Profit & Loss|May 2026|Accrual|4|2\n");
}

// A refusal is raised with QuickBooks' number and message and loads none of the rows it carries.
TEST_F(ReportAnswerTest, ARefusalWithRowsIsRaised) {
  Refreshed(kHead + kReport + kTail);
  std::string refused = kHead + kReport + kTail;
  refused.replace(refused.find("statusCode=\"0\" statusSeverity=\"Info\" statusMessage=\"Status "
                               "OK\""),
                  std::string("statusCode=\"0\" statusSeverity=\"Info\" statusMessage=\"Status "
                              "OK\"")
                      .size(),
                  "statusCode=\"3200\" statusSeverity=\"Error\" statusMessage=\"The provided edit "
                  "sequence &quot;x&quot; is out-of-date.\"");
  const AutomationError error = Raised(refused);
  EXPECT_EQ(error.Number(), 3200);
  EXPECT_EQ(error.Source(), "Brennock:Reports");
  EXPECT_EQ(error.Description(), "The provided edit sequence \"x\" is out-of-date.");
  EXPECT_EQ(report_.ReportRows()->Count(), 0);
}

// An answer cut short anywhere inside its rows is not read as a report: the document path finds
// no response or a broken one, and raises what it raised before.
TEST_F(ReportAnswerTest, AnAnswerCutShortInARowIsNotLoaded) {
  const std::string answer = kHead + kReport + kTail;
  for (const char* cut : {"<ColData colID=\"2\" value=\"1&#44;", "<Note>kept", "</DataRow>"}) {
    SCOPED_TRACE(cut);
    Refreshed(answer);
    const std::string truncated = answer.substr(0, answer.find(cut) + 5);
    XmlDocument document;
    ASSERT_FALSE(document.loadXML(truncated));
    const AutomationError error = Raised(truncated);
    EXPECT_EQ(error.Source(), "Brennock: Reports");
    EXPECT_EQ(error.Description(), "QuickBooks answered the report query with no response");
  }
}

}  // namespace
}  // namespace brennock::testing
