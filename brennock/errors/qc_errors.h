#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "brennock/errors/qc_error.h"

namespace brennock {

// An ordered, 1-based list of error entries, owned by a record or a collection.
//
// It behaves like the automation runtime's keyed collection it stands for: entries added with Add
// carry no key (identical entries are all kept), entries added with AddObject are keyed by their
// CollectionKey, keys compare without regard to ASCII letter case, and misuse raises the runtime's
// collection errors with source "qcErrors":
//   5   "Invalid procedure call or argument"  unknown key
//   9   "Subscript out of range"              position outside 1..Count
//   457 "This key is already associated with an element of this collection"
// The key index exists only once AddObject has been used, so a plain list costs one vector.
class qcErrors {
 public:
  using const_iterator = std::vector<std::shared_ptr<qcError>>::const_iterator;

  qcErrors();
  ~qcErrors();
  qcErrors(const qcErrors&) = delete;
  qcErrors& operator=(const qcErrors&) = delete;
  qcErrors(qcErrors&&) noexcept = default;
  qcErrors& operator=(qcErrors&&) noexcept = default;

  void Clear();
  std::shared_ptr<qcError> Add(int32_t Code, const std::string& sField, const std::string& sMsg);
  std::shared_ptr<qcError> Item(int32_t index) const;
  std::shared_ptr<qcError> Item(const std::string& key) const;
  int32_t Count() const noexcept { return static_cast<int32_t>(entries_.size()); }
  const_iterator begin() const noexcept { return entries_.begin(); }
  const_iterator end() const noexcept { return entries_.end(); }
  // Appends the entry under its CollectionKey and returns the new Count.
  int32_t AddObject(std::shared_ptr<qcError> oNew);
  void Remove(int32_t index);
  void Remove(const std::string& key);

 private:
  // Folded key -> 0-based position, for entries filed by AddObject.
  using KeyIndex = std::unordered_map<std::string, size_t>;

  size_t PositionOf(int32_t index) const;
  size_t PositionOf(const std::string& key) const;
  void RemoveAt(size_t position);

  std::vector<std::shared_ptr<qcError>> entries_;
  std::unique_ptr<KeyIndex> keys_;
};

}  // namespace brennock
