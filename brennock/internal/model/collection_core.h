#pragma once

#include <cstdint>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "brennock/internal/model/key_index.h"
#include "brennock/internal/model/persistent_record.h"
#include "brennock/internal/util/slab_allocator.h"

namespace brennock {

class qcErrors;
class xmlBldr;
class XmlDocument;
class XmlNode;
class FieldElement;
struct RecordKind;

// Hands out the members of a collection as the class a caller knows them by (qcListObject, a
// record class): every member was made by the collection's factory for that class.
template <class T>
class MemberIterator {
 public:
  using Base = std::vector<std::shared_ptr<PersistentRecord>>::const_iterator;
  using iterator_category = std::forward_iterator_tag;
  using value_type = std::shared_ptr<T>;
  using difference_type = std::ptrdiff_t;
  using pointer = void;
  using reference = std::shared_ptr<T>;

  MemberIterator() = default;
  explicit MemberIterator(Base at) : at_(at) {}
  std::shared_ptr<T> operator*() const { return std::static_pointer_cast<T>(*at_); }
  MemberIterator& operator++() {
    ++at_;
    return *this;
  }
  MemberIterator operator++(int) {
    MemberIterator before = *this;
    ++at_;
    return before;
  }
  friend bool operator==(const MemberIterator& a, const MemberIterator& b) {
    return a.at_ == b.at_;
  }

 private:
  Base at_;
};

// The work every collection of records shares, lists and transactions alike: members in order and
// by key, the master flag, the request builder, sending a query and loading (or exporting) its
// response in one pass, iterators, Commit with the mapping of each save response, Validate. The
// list and transaction collection cores add their families' queries and identity.
class CollectionCore {
 public:
  using RecordFactory = std::shared_ptr<PersistentRecord> (*)();
  using Writer = std::function<void(xmlBldr&)>;

  virtual ~CollectionCore();
  CollectionCore(const CollectionCore&) = delete;
  CollectionCore& operator=(const CollectionCore&) = delete;

  std::shared_ptr<qcErrors> Errors() { return errors_; }
  int32_t Count() const { return static_cast<int32_t>(members_.size()); }
  bool ItemExists(int32_t index) const { return index >= 1 && index <= Count(); }
  bool ItemExists(const std::string& key) const;
  void Remove(int32_t index);
  void Remove(const std::string& key);
  void Clear();
  // Validates every member; 1011 on the collection for each that fails.
  bool Validate();

  // True only for the company's one collection per kind: the one that may Add, Delete, Commit.
  bool IsMaster() const noexcept { return master_; }
  void SetMaster(bool value) noexcept { master_ = value; }
  // Queries ask for custom fields (and the registered application's) when set.
  bool IncludeDataExtensions() const noexcept { return includeDataExtensions_; }
  void SetIncludeDataExtensions(bool value) noexcept { includeDataExtensions_ = value; }
  // Records the iterator has not handed out yet; 0 before GetFirst and after the last page.
  int32_t IteratorRemainingCount() const noexcept { return iteratorRemaining_; }
  // The qbXML stem of the records ("Class", "Invoice"); also the source of raised errors.
  std::string_view Stem() const noexcept;
  const RecordKind& Kind() const noexcept { return kind_; }

  // Library-internal.
  // The request of one member with that requestID (its query-result form when bQueryRs); false
  // when the member needs none.
  virtual bool AddMemberRequest(PersistentRecord& obj, xmlBldr& builder, bool bQueryRs,
                                int32_t requestId);
  // One request per member; true when any was written.
  bool AddMemberRequests(xmlBldr& builder, bool bQueryRs);
  // Appends a record loaded elsewhere under its CollectionKey.
  void AddMember(std::shared_ptr<PersistentRecord> record);
  std::shared_ptr<PersistentRecord> MemberAt(int32_t index) const;           // 9 outside 1..Count
  std::shared_ptr<PersistentRecord> MemberAt(const std::string& key) const;  // 5 when unknown
  // npos when not a member.
  size_t PositionOf(const PersistentRecord& record) const;
  // The position filed under a key, or KeyIndex::npos.
  size_t FindPosition(std::string_view key) const noexcept { return index_.Find(key); }
  std::vector<std::shared_ptr<PersistentRecord>>::const_iterator MembersBegin() const noexcept {
    return members_.begin();
  }
  std::vector<std::shared_ptr<PersistentRecord>>::const_iterator MembersEnd() const noexcept {
    return members_.end();
  }

 protected:
  CollectionCore(const RecordKind& kind, RecordFactory create, bool hasModify);

  // Saves the new and changed members (or one member): validates them, sends one Add or Mod per
  // member with its position as requestID, files each answer, saves the data extensions of the
  // members saved and raises 1023 in the error mode when any failed. Returns the errors' count.
  int32_t CommitMembers(PersistentRecord* member);
  // How many Add and Mod requests the last CommitMembers sent (what a transaction commit answers).
  int32_t RequestsSent() const noexcept { return requestsSent_; }
  // Called before a commit writes its requests, once the members to send are known (transactions
  // number their members).
  virtual void BeforeCommit() {}
  // Raises 1021 unless this is the master collection.
  void RequireMaster() const;
  // Files a record made by Add, New, under its key.
  void FileNew(const std::shared_ptr<PersistentRecord>& record);
  // Appends under the record's key (an empty key is not indexed); a taken key raises 457.
  void File(std::shared_ptr<PersistentRecord> record);
  void RemoveAt(size_t position);
  void EmptyMembers();
  // Files every member again under its CollectionKey (after keys changed).
  void Rekey();
  xmlBldr& Builder();
  // A query: <QueryName()> with requestID "1", whatever write adds, then the query tail; sent and
  // loaded (or exported with a database path). Query failures go to Errors. Returns Count.
  int32_t RunQuery(const std::string& sMDBPath, const Writer& write, bool withRequestId = true);
  // An iterator query (metaData and iterator attributes, qbXML 5.0 and later): the response's
  // iterator attributes kept and its records loaded. Returns Count.
  int32_t RunIteratorQuery(std::string_view iterator, int32_t MaxReturned,
                           const std::string& sMDBPath, const Writer& write);
  int32_t StartIterator(int32_t MaxReturned, const std::string& sMDBPath, const Writer& write);
  int32_t ContinueIterator(const std::string& sMDBPath, const Writer& write);
  // The number of records QuickBooks holds for the query (MetaDataOnly), loading none.
  int32_t CountRecords(const Writer& write);
  // Sends a query written by write and loads (or exports) its response text. With iterates, the
  // response's iterator ID and remaining count are kept. Returns Count.
  int32_t SendAndLoad(const std::string& sMDBPath, bool iterates, const Writer& write);
  // The builder's error, when it reports one, goes to Errors; answers whether it did.
  bool FileBuilderError();
  // A response that did not load as a document goes to Errors with the loader's reason (a query
  // never raises); answers whether it did.
  bool FileUnreadableResponse(const XmlDocument& response);
  // Exports the response, or files why it could not.
  void ExportResponse(const XmlDocument& response, const std::string& sMDBPath);
  // The first record of a single-record answer (a lookup by ID), already checked for errors;
  // filed unless a member has its key, which is then refreshed instead. Null when none.
  std::shared_ptr<PersistentRecord> LoadSingle(const XmlDocument& response);

  // The source of 1021 (master only) and of the commit's 1023: the stem for lists,
  // "Brennock:" and the stem for transactions.
  virtual std::string ErrorSource() const { return std::string(Stem()); }

  // Hooks of the families.
  // The request a query sends: by default the stem and "QueryRq".
  virtual std::string QueryName() const;
  // A new record for one element of a query response (its name, such as "CustomerRet"): by
  // default the collection's own record class. Collections of several record kinds choose by the
  // name, and raise for a name they do not know.
  virtual std::shared_ptr<PersistentRecord> NewRecord(std::string_view element);
  // Appends the key a loaded record is filed under to key (its CollectionKey, without a copy).
  virtual void AppendLoadKey(const PersistentRecord& record, std::string& key) const;
  // A load begins (with about that many records), a record was read and keyed, the load ended:
  // lists gather and link parents here.
  virtual void BeginLoad(size_t /*expected*/) {}
  virtual void NoteLoaded(PersistentRecord& /*record*/, std::string_view /*key*/) {}
  virtual void FinishLoad() {}
  // A record filed outside a load (Add, a single lookup).
  virtual void NoteFiled(PersistentRecord& /*record*/) {}
  // The elements every query ends with (field selection, data extension owners ...).
  virtual void WriteQueryTail(xmlBldr& builder);
  // Files QuickBooks' refusal (status code, message) of a member's save in the member's and the
  // collection's Errors; item lists label theirs their own way.
  virtual void FileRefusedSave(PersistentRecord& record, int32_t code, std::string_view message);

  std::shared_ptr<qcErrors> errors_;

 private:
  int32_t requestsSent_ = 0;
  class LoadQueue;
  void FileUnder(std::string_view key, uint64_t preparedHash,
                 std::shared_ptr<PersistentRecord> record);
  // Loads every record element of a query response, replacing the members.
  void LoadResponse(const XmlDocument& response);
  // The same straight from the response text, without a document, setting the builder's status.
  // False, with no members, when the text is not one the ResponseReader takes.
  bool LoadResponseText(const std::string& response);
  void HandleSaveResponse(const XmlNode& response);
  // Saves the pending custom and application fields of the members this commit saved (and of
  // unsent members that hold only such changes).
  void SaveMembersDataExtensions(const std::vector<size_t>& saved);

  const RecordKind& kind_;
  RecordFactory create_;
  bool hasModify_;
  bool master_ = false;
  bool includeDataExtensions_ = false;
  std::vector<std::shared_ptr<PersistentRecord>> members_;
  KeyIndex index_;
  std::unique_ptr<xmlBldr> builder_;
  std::string iteratorId_;
  int32_t iteratorMaxReturned_ = 0;
  int32_t iteratorRemaining_ = 0;
};

// The factory a collection is given for its record class. Records come from the slab: a large
// load then costs a heap allocation per few dozen records, not per record.
template <class Record>
std::shared_ptr<PersistentRecord> MakeRecord() {
  return MakeSlabShared<Record>();
}

}  // namespace brennock
