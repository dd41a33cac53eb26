#include "brennock/reports/rpt_result.h"

#include <charconv>
#include <string_view>

#include "brennock/enums/enumerations.h"
#include "brennock/errors/automation_error.h"
#include "brennock/reports/report_xml.h"
#include "brennock/xml/xml_attributes.h"
#include "brennock/xml/xml_node.h"

namespace brennock {

rptRow::rptRow() : columns_(std::make_shared<rptColumns>()) {}

std::shared_ptr<rptRow> rptRows::Add() {
  auto row = Append();
  row->SetCollectionIndex(Count());
  return row;
}

std::shared_ptr<rptRow> rptRows::AddWithKey(const std::string& skey) {
  auto row = Append(skey);
  row->SetCollectionIndex(Count());
  return row;
}

void rptRow::FromDom(const XmlNode& row) {
  const std::string name = row.baseName();
  if (name == "TextRow")
    rowType_ = qbRptRowTypeText;
  else if (name == "DataRow")
    rowType_ = qbRptRowTypeData;
  else if (name == "TotalRow")
    rowType_ = qbRptRowTypeTotal;
  else if (name == "SubtotalRow")
    rowType_ = qbRptRowTypeSubtotal;
  rowNumber_ = AttributeNumber(row, "rowNumber");
  text_ = AttributeText(row, "value");
  for (const XmlNode& child : row.childNodes()) {
    if (child.nodeType() != NODE_ELEMENT) continue;
    const std::string childName = child.baseName();
    if (childName == "ColData") {
      auto column = columns_->Add();
      column->SetID(AttributeNumber(child, "colID"));
      column->SetText(AttributeText(child, "value"));
      column->SetDataType(AttributeText(child, "dataType"));
    } else if (childName == "RowData") {
      rowDataType_ = AttributeText(child, "rowType");
      rowDataValue_ = AttributeText(child, "value");
    }
  }
}

std::shared_ptr<rptColumnHeader> rptColumnHeaders::Add(qbEnumReportFields Field) {
  auto header = Append();
  header->SetField(Field);
  userSet_ = true;
  return header;
}

std::string rptColumnHeader::TitleText(int32_t Index) const {
  auto it = titleTexts_.find(Index);
  return it == titleTexts_.end() ? std::string() : it->second;
}

void rptColumnHeader::SetTitleText(int32_t Index, std::string value) {
  titleTexts_[Index] = std::move(value);
}

namespace {

// The variant type a column's values take, by the dataType QuickBooks gives the column.
int32_t ColumnDataType(std::string_view dataType) {
  if (dataType == "STRTYPE" || dataType == "ENUMTYPE") return 8;
  if (dataType == "DATETYPE") return 7;
  if (dataType == "AMTTYPE" || dataType == "QUANTYPE") return 6;
  if (dataType == "INTTYPE") return 3;
  if (dataType == "BOOLTYPE") return 11;
  if (dataType == "PERCENTTYPE" || dataType == "TIMEINTERVALTYPE") return 4;
  return 0;
}

}  // namespace

void rptColumnHeader::FromDom(const XmlNode& colDesc) {
  id_ = AttributeNumber(colDesc, "colID");
  dataType_ = ColumnDataType(AttributeText(colDesc, "dataType"));
  for (const XmlNode& child : colDesc.childNodes()) {
    if (child.nodeType() != NODE_ELEMENT) continue;
    const std::string name = child.baseName();
    if (name == "ColTitle") {
      titleRow_ = AttributeNumber(child, "titleRow");
      title_ = AttributeText(child, "value");
      titleTexts_[titleRow_] = title_;
      titleLines_ = static_cast<int16_t>(titleTexts_.size());
    } else if (name == "ColType") {
      field_ = ReportFieldOf(child.text());
    }
  }
}

}  // namespace brennock
