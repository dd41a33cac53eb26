#pragma once

#include <cstddef>
#include <iterator>
#include <memory>
#include <string>

#include "brennock/model/list_collection_core.h"
#include "brennock/model/list_kind.h"

namespace brennock {

// The typed face of a list collection: the members of ListCollectionCore that hand out records,
// as the collection's own record class. Nothing else is generated per record class.
template <class Record>
class TypedListCollection : public ListCollectionCore {
 public:
  using record_type = Record;

  class iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = std::shared_ptr<Record>;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = std::shared_ptr<Record>;

    iterator() = default;
    explicit iterator(ListCollectionCore::const_iterator at) : at_(at) {}
    std::shared_ptr<Record> operator*() const { return std::static_pointer_cast<Record>(*at_); }
    iterator& operator++() {
      ++at_;
      return *this;
    }
    iterator operator++(int) {
      iterator before = *this;
      ++at_;
      return before;
    }
    friend bool operator==(const iterator& a, const iterator& b) { return a.at_ == b.at_; }

   private:
    ListCollectionCore::const_iterator at_;
  };

  std::shared_ptr<Record> Item(int32_t index) const {
    return std::static_pointer_cast<Record>(ItemObject(index));
  }
  std::shared_ptr<Record> Item(const std::string& key) const {
    return std::static_pointer_cast<Record>(ItemObject(key));
  }
  std::shared_ptr<Record> GetByFullName(const std::string& sFullName,
                                        const std::string& sMDBPath = {}) {
    return std::static_pointer_cast<Record>(LookupByFullName(sFullName, sMDBPath));
  }
  std::shared_ptr<Record> GetByListID(const std::string& sListID,
                                      const std::string& sMDBPath = {}) {
    return std::static_pointer_cast<Record>(LookupByListID(sListID, sMDBPath));
  }

  iterator begin() const { return iterator(ListCollectionCore::begin()); }
  iterator end() const { return iterator(ListCollectionCore::end()); }

 protected:
  // The collection of Record's list (Record::kObjectType names it in the list registry).
  explicit TypedListCollection(bool hasModify = false)
      : ListCollectionCore(RegisteredKind<Record::kObjectType>(), &MakeListRecord<Record>,
                           hasModify) {}

  // Starts an Add: refuses on a collection that is not the master, else a new record.
  std::shared_ptr<Record> NewMember() const {
    RequireMaster();
    return std::make_shared<Record>();
  }
  // An Add: a new record with its name, active flag and parent, then fill(record) for the rest;
  // filed New.
  template <class Fill = void (*)(Record&)>
  std::shared_ptr<Record> AddMember(
      const std::string& name, bool active, const std::string& parentFullName = {},
      Fill&& fill = [](Record&) {}) {
    std::shared_ptr<Record> record = NewMember();
    ListCollectionCore::Fill(*record, name, active, parentFullName);
    fill(*record);
    FileNew(record);
    return record;
  }
};

}  // namespace brennock
