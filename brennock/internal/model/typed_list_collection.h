#pragma once

#include <cstddef>
#include <iterator>
#include <memory>
#include <string>

#include "brennock/internal/model/list_collection_core.h"
#include "brennock/internal/model/record_kind.h"

namespace brennock {

// The typed face of a list collection: the members of ListCollectionCore that hand out records,
// as the collection's own record class. Nothing else is generated per record class.
template <class Record>
class TypedListCollection : public ListCollectionCore {
 public:
  using record_type = Record;

  using iterator = MemberIterator<Record>;

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

  iterator begin() const { return iterator(MembersBegin()); }
  iterator end() const { return iterator(MembersEnd()); }

 protected:
  // The collection of Record's list (Record::kObjectType names it in the list registry).
  explicit TypedListCollection(bool hasModify = false)
      : ListCollectionCore(RegisteredKind<Record::kObjectType>(), &MakeRecord<Record>, hasModify) {}

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
