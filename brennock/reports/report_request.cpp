// Writing a report query from a Report's properties, and reading a saved one back.
#include <array>

#include "brennock/enums/enumerations.h"
#include "brennock/enums/report_catalogue.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/qbxml/request_writer.h"
#include "brennock/internal/reports/report_xml.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/reports/report.h"
#include "brennock/values/convert_dtypes.h"
#include "brennock/xml/xml_document.h"

namespace brennock {

namespace {

constexpr std::string_view kReportSource = "Report";

Currency SessionVersion() { return Session().qbxmlVersionNumber; }

std::string XmlTextOf(qoEnumerationType table, int32_t code) {
  return EnumCodeToXmlText(table, static_cast<int16_t>(code));
}

// The columns a custom detail report shows when the client chose none.
constexpr std::array kDefaultDetailColumns = {
    qbReportFieldTxnType, qbReportFieldDate,          qbReportFieldTxnNumber,
    qbReportFieldName,    qbReportFieldMemo,          qbReportFieldAccount,
    qbReportFieldClass,   qbReportFieldClearedStatus, qbReportFieldSplitAccount,
    qbReportFieldDebit,   qbReportFieldCredit,        qbReportFieldOpenBalance};

// The report queries whose schema takes IncludeColumn.
bool TakesColumns(qbEnumReportType type) {
  return type == qbReportTypeAging || type == qbReportTypeCustomDetail ||
         type == qbReportTypeGeneralDetail || type == qbReportTypeTime ||
         type == qbReportTypePayrollDetail;
}

}  // namespace

std::string Report::SaveToXml() {
  reportRows_->Clear();
  if (baseReport_ == 0) RaiseFromClass(kReportSource, errInvalidBaseReport);
  errors_->Clear();
  RequestWriter writer(&SessionVersion);
  WriteRequest(writer);
  return writer.GetXML();
}

void Report::WriteRequest(RequestWriter& writer) {
  auto descriptor = ReportDescriptor(baseReport_);
  const qbEnumReportType type = descriptor->ReportType();
  const std::string prefix(ReportTypePrefix(type));
  const std::string request = prefix + "ReportQueryRq";
  writer.OpenAggregateOnly(request);
  writer.CreateElement(prefix + "ReportType", descriptor->XMLTag());
  if (displayReport_) writer.CreateElement("DisplayReport", "1");

  if (type == qbReportTypeBudgetSummary) {
    writer.CreateElement("FiscalYear",
                         budgetFiscalYear_ ? std::to_string(budgetFiscalYear_) : "2003");
    if (budgetCriterion_)
      writer.CreateElement("BudgetCriterion",
                           XmlTextOf(qoeReportBudgetCriterion, budgetCriterion_));
    if (budgetSummarizeColumnsBy_)
      writer.CreateElement("SummarizeBudgetColumnsBy",
                           XmlTextOf(qoeReportBudgetSumColsByEnum, budgetSummarizeColumnsBy_));
    if (budgetSummarizeRowsBy_)
      writer.CreateElement("SummarizeBudgetRowsBy",
                           XmlTextOf(qoeReportBudgetSumRowsByEnum, budgetSummarizeRowsBy_));
    writer.EndAggregate(request);
    return;
  }

  if (!descriptor->NoDateAllowed() && dateMacro_) {
    if (dateMacro_ == qbReportDateMacroCustom) {
      writer.OpenAggregateOnly("ReportPeriod");
      writer.CreateDateElement("FromReportDate", startDate_, Currency());
      writer.CreateDateElement("ToReportDate", endDate_, Currency());
      writer.EndAggregate("ReportPeriod");
    } else {
      writer.CreateElement("ReportDateMacro", XmlTextOf(qoeReportDateMacro, dateMacro_));
    }
  }
  filters_->ToXml(writer);
  if (SessionVersion() >= Currency(3)) {
    if (detailLevelFilter_)
      writer.CreateElement("ReportDetailLevelFilter",
                           XmlTextOf(qoeReportDetailLevelFilterEnum, detailLevelFilter_));
    const bool takesPosting = type == qbReportTypeAging || type == qbReportTypeCustomSummary ||
                              type == qbReportTypeCustomDetail ||
                              type == qbReportTypeGeneralDetail ||
                              type == qbReportTypePayrollDetail;
    if (takesPosting && postingStatusFilter_)
      writer.CreateElement("ReportPostingStatusFilter",
                           XmlTextOf(qoeReportPostingStatusFilter, postingStatusFilter_));
  }
  if (!summarizeColumnsBy_ && type == qbReportTypeCustomSummary)
    summarizeColumnsBy_ = qbReportColSortTotalOnly;
  if (summarizeColumnsBy_)
    writer.CreateElement("SummarizeColumnsBy",
                         XmlTextOf(qoeReportColSortFields, summarizeColumnsBy_));
  if (!summarizeRowsBy_) {
    if (type == qbReportTypeCustomDetail) summarizeRowsBy_ = qbReportColSortTotalOnly;
    if (type == qbReportTypeCustomSummary) summarizeRowsBy_ = qbReportColSortIncomeStatement;
  }
  if (summarizeRowsBy_)
    writer.CreateElement("SummarizeRowsBy", XmlTextOf(qoeReportColSortFields, summarizeRowsBy_));
  WriteColumns(writer, type);
  WriteOptions(writer, type);
  writer.EndAggregate(request);
}

void Report::WriteColumns(RequestWriter& writer, qbEnumReportType type) {
  if (!columnHeaders_->UserSet() && type == qbReportTypeCustomDetail) {
    columnHeaders_->ClearLoaded();
    for (qbEnumReportFields field : kDefaultDetailColumns)
      columnHeaders_->AppendLoaded()->SetField(field);
  } else if (!columnHeaders_->UserSet() || !TakesColumns(type)) {
    return;  // loaded headers describe the last answer; they are not a choice of columns
  }
  for (const auto& header : *columnHeaders_) {
    if (header->Field() == qbReportFieldBlank || header->Field() == 0) continue;
    writer.CreateElement("IncludeColumn", XmlTextOf(qoeReportField, header->Field()));
  }
}

void Report::WriteOptions(RequestWriter& writer, qbEnumReportType type) {
  if (inUseAccountsOnly_) writer.CreateElement("IncludeAccounts", "InUse");
  if (balanceAsOfReportEndDate_) writer.CreateElement("ReportOpenBalanceAsOf", "ReportEndDate");
  if (includeSubColumns_) writer.CreateElement("IncludeSubcolumns", "true");
  if (reportCalendar_)
    writer.CreateElement("ReportCalendar", XmlTextOf(qoeReportCalendar, reportCalendar_));
  if (returnRows_)
    writer.CreateElement("ReturnRows", XmlTextOf(qoeReportRowColReturn, returnRows_));
  if (returnColumns_)
    writer.CreateElement("ReturnCols", XmlTextOf(qoeReportRowColReturn, returnColumns_));
  const bool takesBasis = type != qbReportTypeJob && type != qbReportTypePayrollDetail &&
                          type != qbReportTypePayrollSummary && type != qbReportTypeAging;
  if (SessionVersion() >= Currency(2.1) && !basis_.empty() && takesBasis)
    writer.CreateElement("ReportBasis", basis_);
}

Variant Report::LoadFromXml(const std::string& XMLString) {
  XmlDocument document;
  if (!document.loadXML(XMLString)) return Variant(false);
  FromDomString(document.documentElement());
  return Variant(true);
}

void Report::FromDomString(const XmlNode& obj) {
  if (!obj) return;
  const std::string name = obj.baseName();
  if (!name.ends_with("ReportQueryRq")) {
    // A whole document: find the report query inside it.
    for (const XmlNode& child : obj.childNodes())
      if (child.nodeType() == NODE_ELEMENT) FromDomString(child);
    return;
  }
  const std::string prefix = name.substr(0, name.size() - std::string_view("ReportQueryRq").size());
  bool columnsRead = false;
  for (const XmlNode& child : obj.childNodes()) {
    if (child.nodeType() != NODE_ELEMENT) continue;
    const std::string element = child.baseName();
    const std::string text = child.text();
    if (element == prefix + "ReportType") {
      for (const ReportCatalogueEntry& entry : ReportCatalogue()) {
        if (ReportTypePrefix(entry.type) != prefix) continue;
        if (ReportDescriptor(static_cast<qbEnumReports>(entry.code))->XMLTag() == text)
          baseReport_ = static_cast<qbEnumReports>(entry.code);
      }
    } else if (element == "DisplayReport") {
      displayReport_ = text == "1" || text == "true";
    } else if (element == "ReportPeriod") {
      dateMacro_ = qbReportDateMacroCustom;
      for (const XmlNode& date : child.childNodes()) {
        if (date.nodeType() != NODE_ELEMENT) continue;
        if (date.baseName() == "FromReportDate")
          startDate_ = ModConvertDtypes::TextToDate(date.text());
        if (date.baseName() == "ToReportDate") endDate_ = ModConvertDtypes::TextToDate(date.text());
      }
    } else if (element == "ReportDateMacro") {
      SetDateMacro(static_cast<qbEnumReportDateMacro>(EnumCodeOrZero(text, qoeReportDateMacro)));
    } else if (element == "ReportAccountFilter") {
      filters_->AccountFilter()->FromDom(child);
    } else if (element == "ReportEntityFilter") {
      filters_->EntityFilter()->FromDom(child);
    } else if (element == "ReportItemFilter") {
      filters_->ItemFilter()->FromDom(child);
    } else if (element == "ReportClassFilter") {
      filters_->ClassFilter()->FromDom(child);
    } else if (element == "ReportTxnTypeFilter") {
      filters_->TxnTypes()->FromDom(child);
    } else if (element == "ReportDetailLevelFilter") {
      detailLevelFilter_ = static_cast<qbEnumReportDetailLevelFilter>(
          EnumCodeOrZero(text, qoeReportDetailLevelFilterEnum));
    } else if (element == "ReportPostingStatusFilter") {
      postingStatusFilter_ = static_cast<qbEnumReportPostingStatusFilter>(
          EnumCodeOrZero(text, qoeReportPostingStatusFilter));
    } else if (element == "SummarizeRowsBy") {
      summarizeRowsBy_ =
          static_cast<qbEnumReportColSortFields>(EnumCodeOrZero(text, qoeReportColSortFields));
    } else if (element == "SummarizeColumnsBy") {
      summarizeColumnsBy_ =
          static_cast<qbEnumReportColSortFields>(EnumCodeOrZero(text, qoeReportColSortFields));
    } else if (element == "IncludeColumn") {
      if (!columnsRead) columnHeaders_->Clear();
      columnsRead = true;
      columnHeaders_->Add(ReportFieldOf(text));
    } else if (element == "IncludeAccounts") {
      inUseAccountsOnly_ = text == "InUse";
    } else if (element == "ReportOpenBalanceAsOf") {
      balanceAsOfReportEndDate_ = text == "ReportEndDate";
    } else if (element == "IncludeSubcolumns") {
      includeSubColumns_ = text == "true" || text == "1";
    } else if (element == "ReportCalendar") {
      reportCalendar_ = static_cast<qbEnumReportCalendar>(EnumCodeOrZero(text, qoeReportCalendar));
    } else if (element == "ReturnRows") {
      returnRows_ =
          static_cast<qbEnumReportReturnRowCol>(EnumCodeOrZero(text, qoeReportRowColReturn));
    } else if (element == "ReturnCols" || element == "ReturnColumns") {
      returnColumns_ =
          static_cast<qbEnumReportReturnRowCol>(EnumCodeOrZero(text, qoeReportRowColReturn));
    } else if (element == "ReportBasis") {
      SetBasis(text);
    } else if (element == "FiscalYear") {
      budgetFiscalYear_ = static_cast<int16_t>(std::atoi(text.c_str()));
    } else if (element == "BudgetCriterion") {
      budgetCriterion_ =
          static_cast<qbEnumReportBudgetCriterion>(EnumCodeOrZero(text, qoeReportBudgetCriterion));
    } else if (element == "SummarizeBudgetColumnsBy") {
      budgetSummarizeColumnsBy_ = static_cast<qbEnumReportBudgetSummarizeColsBy>(
          EnumCodeOrZero(text, qoeReportBudgetSumColsByEnum));
    } else if (element == "SummarizeBudgetRowsBy") {
      budgetSummarizeRowsBy_ = static_cast<qbEnumReportBudgetSummarizeRowsBy>(
          EnumCodeOrZero(text, qoeReportBudgetSumRowsByEnum));
    }
  }
}

}  // namespace brennock
