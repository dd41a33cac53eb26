#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "brennock/enums/report_enums.h"

namespace brennock {

class FieldElement;
class rptRow;

namespace detail {

// An array that grows a page at a time and never moves what it holds: a report's quarter of a
// million rows and millions of cells are not copied over again each time the array fills.
template <class T>
class PagedArray {
 public:
  static constexpr size_t kPageBits = 16;
  static constexpr size_t kPageSize = size_t{1} << kPageBits;

  size_t size() const noexcept { return size_; }
  T& operator[](size_t index) noexcept {
    return pages_[index >> kPageBits][index & (kPageSize - 1)];
  }
  const T& operator[](size_t index) const noexcept {
    return pages_[index >> kPageBits][index & (kPageSize - 1)];
  }
  void push_back(const T& value) {
    if ((size_ & (kPageSize - 1)) == 0)
      pages_.push_back(std::make_unique_for_overwrite<T[]>(kPageSize));
    pages_.back()[size_ & (kPageSize - 1)] = value;
    ++size_;
  }

 private:
  std::vector<std::unique_ptr<T[]>> pages_;
  size_t size_ = 0;
};

// The rows of a loaded report, kept compactly: one record per row and one per cell in two
// arrays, their texts back to back in pages. A report of a quarter of a million rows is
// mostly counted, or read for a few rows; the rptRow objects are made one by one, when a caller
// first asks for a row, and stay the same objects from then on.
class LoadedRows {
 public:
  // Reads a TextRow, DataRow, SubtotalRow or TotalRow element as the next row.
  void Add(const FieldElement& row);
  size_t Size() const noexcept { return rows_.size(); }
  // The object of row index (0-based), made on the first ask.
  std::shared_ptr<rptRow> Row(size_t index);
  // Fills a new row object with row index, as a caller gets it (CollectionIndex index + 1).
  void Fill(size_t index, rptRow& row) const;

  // ---- what the hierarchy passes read and set, by row ----
  qbEnumRptRowType Type(size_t index) const noexcept { return rows_[index].type; }
  std::string_view Text(size_t index) const noexcept { return View(rows_[index].text); }
  std::string_view RowDataValue(size_t index) const noexcept {
    return View(rows_[index].rowDataValue);
  }
  size_t CellCount(size_t index) const noexcept { return rows_[index].cellCount; }
  // The first cell's text; empty without cells.
  std::string_view FirstText(size_t index) const noexcept;
  void SetIndentLevel(size_t index, int16_t level) noexcept { rows_[index].indentLevel = level; }
  // A full name of its own (text, subtotal and total rows).
  void SetFullName(size_t index, std::string name);
  // What the full names of the data rows that follow start with (the labels above, with their
  // colon), until the next call.
  void SetAbove(std::string above);
  // A data row's full name: the last `above`, then its first cell's text upper-cased.
  void SetLabelledName(size_t index) noexcept;

 private:
  // A text in the store.
  struct Span {
    uint32_t at = 0, size = 0;
  };
  struct Record {
    uint32_t firstCell = 0, cellCount = 0;
    Span text, rowDataType, rowDataValue;
    int32_t rowNumber = 0;
    uint32_t name = 0;  // in names_
    int16_t indentLevel = 0;
    qbEnumRptRowType type = static_cast<qbEnumRptRowType>(0);
    bool labelled = false;  // the name is followed by the first cell's text, upper-cased
  };
  // A cell's text, then its data type, sit back to back in the store.
  struct Cell {
    int32_t id;
    uint32_t text, textSize, dataTypeSize;
  };

  static constexpr size_t kTextPageBits = 20;
  static constexpr size_t kTextPageSize = size_t{1} << kTextPageBits;

  std::string_view View(Span span) const noexcept { return Texts(span.at, span.size); }
  std::string_view Texts(uint32_t at, size_t size) const noexcept {
    if (size == 0) return {};
    return {textPages_[at >> kTextPageBits].get() + (at & (kTextPageSize - 1)), size};
  }
  // Keeps texts back to back in one page; where the first starts.
  uint32_t Keep(std::string_view first, std::string_view second = {});
  Span KeepSpan(std::string_view text) { return {Keep(text), static_cast<uint32_t>(text.size())}; }

  PagedArray<Record> rows_;
  PagedArray<Cell> cells_;
  // The texts, in pages that are never moved; a text longer than a page has one of its own.
  std::vector<std::unique_ptr<char[]>> textPages_;
  size_t textUsed_ = 0, textRoom_ = 0;  // of the last page
  // The full names given whole, and the starts of data rows' names; the first is empty.
  std::vector<std::string> names_{std::string()};
  uint32_t above_ = 0;
  std::vector<std::shared_ptr<rptRow>> made_;  // by row; sized on the first ask
};

}  // namespace detail
}  // namespace brennock
