// A report's rows: read compactly from the answer, made into row objects when asked for.
#include <algorithm>
#include <charconv>
#include <cstring>
#include <new>

#include "brennock/internal/errors/collection_support.h"
#include "brennock/internal/reports/report_rows_core.h"
#include "brennock/internal/reports/report_xml.h"
#include "brennock/internal/util/slab_allocator.h"
#include "brennock/internal/xml/element_tree.h"
#include "brennock/reports/rpt_result.h"

namespace brennock {
namespace detail {
namespace {

// The leading number of an attribute's text; 0 when absent or not a number.
int32_t NumberOf(std::string_view text) {
  int32_t value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

qbEnumRptRowType RowTypeOf(std::string_view name) {
  if (name == "DataRow") return qbRptRowTypeData;
  if (name == "TextRow") return qbRptRowTypeText;
  if (name == "SubtotalRow") return qbRptRowTypeSubtotal;
  if (name == "TotalRow") return qbRptRowTypeTotal;
  return static_cast<qbEnumRptRowType>(0);
}

}  // namespace

uint32_t LoadedRows::Keep(std::string_view first, std::string_view second) {
  const size_t bytes = first.size() + second.size();
  if (bytes == 0) return 0;
  if (bytes > textRoom_) {
    // Offsets are 32 bits: a report whose texts pass 4 GiB is refused as too large to hold.
    if (textPages_.size() >= (size_t{UINT32_MAX} >> kTextPageBits) || bytes > UINT32_MAX)
      throw std::bad_alloc();
    const size_t size = std::max(bytes, kTextPageSize);
    textPages_.push_back(std::make_unique_for_overwrite<char[]>(size));
    textUsed_ = 0;
    textRoom_ = size;
  }
  char* out = textPages_.back().get() + textUsed_;
  const auto at = static_cast<uint32_t>(((textPages_.size() - 1) << kTextPageBits) | textUsed_);
  if (!first.empty()) std::memcpy(out, first.data(), first.size());
  if (!second.empty()) std::memcpy(out + first.size(), second.data(), second.size());
  textUsed_ += bytes;
  textRoom_ -= bytes;
  return at;
}

void LoadedRows::Add(const FieldElement& row) {
  if (cells_.size() >= UINT32_MAX) throw std::bad_alloc();
  Record record;
  record.type = RowTypeOf(row.baseName());
  record.firstCell = static_cast<uint32_t>(cells_.size());
  // The first attribute of each name counts, as the document's getNamedItem finds it.
  bool hasNumber = false, hasValue = false;
  for (size_t i = 0, n = row.AttributeCount(); i < n; ++i) {
    auto [attribute, text] = row.AttributeAt(i);
    if (attribute == "rowNumber" && !hasNumber) {
      record.rowNumber = NumberOf(text);
      hasNumber = true;
    } else if (attribute == "value" && !hasValue) {
      record.text = KeepSpan(text);
      hasValue = true;
    }
  }
  for (FieldElement child : row.Children()) {
    // Names without a prefix, the usual case, need no search for a colon.
    const std::string_view written = child.nodeName();
    const std::string_view childName =
        written == "ColData" || written == "RowData" ? written : child.baseName();
    if (childName == "ColData") {
      int32_t id = 0;
      std::string_view value, dataType;
      bool hasId = false, hasCellValue = false, hasDataType = false;
      for (size_t i = 0, n = child.AttributeCount(); i < n; ++i) {
        auto [attribute, text] = child.AttributeAt(i);
        if (attribute == "colID" && !hasId) {
          id = NumberOf(text);
          hasId = true;
        } else if (attribute == "value" && !hasCellValue) {
          value = text;
          hasCellValue = true;
        } else if (attribute == "dataType" && !hasDataType) {
          dataType = text;
          hasDataType = true;
        }
      }
      cells_.push_back(Cell{id, Keep(value, dataType), static_cast<uint32_t>(value.size()),
                            static_cast<uint32_t>(dataType.size())});
    } else if (childName == "RowData") {
      record.rowDataType = KeepSpan(child.AttributeText("rowType"));
      record.rowDataValue = KeepSpan(child.AttributeText("value"));
    }
  }
  record.cellCount = static_cast<uint32_t>(cells_.size() - record.firstCell);
  rows_.push_back(record);
}

std::string_view LoadedRows::FirstText(size_t index) const noexcept {
  const Record& row = rows_[index];
  if (row.cellCount == 0) return {};
  const Cell& cell = cells_[row.firstCell];
  return Texts(cell.text, cell.textSize);
}

void LoadedRows::SetFullName(size_t index, std::string name) {
  rows_[index].name = static_cast<uint32_t>(names_.size());
  rows_[index].labelled = false;
  names_.push_back(std::move(name));
}

void LoadedRows::SetAbove(std::string above) {
  above_ = static_cast<uint32_t>(names_.size());
  names_.push_back(std::move(above));
}

void LoadedRows::SetLabelledName(size_t index) noexcept {
  rows_[index].name = above_;
  rows_[index].labelled = true;
}

void LoadedRows::Fill(size_t index, rptRow& row) const {
  const Record& record = rows_[index];
  row.SetRowType(record.type);
  row.SetRowNumber(record.rowNumber);
  row.SetCollectionIndex(static_cast<int32_t>(index + 1));
  row.SetIndentLevel(record.indentLevel);
  row.SetText(std::string(View(record.text)));
  row.SetRowDataType(std::string(View(record.rowDataType)));
  row.SetRowDataValue(std::string(View(record.rowDataValue)));
  std::string name = names_[record.name];
  if (record.labelled) name += AsciiUpper(FirstText(index));
  row.SetFullName(std::move(name));
  rptColumns& columns = *row.Columns();
  size_t bytes = 0;
  for (uint32_t i = 0; i < record.cellCount; ++i) {
    const Cell& cell = cells_[record.firstCell + i];
    bytes += cell.textSize + cell.dataTypeSize;
  }
  columns.ReserveLoaded(record.cellCount, bytes);
  for (uint32_t i = 0; i < record.cellCount; ++i) {
    const Cell& cell = cells_[record.firstCell + i];
    const std::string_view texts = Texts(cell.text, cell.textSize + cell.dataTypeSize);
    columns.AddLoaded(cell.id, texts.substr(0, cell.textSize), texts.substr(cell.textSize));
  }
}

std::shared_ptr<rptRow> LoadedRows::Row(size_t index) {
  if (made_.empty()) made_.resize(rows_.size());
  std::shared_ptr<rptRow>& made = made_[index];
  if (!made) {
    auto row = MakeSlabShared<rptRow>();
    Fill(index, *row);
    made = std::move(row);
  }
  return made;
}

}  // namespace detail

rptRows::rptRows() = default;
rptRows::~rptRows() = default;

int32_t rptRows::Count() const noexcept {
  return loaded_ ? static_cast<int32_t>(loaded_->Size()) : List::Count();
}

std::shared_ptr<rptRow> rptRows::Item(int32_t index) const {
  if (!loaded_) return List::Item(index);
  if (index < 1 || index > Count()) RaiseCollectionPositionOutOfRange(detail::kRptRowsName);
  return loaded_->Row(static_cast<size_t>(index - 1));
}

std::shared_ptr<rptRow> rptRows::Add() {
  Materialize();
  auto row = Append();
  row->SetCollectionIndex(Count());
  return row;
}

std::shared_ptr<rptRow> rptRows::AddWithKey(const std::string& skey) {
  Materialize();
  auto row = Append(skey);
  row->SetCollectionIndex(Count());
  return row;
}

void rptRows::Clear() noexcept {
  loaded_.reset();
  List::Clear();
}

void rptRows::Swap(rptRows& other) noexcept {
  List::Swap(other);
  loaded_.swap(other.loaded_);
}

detail::LoadedRows& rptRows::Loading() {
  if (!loaded_) loaded_ = std::make_unique<detail::LoadedRows>();
  return *loaded_;
}

void rptRows::MakeRows() {
  // All are made before the compact rows go: a failure leaves the rows as they were.
  const size_t count = loaded_->Size();
  std::vector<std::shared_ptr<rptRow>> rows;
  rows.reserve(count);
  for (size_t i = 0; i < count; ++i) rows.push_back(loaded_->Row(i));
  List::Reserve(count);
  for (auto& row : rows) List::AddObject(std::move(row));
  loaded_.reset();
}

}  // namespace brennock
