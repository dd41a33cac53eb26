#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "brennock/enums/company_enums.h"
#include "brennock/enums/query_enums.h"
#include "brennock/internal/model/collection_core.h"
#include "brennock/internal/util/slab_allocator.h"
#include "brennock/model/qc_list.h"
#include "brennock/model/qc_list_object.h"
#include "brennock/values/currency.h"
#include "brennock/values/date.h"

namespace brennock {

class qcErrors;
class qcListObject;
class xmlBldr;
class ListRecordCore;
class LoadedChildren;
struct RecordKind;

// The list side of a collection, on qcList: hierarchical links of loaded and added members,
// the list queries (active status, names, modified dates, IDs and full names, iterators, field
// selection, the balance filter), lookups and deletes. Typed collections (Classes, Customers ...)
// only add their Add and typed accessors (TypedListCollection).
class ListCollectionCore : public CollectionCore, public qcList {
 public:
  using const_iterator = MemberIterator<qcListObject>;
  using FilterWriter = Writer;

  ~ListCollectionCore() override;

  // qcList
  qoEnumListType ListType() const override;
  std::shared_ptr<qcErrors> Errors() override { return CollectionCore::Errors(); }
  bool ItemExists(int32_t index) const override { return CollectionCore::ItemExists(index); }
  bool ItemExists(const std::string& key) const override { return CollectionCore::ItemExists(key); }
  int32_t Count() const override { return CollectionCore::Count(); }
  void Remove(int32_t index) override { CollectionCore::Remove(index); }
  void Remove(const std::string& key) override { CollectionCore::Remove(key); }
  void Clear() override { CollectionCore::Clear(); }
  int32_t Commit(std::shared_ptr<qcListObject> Member = nullptr) override {
    return CommitMembers(Member.get());
  }
  bool Validate() override { return CollectionCore::Validate(); }
  int32_t GetActive(int32_t MaxReturned = 0, const std::string& sMDBPath = {}) override;
  int32_t GetAll(int32_t MaxReturned = 0, const std::string& sMDBPath = {}) override;
  void AddObject(std::shared_ptr<qcListObject> obj) override { AddMember(std::move(obj)); }
  bool AddRequests(xmlBldr& builder, bool bQueryRs) override {
    return AddMemberRequests(builder, bQueryRs);
  }
  bool AddRequest(qcListObject& obj, xmlBldr& builder, bool bQueryRs, int32_t requestId) override {
    return AddMemberRequest(obj, builder, bQueryRs, requestId);
  }

  int32_t Commit2() { return Commit(); }
  int32_t GetByNameRange(const std::string& FromName, const std::string& ToName,
                         int32_t MaxReturned = 0, const std::string& sMDBPath = {});
  int32_t GetByNameMatch(const std::string& MatchString,
                         qbEnumMatchType MatchType = qbMatchStartsWith, int32_t MaxReturned = 0,
                         const std::string& sMDBPath = {});
  int32_t GetByDateSpan(Date FromDate, Date ToDate, int32_t MaxReturned = 0,
                        const std::string& sMDBPath = {});
  // Every record of those ListIDs (or full names), in one query; returns Count.
  int32_t GetByListIDs(const std::vector<std::string>& sListIDs, const std::string& sMDBPath = {});
  int32_t GetByFullNames(const std::vector<std::string>& sFullNames,
                         const std::string& sMDBPath = {});

  // Field selection: while fields are chosen and the session speaks qbXML 4.0 or later, every
  // query asks only for FullName, ParentRef and the elements of those fields (IncludeRetElement),
  // so records come back with just those filled.
  const std::vector<qoFields>& Fields() const noexcept { return fields_; }
  void SetFields(std::vector<qoFields> fields) { fields_ = std::move(fields); }

  // Iteration over a large list (qbXML 5.0 and later; older sessions raise 1005). GetCount asks
  // QuickBooks how many records the list has, loading none. GetFirst starts an iterator and loads
  // the first MaxReturned records; GetNext loads the next page (none once the iterator is done).
  // Both return Count.
  int32_t GetCount();
  int32_t GetFirst(int32_t MaxReturned = 0, const std::string& sMDBPath = {});
  int32_t GetNext(const std::string& sMDBPath = {});

  // Appends a record held by another collection (not on the master collection: 1025).
  void AddExisting(std::shared_ptr<qcListObject> oNew);

  // Deletes the record in QuickBooks (looking it up first); bRemove also drops it here. Raises
  // 1026 with QuickBooks's message when the delete is refused. Master collections only.
  int32_t Delete(const std::string& ListID, bool bRemove = true);

  const_iterator begin() const noexcept { return const_iterator(MembersBegin()); }
  const_iterator end() const noexcept { return const_iterator(MembersEnd()); }

 protected:
  ListCollectionCore(const RecordKind& kind, RecordFactory create, bool hasModify = false);

  // The balance filter of customers and vendors (TotalBalanceFilter).
  struct BalanceFilter {
    qbEnumOperator op;
    Currency amount;
  };
  // The queries behind GetAll/GetActive, GetByNameRange, GetByNameMatch and GetByDateSpan, with a
  // balance filter when one is given.
  int32_t QueryByStatus(qbEnumActiveStatus status, int32_t MaxReturned, const std::string& sMDBPath,
                        const BalanceFilter* balance);
  int32_t QueryByNameRange(const std::string& FromName, const std::string& ToName,
                           int32_t MaxReturned, const std::string& sMDBPath,
                           const BalanceFilter* balance);
  int32_t QueryByNameMatch(const std::string& MatchString, qbEnumMatchType MatchType,
                           int32_t MaxReturned, const std::string& sMDBPath,
                           const BalanceFilter* balance);
  int32_t QueryByDateSpan(Date FromDate, Date ToDate, int32_t MaxReturned,
                          const std::string& sMDBPath, const BalanceFilter* balance);

  // qcList lookups.
  std::shared_ptr<qcListObject> ItemObject(int32_t index) const override;
  std::shared_ptr<qcListObject> ItemObject(const std::string& key) const override;
  std::shared_ptr<qcListObject> LookupByFullName(const std::string& sFullName,
                                                 const std::string& sMDBPath) override;
  std::shared_ptr<qcListObject> LookupByListID(const std::string& sListID,
                                               const std::string& sMDBPath) override;

  // For typed collections' Add: the name (or key field), active flag and parent of a new record.
  static void Fill(ListRecordCore& record, const std::string& name, bool active,
                   const std::string& parentFullName = {});
  // Files a record made by Add: New, under its key and, unless told not to, linked into its
  // parent's Children.
  void FileNew(const std::shared_ptr<qcListObject>& record, bool linkToParent = true);
  // One query of this list: <stem>QueryRq with MaxReturned (when above 0) and whatever
  // writeFilters adds, sent; the response is loaded (or exported with a database path). Query
  // failures go to Errors. Returns Count.
  int32_t RunListQuery(int32_t MaxReturned, const std::string& sMDBPath,
                       const FilterWriter& writeFilters, const BalanceFilter* balance = nullptr);
  // Shared by GetAll/GetActive and list-specific queries that filter by active status.
  static void WriteActiveStatus(xmlBldr& builder, qbEnumActiveStatus status);
  // A new record for one element of a query response: by default the collection's own record
  // class. Collections of several record kinds (Entities, Terms) choose by the name.
  std::shared_ptr<PersistentRecord> NewRecord(std::string_view element) override;
  virtual std::shared_ptr<ListRecordCore> NewListRecord(std::string_view element);
  // Delete with the ListDelType a collection of several kinds names for the record.
  int32_t DeleteOfType(std::string_view listDelType, const std::string& ListID, bool bRemove);
  // The field a member's Errors files QuickBooks' refusal of its save under: "QuickBooks: " by
  // default.
  virtual std::string_view RefusedField() const;
  void FileRefusedSave(PersistentRecord& record, int32_t code, std::string_view message) override;
  void WriteQueryTail(xmlBldr& builder) override;

 private:
  void AppendLoadKey(const PersistentRecord& record, std::string& key) const override;
  void BeginLoad(size_t expected) override;
  void NoteLoaded(PersistentRecord& record, std::string_view key) override;
  void FinishLoad() override;
  void NoteFiled(PersistentRecord& record) override { LinkToParent(record); }
  // Lists a record filed outside a load (Add, a single lookup) in its parent's Children; a child
  // already listed stays as it is.
  void LinkToParent(PersistentRecord& record);
  std::shared_ptr<qcListObject> LookupSingle(std::string_view identifier, const std::string& value,
                                             const std::string& sMDBPath);

  std::vector<qoFields> fields_;
  const BalanceFilter* balance_ = nullptr;  // during a query with a balance filter
  // The parent links of the load in progress (hierarchical lists).
  std::shared_ptr<LoadedChildren> loading_;
};

}  // namespace brennock

namespace brennock {

// The factory a typed collection hands to ListCollectionCore for its record class. Records come
// from the slab: a large load then costs a heap allocation per few dozen records, not per record.
template <class Record>
std::shared_ptr<ListRecordCore> MakeListRecord() {
  return MakeSlabShared<Record>();
}

}  // namespace brennock
