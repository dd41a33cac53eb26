#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "brennock/internal/errors/collection_support.h"

namespace brennock {

// Entries a record holds in the order QuickBooks sent them, numbered from 1 and handed out read
// only (a price level's custom prices, a vendor's open bills). Name is the class name clients see,
// the source of error 9 for a position out of range.
template <class T, const char* Name>
class OneBasedList {
 public:
  using const_iterator = typename std::vector<std::shared_ptr<T>>::const_iterator;

  // 9 "Subscript out of range" outside 1..Count.
  std::shared_ptr<T> Item(int32_t index) const {
    if (!ItemExists(index)) RaiseCollectionPositionOutOfRange(Name);
    return items_[static_cast<size_t>(index - 1)];
  }
  bool ItemExists(int32_t index) const noexcept { return index >= 1 && index <= Count(); }
  int32_t Count() const noexcept { return static_cast<int32_t>(items_.size()); }
  const_iterator begin() const noexcept { return items_.begin(); }
  const_iterator end() const noexcept { return items_.end(); }

  // Library-internal: an entry read from a response.
  void Append(std::shared_ptr<T> item) { items_.push_back(std::move(item)); }
  void Clear() noexcept { items_.clear(); }

 private:
  std::vector<std::shared_ptr<T>> items_;
};

}  // namespace brennock
