#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "brennock/enums/object_enums.h"
#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/collection_support.h"
#include "brennock/internal/util/slab_allocator.h"

namespace brennock {

// The lines of a transaction the client adds, removes and edits one by one (deposit, journal and
// adjustment lines), numbered from 1. Name is the class name clients see, the source of error 9
// for a position out of range. Each collection adds its own Add.
template <class T, const char* Name>
class LineList {
 public:
  using const_iterator = typename std::vector<std::shared_ptr<T>>::const_iterator;

  bool ItemExists(int32_t index) const noexcept { return index >= 1 && index <= Count(); }
  // 9 "Subscript out of range" outside 1..Count.
  std::shared_ptr<T> Item(int32_t index) const {
    if (!ItemExists(index)) RaiseCollectionPositionOutOfRange(Name);
    return items_[static_cast<size_t>(index - 1)];
  }
  int32_t Count() const noexcept { return static_cast<int32_t>(items_.size()); }
  void Remove(int32_t index) {
    if (!ItemExists(index)) RaiseCollectionPositionOutOfRange(Name);
    items_.erase(items_.begin() + (index - 1));
    changed_ = true;
  }
  void Clear() {
    items_.clear();
    changed_ = true;
  }
  std::shared_ptr<qcErrors> Errors() {
    if (!errors_) errors_ = std::make_shared<qcErrors>();
    return errors_;
  }
  // Dirty once a line was added or removed, or a line itself changed.
  qoEnumObjectState ObjectState() const noexcept {
    if (changed_) return qoObjectStateDirty;
    for (const auto& line : items_)
      if (line->ObjectState() != qoObjectStateClean) return qoObjectStateDirty;
    return qoObjectStateClean;
  }
  const_iterator begin() const noexcept { return items_.begin(); }
  const_iterator end() const noexcept { return items_.end(); }

  // Library-internal: a line read from a response, and emptying before a record is read again.
  T& AppendLoaded() {
    items_.push_back(MakeSlabShared<T>());
    return *items_.back();
  }
  void Reset() noexcept {
    items_.clear();
    changed_ = false;
  }

 protected:
  // A line the client made: appended, or put before the line at position before (9 when there
  // is none). What an earlier Add recorded in Errors is cleared first.
  std::shared_ptr<T> Insert(std::shared_ptr<T> line, std::optional<int32_t> before) {
    if (before && !ItemExists(*before)) RaiseCollectionPositionOutOfRange(Name);
    items_.insert(before ? items_.begin() + (*before - 1) : items_.end(), line);
    changed_ = true;
    return line;
  }
  void ClearErrors() {
    if (errors_) errors_->Clear();
  }

  std::vector<std::shared_ptr<T>> items_;
  std::shared_ptr<qcErrors> errors_;
  bool changed_ = false;
};

}  // namespace brennock
