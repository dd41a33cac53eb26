#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace brennock {

class qcList;

// The master list collections of a company, each under the CollectionKey of its list type in the
// ListType table ("Class" for qoListClasses). Keys compare without regard to letter case.
class Lists {
 public:
  using const_iterator = std::vector<std::shared_ptr<qcList>>::const_iterator;

  Lists() = default;
  Lists(const Lists&) = delete;
  Lists& operator=(const Lists&) = delete;

  // Appends a collection under Key; a key already present raises 457.
  void AddObject(std::shared_ptr<qcList> NewObject, const std::string& Key);
  // By 1-based position (9 outside 1..Count) or by key (5 when unknown).
  std::shared_ptr<qcList> Item(int32_t index) const;
  std::shared_ptr<qcList> Item(std::string_view key) const;
  int32_t Count() const noexcept { return static_cast<int32_t>(lists_.size()); }
  const_iterator begin() const noexcept { return lists_.begin(); }
  const_iterator end() const noexcept { return lists_.end(); }

 private:
  std::vector<std::shared_ptr<qcList>> lists_;
  std::vector<std::string> keys_;  // parallel to lists_
};

}  // namespace brennock
