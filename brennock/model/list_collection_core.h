#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "brennock/enums/company_enums.h"
#include "brennock/enums/query_enums.h"
#include "brennock/model/key_index.h"
#include "brennock/model/qc_list.h"
#include "brennock/util/slab_allocator.h"
#include "brennock/values/currency.h"
#include "brennock/values/date.h"

namespace brennock {

class qcErrors;
class qcListObject;
class xmlBldr;
class XmlDocument;
class XmlNode;
class ListRecordCore;
class LoadedChildren;
struct ListRecordKind;

// The work of every list collection, on qcListObject: members in order and by key, the master
// flag, queries (loading responses or handing them to the database export), Add/Delete, Commit
// with the mapping of each save response, Validate. Typed collections (Classes, Customers ...)
// only add their Add and typed accessors (TypedListCollection).
class ListCollectionCore : public qcList {
 public:
  using RecordFactory = std::shared_ptr<ListRecordCore> (*)();
  using const_iterator = std::vector<std::shared_ptr<qcListObject>>::const_iterator;
  using FilterWriter = std::function<void(xmlBldr&)>;

  ~ListCollectionCore() override;
  ListCollectionCore(const ListCollectionCore&) = delete;
  ListCollectionCore& operator=(const ListCollectionCore&) = delete;

  // qcList
  qoEnumListType ListType() const override;
  std::shared_ptr<qcErrors> Errors() override { return errors_; }
  bool ItemExists(int32_t index) const override;
  bool ItemExists(const std::string& key) const override;
  int32_t Count() const override { return static_cast<int32_t>(members_.size()); }
  void Remove(int32_t index) override;
  void Remove(const std::string& key) override;
  void Clear() override;
  int32_t Commit(std::shared_ptr<qcListObject> Member = nullptr) override;
  bool Validate() override;
  int32_t GetActive(int32_t MaxReturned = 0, const std::string& sMDBPath = {}) override;
  int32_t GetAll(int32_t MaxReturned = 0, const std::string& sMDBPath = {}) override;
  void AddObject(std::shared_ptr<qcListObject> obj) override;
  bool AddRequests(xmlBldr& builder, bool bQueryRs) override;
  bool AddRequest(qcListObject& obj, xmlBldr& builder, bool bQueryRs, int32_t requestId) override;

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
  // Queries ask for custom fields (and the registered application's) when set.
  bool IncludeDataExtensions() const noexcept { return includeDataExtensions_; }
  void SetIncludeDataExtensions(bool value) noexcept { includeDataExtensions_ = value; }

  // Iteration over a large list (qbXML 5.0 and later; older sessions raise 1005). GetCount asks
  // QuickBooks how many records the list has, loading none. GetFirst starts an iterator and loads
  // the first MaxReturned records; GetNext loads the next page (none once the iterator is done).
  // Both return Count.
  int32_t GetCount();
  int32_t GetFirst(int32_t MaxReturned = 0, const std::string& sMDBPath = {});
  int32_t GetNext(const std::string& sMDBPath = {});
  // Records the iterator has not handed out yet; 0 before GetFirst and after the last page.
  int32_t IteratorRemainingCount() const noexcept { return iteratorRemaining_; }

  // Appends a record held by another collection (not on the master collection: 1025).
  void AddExisting(std::shared_ptr<qcListObject> oNew);

  // Deletes the record in QuickBooks (looking it up first); bRemove also drops it here. Raises
  // 1026 with QuickBooks's message when the delete is refused. Master collections only.
  int32_t Delete(const std::string& ListID, bool bRemove = true);

  // True only for the company's one collection per list: the one that may Add, Delete, Commit.
  bool IsMaster() const noexcept { return master_; }
  void SetMaster(bool value) noexcept { master_ = value; }
  // The qbXML stem of the records ("Class"); also the source of the collection's raised errors.
  std::string_view Stem() const noexcept;

  const_iterator begin() const noexcept { return members_.begin(); }
  const_iterator end() const noexcept { return members_.end(); }

 protected:
  ListCollectionCore(const ListRecordKind& kind, RecordFactory create, bool hasModify = false);

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
  // For typed collections' Add: raises 1021 unless this is the master collection.
  void RequireMaster() const;
  // Files a record made by Add: New, under its key and, unless told not to, linked into its
  // parent's Children.
  void FileNew(const std::shared_ptr<qcListObject>& record, bool linkToParent = true);
  // One query of this list: <stem>QueryRq with MaxReturned (when above 0) and whatever
  // writeFilters adds, sent; the response is loaded (or exported with a database path). Query
  // failures go to Errors. Returns Count.
  int32_t RunQuery(int32_t MaxReturned, const std::string& sMDBPath,
                   const FilterWriter& writeFilters, const BalanceFilter* balance = nullptr);
  // Shared by GetAll/GetActive and list-specific queries that filter by active status.
  static void WriteActiveStatus(xmlBldr& builder, qbEnumActiveStatus status);
  xmlBldr& Builder();
  // A new record for one element of a query response (its name, such as "CustomerRet"): by
  // default the collection's own record class. Collections of several record kinds (Entities,
  // Terms) choose by the name, and raise for a name they do not know.
  virtual std::shared_ptr<ListRecordCore> NewRecord(std::string_view element);
  // The request a query sends: by default the stem and "QueryRq".
  virtual std::string QueryName() const;
  // Delete with the ListDelType a collection of several kinds names for the record.
  int32_t DeleteOfType(std::string_view listDelType, const std::string& ListID, bool bRemove);
  // The field a member's Errors files QuickBooks' refusal of its save under: "QuickBooks: " by
  // default.
  virtual std::string_view RefusedField() const;
  // Files QuickBooks' refusal (status code, message) of a member's save in the member's and the
  // collection's Errors; item lists label theirs their own way.
  virtual void FileRefusedSave(qcListObject& record, int32_t code, std::string_view message);

 private:
  // Appends under the record's key (an empty key is not indexed); a taken key raises 457.
  void File(std::shared_ptr<qcListObject> record);
  // The same under a key already computed (preparedHash from the index's PrepareInsert).
  void FileUnder(std::string_view key, std::shared_ptr<qcListObject> record);
  void FileUnder(std::string_view key, uint64_t preparedHash, std::shared_ptr<qcListObject> record);
  size_t PositionOf(const qcListObject& record) const;  // npos when not a member
  void RemoveAt(size_t position);
  // Lists a record filed outside a load (Add, a single lookup) in its parent's Children; a child
  // already listed stays as it is.
  void LinkToParent(qcListObject& record);
  // Links the members just loaded to their parents, from the links gathered while loading: the
  // names wait in the parents until their Children are read.
  void LinkLoadedMembers(const std::shared_ptr<LoadedChildren>& loaded);
  void EmptyMembers();
  class LoadQueue;
  // Loads every record element of a query response, replacing the members.
  void LoadResponse(const XmlDocument& response);
  // The same straight from the response text, without a document, setting the builder's status.
  // False, with no members, when the text is not one the ResponseReader takes.
  bool LoadResponseText(const std::string& response);
  // Exports the response, or files why it could not. Returns false when it filed an error.
  void ExportResponse(const XmlDocument& response, const std::string& sMDBPath);
  // The builder's error, when it reports one, goes to Errors; answers whether it did.
  bool FileBuilderError();
  // A response that did not load as a document goes to Errors with the loader's reason (a query
  // never raises); answers whether it did.
  bool FileUnreadableResponse(const XmlDocument& response);
  std::shared_ptr<qcListObject> LookupSingle(std::string_view identifier, const std::string& value,
                                             const std::string& sMDBPath);
  void HandleSaveResponse(const XmlNode& response);
  // The elements every query ends with: the balance filter, the field selection, the owners of
  // data extensions.
  void WriteQueryTail(xmlBldr& builder, const BalanceFilter* balance);
  // An iterator query (metaData and iterator attributes) sent; its response's iterator attributes
  // kept and its records loaded. Returns Count.
  int32_t RunIteratorQuery(std::string_view iterator, int32_t MaxReturned,
                           const std::string& sMDBPath);
  // Sends a query written by write and loads (or exports) its response text.
  // With iterates, the response's iterator ID and remaining count are kept.
  int32_t SendAndLoad(const std::string& sMDBPath, bool iterates,
                      const std::function<void(xmlBldr&)>& write);

  const ListRecordKind& kind_;
  RecordFactory create_;
  bool hasModify_;
  bool master_ = false;
  std::vector<std::shared_ptr<qcListObject>> members_;
  KeyIndex index_;
  std::shared_ptr<qcErrors> errors_;
  std::unique_ptr<xmlBldr> builder_;
  std::vector<qoFields> fields_;
  std::string iteratorId_;
  int32_t iteratorMaxReturned_ = 0;
  int32_t iteratorRemaining_ = 0;
  bool includeDataExtensions_ = false;
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
