#include "brennock/reports/rpt_result.h"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <new>
#include <string_view>

#include "brennock/enums/enumerations.h"
#include "brennock/errors/automation_error.h"
#include "brennock/internal/reports/report_rows_core.h"
#include "brennock/internal/reports/report_xml.h"
#include "brennock/internal/util/slab_allocator.h"
#include "brennock/internal/xml/element_tree.h"

namespace brennock {

rptRow::rptRow() : columns_(MakeSlabShared<rptColumns>()) {}

void rptColumns::AddLoaded(int32_t id, std::string_view text, std::string_view dataType) {
  const size_t bytes = text.size() + dataType.size();
  if (cellCount_ == cellRoom_ || textRoom_ - textSize_ < bytes) {
    GrowLoaded(cellCount_ + 1 + cellCount_ / 2, textSize_ + bytes + textSize_ / 2);
  }
  char* texts = loaded_.get() + cellRoom_ * sizeof(Cell);
  const Cell cell{id, textSize_, static_cast<uint32_t>(text.size()),
                  static_cast<uint32_t>(dataType.size())};
  std::memcpy(loaded_.get() + cellCount_ * sizeof(Cell), &cell, sizeof cell);
  if (!text.empty()) std::memcpy(texts + textSize_, text.data(), text.size());
  if (!dataType.empty())
    std::memcpy(texts + textSize_ + text.size(), dataType.data(), dataType.size());
  ++cellCount_;
  textSize_ += static_cast<uint32_t>(bytes);
}

void rptColumns::ReserveLoaded(size_t cells, size_t textBytes) {
  if (cells > cellRoom_ || textBytes > textRoom_) GrowLoaded(cells, textBytes);
}

void rptColumns::GrowLoaded(size_t cells, size_t textBytes) {
  if (cells > UINT32_MAX / sizeof(Cell) || textBytes > UINT32_MAX - cells * sizeof(Cell))
    throw std::bad_alloc();
  std::unique_ptr<char[]> grown(new char[cells * sizeof(Cell) + textBytes]);
  if (cellCount_ != 0) {
    std::memcpy(grown.get(), loaded_.get(), cellCount_ * sizeof(Cell));
    std::memcpy(grown.get() + cells * sizeof(Cell), LoadedTexts().data(), textSize_);
  }
  loaded_ = std::move(grown);
  cellRoom_ = static_cast<uint32_t>(cells);
  textRoom_ = static_cast<uint32_t>(textBytes);
}

rptColumns::Cell rptColumns::LoadedCell(size_t index) const noexcept {
  Cell cell;
  std::memcpy(&cell, loaded_.get() + index * sizeof(Cell), sizeof cell);
  return cell;
}

std::string_view rptColumns::FirstText() const {
  if (cellCount_ != 0) {
    const Cell first = LoadedCell(0);
    return LoadedTexts().substr(first.text, first.textSize);
  }
  return List::Count() == 0 ? std::string_view() : std::string_view(List::Item(1)->Text());
}

void rptColumns::MakeCells() {
  // The block is taken out first: the cells are made once, even if making one fails.
  const std::unique_ptr<char[]> block = std::move(loaded_);
  const size_t count = cellCount_;
  const std::string_view texts(block.get() + cellRoom_ * sizeof(Cell), textSize_);
  DropLoaded();
  Reserve(count);
  for (size_t i = 0; i < count; ++i) {
    Cell cell;
    std::memcpy(&cell, block.get() + i * sizeof(Cell), sizeof cell);
    std::shared_ptr<rptColumn> column = List::Append();
    column->SetID(cell.id);
    column->SetText(std::string(texts.substr(cell.text, cell.textSize)));
    column->SetDataType(std::string(texts.substr(cell.text + cell.textSize, cell.dataTypeSize)));
  }
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
  // Read as a loaded report's rows are, keeping where the row sits.
  const int32_t collectionIndex = collectionIndex_;
  const int16_t indentLevel = indentLevel_;
  std::string fullName = std::move(fullName_);
  detail::LoadedRows loaded;
  loaded.Add(row);
  loaded.Fill(0, *this);
  collectionIndex_ = collectionIndex;
  indentLevel_ = indentLevel;
  fullName_ = std::move(fullName);
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
