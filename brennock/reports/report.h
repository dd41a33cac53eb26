#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "brennock/enums/report_enums.h"
#include "brennock/errors/qc_errors.h"
#include "brennock/reports/rpt_filters.h"
#include "brennock/reports/rpt_result.h"
#include "brennock/values/date.h"
#include "brennock/values/variant.h"

namespace brennock {

class RequestWriter;
class XmlNode;
class xmlBldr;

// One QuickBooks report: which report, its period, filters and layout. SaveToXml writes the
// report query, Refresh sends it and loads the answer into ReportRows (rows with their Columns)
// and ColumnHeaders. A report is reusable: each Refresh clears and refills the rows.
class Report {
 public:
  Report();
  ~Report();
  Report(const Report&) = delete;
  Report& operator=(const Report&) = delete;

  const std::string& Title() const noexcept { return title_; }
  void SetTitle(std::string value) { title_ = std::move(value); }
  const std::string& Subtitle() const noexcept { return subtitle_; }
  void SetSubtitle(std::string value) { subtitle_ = std::move(value); }
  int32_t MaxRows() const noexcept { return maxRows_; }
  void SetMaxRows(int32_t value) noexcept { maxRows_ = value; }
  int32_t MaxColumns() const noexcept { return maxColumns_; }
  void SetMaxColumns(int32_t value) noexcept { maxColumns_ = value; }
  int32_t ColumnTitleRows() const noexcept { return columnTitleRows_; }
  void SetColumnTitleRows(int32_t value) noexcept { columnTitleRows_ = value; }
  std::shared_ptr<rptColumnHeaders> ColumnHeaders() const noexcept { return columnHeaders_; }
  void SetColumnHeaders(std::shared_ptr<rptColumnHeaders> value) {
    columnHeaders_ = std::move(value);
  }
  std::shared_ptr<rptRows> ReportRows() const noexcept { return reportRows_; }
  void SetReportRows(std::shared_ptr<rptRows> value) { reportRows_ = std::move(value); }
  // QuickBooks shows the report on screen and answers no rows.
  bool DisplayReport() const noexcept { return displayReport_; }
  void SetDisplayReport(bool value) noexcept { displayReport_ = value; }

  int16_t BudgetFiscalYear() const noexcept { return budgetFiscalYear_; }
  void SetBudgetFiscalYear(int16_t value) noexcept { budgetFiscalYear_ = value; }
  qbEnumReportBudgetCriterion BudgetCriterion() const noexcept { return budgetCriterion_; }
  void SetBudgetCriterion(qbEnumReportBudgetCriterion value) noexcept { budgetCriterion_ = value; }
  qbEnumReportBudgetSummarizeColsBy BudgetSummarizeColumnsBy() const noexcept {
    return budgetSummarizeColumnsBy_;
  }
  void SetBudgetSummarizeColumnsBy(qbEnumReportBudgetSummarizeColsBy value) noexcept {
    budgetSummarizeColumnsBy_ = value;
  }
  qbEnumReportBudgetSummarizeRowsBy BudgetSummarizeRowsBy() const noexcept {
    return budgetSummarizeRowsBy_;
  }
  void SetBudgetSummarizeRowsBy(qbEnumReportBudgetSummarizeRowsBy value) noexcept {
    budgetSummarizeRowsBy_ = value;
  }

  qbEnumReports BaseReport() const noexcept { return baseReport_; }
  void SetBaseReport(qbEnumReports value) noexcept { baseReport_ = value; }
  Date StartDate() const noexcept { return startDate_; }
  void SetStartDate(Date value) noexcept { startDate_ = value; }
  Date EndDate() const noexcept { return endDate_; }
  void SetEndDate(Date value) noexcept { endDate_ = value; }
  std::shared_ptr<rptFilters> Filters() const noexcept { return filters_; }
  void SetFilters(std::shared_ptr<rptFilters> value) { filters_ = std::move(value); }
  qbEnumReportColSortFields SummarizeRowsBy() const noexcept { return summarizeRowsBy_; }
  void SetSummarizeRowsBy(qbEnumReportColSortFields value) noexcept { summarizeRowsBy_ = value; }
  bool InUseAccountsOnly() const noexcept { return inUseAccountsOnly_; }
  void SetInUseAccountsOnly(bool value) noexcept { inUseAccountsOnly_ = value; }
  bool BalanceAsOfReportEndDate() const noexcept { return balanceAsOfReportEndDate_; }
  void SetBalanceAsOfReportEndDate(bool value) noexcept { balanceAsOfReportEndDate_ = value; }
  qbEnumReportColSortFields SummarizeColumnsBy() const noexcept { return summarizeColumnsBy_; }
  void SetSummarizeColumnsBy(qbEnumReportColSortFields value) noexcept {
    summarizeColumnsBy_ = value;
  }
  bool IncludeSubColumns() const noexcept { return includeSubColumns_; }
  void SetIncludeSubColumns(bool value) noexcept { includeSubColumns_ = value; }
  qbEnumReportCalendar ReportCalendar() const noexcept { return reportCalendar_; }
  void SetReportCalendar(qbEnumReportCalendar value) noexcept { reportCalendar_ = value; }
  qbEnumReportReturnRowCol ReturnRows() const noexcept { return returnRows_; }
  void SetReturnRows(qbEnumReportReturnRowCol value) noexcept { returnRows_ = value; }
  qbEnumReportReturnRowCol ReturnColumns() const noexcept { return returnColumns_; }
  void SetReturnColumns(qbEnumReportReturnRowCol value) noexcept { returnColumns_ = value; }
  const Variant& UserData() const noexcept { return userData_; }
  void SetUserData(Variant value) { userData_ = std::move(value); }

  qbEnumReportDetailLevelFilter DetailLevelFilter() const noexcept { return detailLevelFilter_; }
  void SetDetailLevelFilter(qbEnumReportDetailLevelFilter value) noexcept {
    detailLevelFilter_ = value;
  }
  qbEnumReportPostingStatusFilter PostingStatusFilter() const noexcept {
    return postingStatusFilter_;
  }
  void SetPostingStatusFilter(qbEnumReportPostingStatusFilter value) noexcept {
    postingStatusFilter_ = value;
  }
  // "Cash", "Accrual" or empty (QuickBooks' preference). Any letter case is taken; anything else
  // raises 2602 and keeps the old value.
  const std::string& Basis() const noexcept { return basis_; }
  void SetBasis(const std::string& value);
  // A period by name; all but All and Custom also set StartDate and EndDate from today.
  qbEnumReportDateMacro DateMacro() const noexcept { return dateMacro_; }
  void SetDateMacro(qbEnumReportDateMacro value);

  // Problems of the last request.
  std::shared_ptr<qcErrors> Errors() const noexcept { return errors_; }

  // The report query request (without envelope). A report without BaseReport raises 2601.
  std::string SaveToXml();
  // Sends the report query and loads the answer; returns 0. A QuickBooks status other than 0 is
  // raised with its number and message (source "Brennock:Reports"), after one retry of 3151
  // without ReturnRows (when the message names it) or without Basis.
  int32_t Refresh();
  // The same, and gives the response element's markup.
  int32_t Refresh2(std::string& sXmlRet);
  // Loads a report query response element (GeneralSummaryReportQueryRs ...).
  void FromDom(const XmlNode& obj);
  // Loads a saved report query request (as SaveToXml writes it) into the properties.
  void FromDomString(const XmlNode& obj);
  // The same from text; true when it was read, false when the text is not well-formed XML.
  Variant LoadFromXml(const std::string& XMLString);

  // The name of the response element last loaded.
  const std::string& ResponseName() const noexcept { return responseName_; }

 private:
  // Refresh, giving the response's markup when asked for it.
  int32_t RefreshInto(std::string* xmlRet);
  // Loads a successful answer straight from its text; false, with nothing loaded, when the answer
  // is one to read as a document (a refusal, or a text the response reader declines).
  bool LoadResponseText(const std::string& text);
  struct Answer;
  // Replaces the loaded report by what an answer held.
  void Take(Answer& answer);
  void WriteRequest(RequestWriter& writer);
  void WriteColumns(RequestWriter& writer, qbEnumReportType type);
  void WriteOptions(RequestWriter& writer, qbEnumReportType type);

  std::string title_, subtitle_, basis_, responseName_;
  int32_t maxRows_ = 0, maxColumns_ = 0, columnTitleRows_ = 0;
  std::shared_ptr<rptColumnHeaders> columnHeaders_;
  std::shared_ptr<rptRows> reportRows_;
  std::shared_ptr<rptFilters> filters_;
  std::shared_ptr<qcErrors> errors_;
  std::unique_ptr<xmlBldr> builder_;  // made on the first Refresh
  bool displayReport_ = false;
  bool inUseAccountsOnly_ = false;
  bool balanceAsOfReportEndDate_ = false;
  bool includeSubColumns_ = false;
  int16_t budgetFiscalYear_ = 0;
  qbEnumReportBudgetCriterion budgetCriterion_{};
  qbEnumReportBudgetSummarizeColsBy budgetSummarizeColumnsBy_{};
  qbEnumReportBudgetSummarizeRowsBy budgetSummarizeRowsBy_{};
  qbEnumReports baseReport_{};
  Date startDate_{}, endDate_{};
  qbEnumReportColSortFields summarizeRowsBy_{}, summarizeColumnsBy_{};
  qbEnumReportCalendar reportCalendar_{};
  qbEnumReportReturnRowCol returnRows_{}, returnColumns_{};
  qbEnumReportDetailLevelFilter detailLevelFilter_{};
  qbEnumReportPostingStatusFilter postingStatusFilter_{};
  qbEnumReportDateMacro dateMacro_{};
  Variant userData_;
};

// The dates a report period macro stands for on the day `today`: weeks start on Sunday, quarters
// are calendar quarters. All, Custom and unknown macros give false and leave the dates alone.
bool ReportMacroDates(qbEnumReportDateMacro macro, Date today, Date& start, Date& end);

// The row hierarchy of a loaded report: IndentLevel and FullName of every row.
void SetReportHierarchy(qbEnumReports report, rptRows& rows);

}  // namespace brennock
