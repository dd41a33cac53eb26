#include "brennock/reports/rpt_result.h"

#include <charconv>
#include <cstdint>
#include <new>
#include <string_view>

#include "brennock/enums/enumerations.h"
#include "brennock/errors/automation_error.h"
#include "brennock/internal/reports/report_xml.h"
#include "brennock/internal/util/slab_allocator.h"
#include "brennock/internal/xml/element_tree.h"

namespace brennock {

rptRow::rptRow() : columns_(MakeSlabShared<rptColumns>()) {}

void rptColumns::AddLoaded(int32_t id, std::string_view text, std::string_view dataType) {
  const auto at = static_cast<uint32_t>(texts_.size());
  if (texts_.size() + text.size() + dataType.size() > UINT32_MAX) throw std::bad_alloc();
  texts_.append(text).append(dataType);
  cells_.push_back(Cell{id, at, static_cast<uint32_t>(text.size()),
                        static_cast<uint32_t>(at + text.size()),
                        static_cast<uint32_t>(dataType.size())});
}

void rptColumns::ReserveLoaded(size_t cells, size_t textBytes) {
  cells_.reserve(cells);
  texts_.reserve(textBytes);
}

std::string_view rptColumns::FirstText() const {
  if (!cells_.empty()) return std::string_view(texts_).substr(cells_[0].text, cells_[0].textSize);
  return List::Count() == 0 ? std::string_view() : std::string_view(List::Item(1)->Text());
}

void rptColumns::MakeCells() {
  std::vector<Cell> cells = std::move(cells_);
  cells_.clear();
  std::string texts = std::move(texts_);
  texts_.clear();
  Reserve(cells.size());
  const std::string_view all(texts);
  for (const Cell& cell : cells) {
    std::shared_ptr<rptColumn> column = List::Append();
    column->SetID(cell.id);
    column->SetText(std::string(all.substr(cell.text, cell.textSize)));
    column->SetDataType(std::string(all.substr(cell.dataType, cell.dataTypeSize)));
  }
}

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

namespace {

// The leading number of an attribute's text; 0 when absent or not a number.
int32_t NumberOf(std::string_view text) {
  int32_t value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

}  // namespace

void rptRow::Read(const FieldElement& row) {
  const std::string_view name = row.baseName();
  if (name == "TextRow")
    rowType_ = qbRptRowTypeText;
  else if (name == "DataRow")
    rowType_ = qbRptRowTypeData;
  else if (name == "TotalRow")
    rowType_ = qbRptRowTypeTotal;
  else if (name == "SubtotalRow")
    rowType_ = qbRptRowTypeSubtotal;
  rowNumber_ = NumberOf(row.AttributeText("rowNumber"));
  text_ = row.AttributeText("value");
  // Room for every child as a cell, and for all their attribute values as texts: a little more
  // than the cells take, and no growing.
  size_t cells = 0, bytes = 0;
  for (FieldElement child : row.Children()) {
    ++cells;
    for (size_t i = 0, n = child.AttributeCount(); i < n; ++i)
      bytes += child.AttributeAt(i).second.size();
  }
  columns_->ReserveLoaded(cells, bytes);
  for (FieldElement child : row.Children()) {
    // Names without a prefix, the usual case, need no search for a colon.
    const std::string_view written = child.nodeName();
    const std::string_view childName =
        written == "ColData" || written == "RowData" ? written : child.baseName();
    if (childName == "ColData") {
      // The first attribute of each name counts, as the document's getNamedItem finds it.
      int32_t id = 0;
      std::string_view value, dataType;
      bool hasId = false, hasValue = false, hasDataType = false;
      for (size_t i = 0, n = child.AttributeCount(); i < n; ++i) {
        auto [attribute, text] = child.AttributeAt(i);
        if (attribute == "colID" && !hasId) {
          id = NumberOf(text);
          hasId = true;
        } else if (attribute == "value" && !hasValue) {
          value = text;
          hasValue = true;
        } else if (attribute == "dataType" && !hasDataType) {
          dataType = text;
          hasDataType = true;
        }
      }
      columns_->AddLoaded(id, value, dataType);
    } else if (childName == "RowData") {
      rowDataType_ = child.AttributeText("rowType");
      rowDataValue_ = child.AttributeText("value");
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

void rptColumnHeader::Read(const FieldElement& colDesc) {
  id_ = NumberOf(colDesc.AttributeText("colID"));
  dataType_ = ColumnDataType(colDesc.AttributeText("dataType"));
  std::string scratch;
  for (FieldElement child : colDesc.Children()) {
    const std::string_view name = child.baseName();
    if (name == "ColTitle") {
      titleRow_ = NumberOf(child.AttributeText("titleRow"));
      title_ = child.AttributeText("value");
      titleTexts_[titleRow_] = title_;
      titleLines_ = static_cast<int16_t>(titleTexts_.size());
    } else if (name == "ColType") {
      field_ = ReportFieldOf(child.TextView(scratch));
    }
  }
}

}  // namespace brennock
