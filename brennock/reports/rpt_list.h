#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "brennock/internal/errors/collection_support.h"
#include "brennock/internal/util/slab_allocator.h"

namespace brennock {

// The 1-based collections of the report model: members by position or by the key they were
// added with (keys compare without regard to letter case). Name is the class name clients see,
// the source of the runtime errors a bad position or key raises.
template <class T, const char* Name>
class RptList {
 public:
  using const_iterator = typename std::vector<std::shared_ptr<T>>::const_iterator;

  // 9 "Subscript out of range" outside 1..Count.
  std::shared_ptr<T> Item(int32_t index) const {
    if (index < 1 || index > Count()) RaiseCollectionPositionOutOfRange(Name);
    return items_[static_cast<size_t>(index - 1)];
  }
  // 5 when no member has the key.
  std::shared_ptr<T> Item(const std::string& key) const {
    return items_[static_cast<size_t>(Find(key) - 1)];
  }
  int32_t Count() const noexcept { return static_cast<int32_t>(items_.size()); }
  const_iterator begin() const noexcept { return items_.begin(); }
  const_iterator end() const noexcept { return items_.end(); }
  // The members in order (NewEnum).
  const std::vector<std::shared_ptr<T>>& NewEnum() const noexcept { return items_; }

  void Clear() noexcept {
    items_.clear();
    keys_.clear();
  }
  // Makes room for that many members (a report's rows, a row's cells).
  void Reserve(size_t count) { items_.reserve(count); }
  // Exchanges the members of two lists (a loaded answer takes the place of the last one).
  void Swap(RptList& other) noexcept {
    items_.swap(other.items_);
    keys_.swap(other.keys_);
  }
  void Remove(int32_t index) {
    if (index < 1 || index > Count()) RaiseCollectionPositionOutOfRange(Name);
    items_.erase(items_.begin() + (index - 1));
    if (!keys_.empty()) keys_.erase(keys_.begin() + (index - 1));
  }
  void Remove(const std::string& key) { Remove(Find(key)); }
  // Appends an existing member (457 when the key is taken).
  void AddObject(std::shared_ptr<T> member, const std::string& key = {}) {
    if (!key.empty()) {
      for (const auto& k : keys_)
        if (!k.empty() && CollectionKeysEqual(k, key)) RaiseDuplicateCollectionKey(Name);
      keys_.resize(items_.size());
    }
    items_.push_back(std::move(member));
    if (!keys_.empty() || !key.empty()) keys_.push_back(key);
  }

 protected:
  std::shared_ptr<T> Append(const std::string& key = {}) {
    auto member = MakeSlabShared<T>();
    AddObject(member, key);
    return member;
  }

 private:
  int32_t Find(const std::string& key) const {
    for (size_t i = 0; i < keys_.size(); ++i)
      if (!keys_[i].empty() && CollectionKeysEqual(keys_[i], key))
        return static_cast<int32_t>(i + 1);
    RaiseUnknownCollectionKey(Name);
  }

  std::vector<std::shared_ptr<T>> items_;
  // Parallel to items_ once any member was added with a key (an empty key: added without one);
  // empty while none was, as for the thousands of rows and cells of a loaded report.
  std::vector<std::string> keys_;
};

}  // namespace brennock
