#pragma once

#include <memory>
#include <string>

#include "brennock/internal/model/list_record_core.h"
#include "brennock/internal/model/typed_list_collection.h"

namespace brennock {

// The records of the small hierarchical lists (Class, CustomerType, JobType, VendorType): a name,
// an active flag and a place in the hierarchy. They differ only in their kind.
class HierarchicalListRecord : public ListRecordCore {
 public:
  static const RecordBindings& Bindings();

 protected:
  using ListRecordCore::ListRecordCore;
  // 1012/1013 on the name, 1010 for a parent that cannot be found.
  void CheckRules(qcErrors& errors) override;
};

// One record class and collection per list; the collection's Add (master collection only, else
// 1021) takes the name, the active flag and the parent's full name.
#define BRENNOCK_HIERARCHICAL_LIST(Record, Collection, Object)                      \
  class Record final : public HierarchicalListRecord {                              \
   public:                                                                          \
    static constexpr qoEnumListObjectType kObjectType = Object;                     \
    Record() : HierarchicalListRecord(RegisteredKind<kObjectType>()) {}             \
  };                                                                                \
  class Collection final : public TypedListCollection<Record> {                     \
   public:                                                                          \
    std::shared_ptr<Record> Add(const std::string& Name = {}, bool IsActive = true, \
                                const std::string& ParentFullName = {}) {           \
      return AddMember(Name, IsActive, ParentFullName);                             \
    }                                                                               \
  }

// A QuickBooks class (a department, a location, a line of business), possibly below another.
BRENNOCK_HIERARCHICAL_LIST(Class, Classes, qoObjectTypeClass);

// A QuickBooks customer type, possibly below another.
BRENNOCK_HIERARCHICAL_LIST(CustomerType, CustomerTypes, qoObjectTypeCustomerType);

// A QuickBooks job type, possibly below another.
BRENNOCK_HIERARCHICAL_LIST(JobType, JobTypes, qoObjectTypeJobType);

// A QuickBooks vendor type, possibly below another.
BRENNOCK_HIERARCHICAL_LIST(VendorType, VendorTypes, qoObjectTypeVendorType);

}  // namespace brennock
