#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "brennock/enums/report_enums.h"
#include "brennock/reports/rpt_list.h"
#include "brennock/values/variant.h"

namespace brennock {

class FieldElement;

namespace detail {
class LoadedRows;
inline constexpr char kRptColumnsName[] = "rptColumns";
inline constexpr char kRptRowsName[] = "rptRows";
inline constexpr char kRptColumnHeadersName[] = "rptColumnHeaders";
}  // namespace detail

// One cell of a report row (a ColData of the answer).
class rptColumn {
 public:
  int32_t ID() const noexcept { return id_; }
  void SetID(int32_t value) noexcept { id_ = value; }
  const std::string& Text() const noexcept { return text_; }
  void SetText(std::string value) { text_ = std::move(value); }
  const std::string& DataType() const noexcept { return dataType_; }
  void SetDataType(std::string value) { dataType_ = std::move(value); }

 private:
  int32_t id_ = 0;
  std::string text_;
  std::string dataType_;
};

// The cells of a row. A loaded row keeps its cells compactly, their texts back to back, and makes
// the rptColumn objects only when a caller first asks for them: a report of a quarter of a million
// rows is mostly read for a few of its cells, or only for its totals.
class rptColumns : public RptList<rptColumn, detail::kRptColumnsName> {
  using List = RptList<rptColumn, detail::kRptColumnsName>;

 public:
  std::shared_ptr<rptColumn> Add() {
    Materialize();
    return Append();
  }
  std::shared_ptr<rptColumn> Item(int32_t index) const {
    Materialize();
    return List::Item(index);
  }
  std::shared_ptr<rptColumn> Item(const std::string& key) const {
    Materialize();
    return List::Item(key);
  }
  int32_t Count() const noexcept {
    return cellCount_ == 0 ? List::Count() : static_cast<int32_t>(cellCount_);
  }
  List::const_iterator begin() const {
    Materialize();
    return List::begin();
  }
  List::const_iterator end() const {
    Materialize();
    return List::end();
  }
  const std::vector<std::shared_ptr<rptColumn>>& NewEnum() const {
    Materialize();
    return List::NewEnum();
  }
  void Clear() noexcept {
    DropLoaded();
    List::Clear();
  }
  void Remove(int32_t index) {
    Materialize();
    List::Remove(index);
  }
  void Remove(const std::string& key) {
    Materialize();
    List::Remove(key);
  }
  void AddObject(std::shared_ptr<rptColumn> member, const std::string& key = {}) {
    Materialize();
    List::AddObject(std::move(member), key);
  }

  // Library-internal.
  // A loaded cell, kept compactly; the list must hold no cell objects yet.
  void AddLoaded(int32_t id, std::string_view text, std::string_view dataType);
  void ReserveLoaded(size_t cells, size_t textBytes);
  // The first cell's text, without making the cell objects; empty without cells.
  std::string_view FirstText() const;

 private:
  // A loaded cell: its text and then its data type sit back to back among the block's texts.
  struct Cell {
    int32_t id;
    uint32_t text, textSize, dataTypeSize;
  };
  // Turns the compact cells into cell objects, once.
  void Materialize() const {
    if (cellCount_ != 0) const_cast<rptColumns*>(this)->MakeCells();
  }
  void MakeCells();
  Cell LoadedCell(size_t index) const noexcept;
  std::string_view LoadedTexts() const noexcept {
    return {loaded_.get() + cellRoom_ * sizeof(Cell), textSize_};
  }
  // Room for that many cells and text bytes, keeping those loaded.
  void GrowLoaded(size_t cells, size_t textBytes);
  void DropLoaded() noexcept {
    loaded_.reset();
    cellCount_ = cellRoom_ = textSize_ = textRoom_ = 0;
  }

  // The loaded cells, then their texts, in one block: a row of a large report costs one
  // allocation for all its cells, and its first text sits next to them.
  std::unique_ptr<char[]> loaded_;
  uint32_t cellCount_ = 0, cellRoom_ = 0;
  uint32_t textSize_ = 0, textRoom_ = 0;
};

// One row of a loaded report: its kind, its cells, and where it sits in the report's hierarchy.
class rptRow {
 public:
  rptRow();

  qbEnumRptRowType RowType() const noexcept { return rowType_; }
  void SetRowType(qbEnumRptRowType value) noexcept { rowType_ = value; }
  int32_t RowNumber() const noexcept { return rowNumber_; }
  void SetRowNumber(int32_t value) noexcept { rowNumber_ = value; }
  const std::string& Text() const noexcept { return text_; }
  void SetText(std::string value) { text_ = std::move(value); }
  const std::string& Name() const noexcept { return name_; }
  void SetName(std::string value) { name_ = std::move(value); }
  const std::string& RowDataType() const noexcept { return rowDataType_; }
  void SetRowDataType(std::string value) { rowDataType_ = std::move(value); }
  const std::string& RowDataValue() const noexcept { return rowDataValue_; }
  void SetRowDataValue(std::string value) { rowDataValue_ = std::move(value); }
  // The upper-cased path of section labels down to this row ("INCOME:SALES").
  const std::string& FullName() const noexcept { return fullName_; }
  void SetFullName(std::string value) { fullName_ = std::move(value); }
  int32_t CollectionIndex() const noexcept { return collectionIndex_; }
  void SetCollectionIndex(int32_t value) noexcept { collectionIndex_ = value; }
  int16_t IndentLevel() const noexcept { return indentLevel_; }
  void SetIndentLevel(int16_t value) noexcept { indentLevel_ = value; }
  const Variant& UserData() const noexcept { return userData_; }
  void SetUserData(Variant value) { userData_ = std::move(value); }
  std::shared_ptr<rptColumns> Columns() const noexcept { return columns_; }
  void SetColumns(std::shared_ptr<rptColumns> value) { columns_ = std::move(value); }
  // Library-internal: the cells without a handle of the caller's own.
  const rptColumns& ColumnList() const noexcept { return *columns_; }

  // Library-internal: reads a TextRow, DataRow, SubtotalRow or TotalRow element.
  void Read(const FieldElement& row);

 private:
  qbEnumRptRowType rowType_ = static_cast<qbEnumRptRowType>(0);
  int32_t rowNumber_ = 0;
  int32_t collectionIndex_ = 0;
  int16_t indentLevel_ = 0;
  std::string text_, name_, rowDataType_, rowDataValue_, fullName_;
  Variant userData_;
  std::shared_ptr<rptColumns> columns_;
};

// The rows of a report. Loaded rows are kept compactly, and each row object is made when a
// caller first asks for it (Item), or all of them when the rows are walked or changed.
class rptRows : public RptList<rptRow, detail::kRptRowsName> {
  using List = RptList<rptRow, detail::kRptRowsName>;

 public:
  rptRows();
  ~rptRows();
  rptRows(const rptRows&) = delete;
  rptRows& operator=(const rptRows&) = delete;

  std::shared_ptr<rptRow> Add();
  std::shared_ptr<rptRow> AddWithKey(const std::string& skey);
  std::shared_ptr<rptRow> Item(int32_t index) const;
  std::shared_ptr<rptRow> Item(const std::string& key) const {
    Materialize();
    return List::Item(key);
  }
  int32_t Count() const noexcept;
  List::const_iterator begin() const {
    Materialize();
    return List::begin();
  }
  List::const_iterator end() const {
    Materialize();
    return List::end();
  }
  const std::vector<std::shared_ptr<rptRow>>& NewEnum() const {
    Materialize();
    return List::NewEnum();
  }
  void Clear() noexcept;
  void Reserve(size_t count) {
    Materialize();
    List::Reserve(count);
  }
  void Remove(int32_t index) {
    Materialize();
    List::Remove(index);
  }
  void Remove(const std::string& key) {
    Materialize();
    List::Remove(key);
  }
  void AddObject(std::shared_ptr<rptRow> member, const std::string& key = {}) {
    Materialize();
    List::AddObject(std::move(member), key);
  }
  // Exchanges the rows of two lists (a loaded answer takes the place of the last one).
  void Swap(rptRows& other) noexcept;

  // Library-internal: the rows still kept compactly (none once the row objects were all made);
  // Loading gives them to fill, the list holding no row objects yet.
  detail::LoadedRows* Loaded() const noexcept { return loaded_.get(); }
  detail::LoadedRows& Loading();

 private:
  // Turns the compact rows into row objects, once.
  void Materialize() const {
    if (loaded_) const_cast<rptRows*>(this)->MakeRows();
  }
  void MakeRows();

  std::unique_ptr<detail::LoadedRows> loaded_;
};

// One column of a report: its qbXML column ID, kind of value, field and titles.
class rptColumnHeader {
 public:
  int32_t ID() const noexcept { return id_; }
  void SetID(int32_t value) noexcept { id_ = value; }
  // Variant type codes: 8 text, 7 date, 6 amount or quantity, 3 integer, 11 boolean, 4 percent.
  int32_t DataType() const noexcept { return dataType_; }
  void SetDataType(int32_t value) noexcept { dataType_ = value; }
  int32_t TitleRow() const noexcept { return titleRow_; }
  void SetTitleRow(int32_t value) noexcept { titleRow_ = value; }
  const std::string& Title() const noexcept { return title_; }
  void SetTitle(std::string value) { title_ = std::move(value); }
  qbEnumReportFields Field() const noexcept { return field_; }
  void SetField(qbEnumReportFields value) noexcept { field_ = value; }
  int16_t TitleLines() const noexcept { return titleLines_; }
  void SetTitleLines(int16_t value) noexcept { titleLines_ = value; }
  // The title of one title row; empty for a row the column has no title in.
  std::string TitleText(int32_t Index) const;
  void SetTitleText(int32_t Index, std::string value);

  // Library-internal: reads a ColDesc element.
  void Read(const FieldElement& colDesc);

 private:
  int32_t id_ = 0;
  int32_t dataType_ = 0;
  int32_t titleRow_ = 0;
  int16_t titleLines_ = 0;
  qbEnumReportFields field_ = static_cast<qbEnumReportFields>(0);
  std::string title_;
  std::map<int32_t, std::string> titleTexts_;
};

class rptColumnHeaders : public RptList<rptColumnHeader, detail::kRptColumnHeadersName> {
 public:
  // True when the client chose the columns (Add); a loaded answer leaves it as it is.
  bool UserSet() const noexcept { return userSet_; }
  void SetUserSet(bool value) noexcept { userSet_ = value; }
  // Empties the headers and forgets that the client chose them.
  void Clear() noexcept {
    RptList::Clear();
    userSet_ = false;
  }
  // A column the client wants, with its field.
  std::shared_ptr<rptColumnHeader> Add(qbEnumReportFields Field);

  // Library-internal: empties the headers and keeps UserSet (a loaded answer), or appends one
  // without marking the columns chosen.
  void ClearLoaded() noexcept { RptList::Clear(); }
  std::shared_ptr<rptColumnHeader> AppendLoaded() { return Append(); }

 private:
  bool userSet_ = false;
};

}  // namespace brennock
