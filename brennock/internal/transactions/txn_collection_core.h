#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "brennock/enums/query_enums.h"
#include "brennock/internal/model/collection_core.h"
#include "brennock/internal/model/record_kind.h"
#include "brennock/values/date.h"
#include "brennock/values/variant.h"

namespace brennock {

class TxnRecordCore;

// The transaction side of a collection: the transaction queries (by dates and date macros, by
// entity and account, by reference number, by TxnID, all), iterators, Commit with the members
// numbered first, Delete and Void. Each typed collection publishes the queries its kind has
// (`using`), as QuickBooks' query of the kind takes them; the query writes only the filters the
// kind's row of the registry allows (PaidStatus, IncludeLinkedTxns, IncludeLineItems).
class TxnCollectionCore : public CollectionCore {
 public:
  ~TxnCollectionCore() override;

  // Adds IncludeLinkedTxns to every query.
  bool IncludeLinkedTxns() const noexcept { return includeLinkedTxns_; }
  void SetIncludeLinkedTxns(bool value) noexcept { includeLinkedTxns_ = value; }
  // IncludeRetElement: while set (qbXML 4.0 and later) queries ask only for those elements.
  const std::vector<std::string>& IncludeRetElements() const noexcept { return includeRet_; }
  void SetIncludeRetElements(std::vector<std::string> elements) {
    includeRet_ = std::move(elements);
  }

  // Saves the new and changed members (numbering them first: each member's key becomes its
  // position) and answers the number of requests sent; Commit2 is the same.
  int32_t Commit2();
  int32_t Commit(std::shared_ptr<PersistentRecord> Member = nullptr);

  // Iteration over many transactions (qbXML 5.0 and later), as for lists.
  int32_t GetCount();
  int32_t GetFirst(int32_t MaxReturned = 0, bool IncludeLineItems = true,
                   const std::string& sMDBPath = {});
  int32_t GetNext(const std::string& sMDBPath = {});

 protected:
  TxnCollectionCore(const RecordKind& kind, RecordFactory create, bool hasModify);

  // A new member, numbered after the last (its key), filed New. Master collections only (1021).
  void FileAdded(const std::shared_ptr<TxnRecordCore>& record);

  // TxnDelRq / TxnVoidRq of the kind's type tag; 1026 / 1027 (source: the stem) when refused.
  int32_t Delete(const std::string& TxnId, bool bRemove = true);
  int32_t Void(const std::string& TxnId, bool bRemove = true);

  // The queries.
  int32_t GetByDateMacro(qbEnumDateMacro DateMacro, bool IncludeLineItems = true,
                         int32_t MaxReturned = 0, qbEnumPaidStatus PaidStatus = qbPaidStatusAll,
                         const std::string& sMDBPath = {}, const std::string& Entity = {},
                         bool WithChildren = false);
  int32_t GetByDateSpan(Date FromDate, Date ToDate, bool UseModifiedDate = false,
                        bool IncludeLineItems = true, int32_t MaxReturned = 0,
                        qbEnumPaidStatus PaidStatus = qbPaidStatusAll,
                        const std::string& sMDBPath = {}, const std::string& Entity = {},
                        bool WithChildren = false);
  // Names of customers, vendors ... (an empty list files 1019; WithChildren takes one name only,
  // else 1600).
  int32_t GetByEntity(const std::vector<std::string>& EntityList, bool WithChildren = false,
                      bool IncludeLineItems = true, int32_t MaxReturned = 0,
                      qbEnumPaidStatus PaidStatus = qbPaidStatusAll,
                      const std::string& sMDBPath = {});
  // The same for scripting clients: the names as variants, each taken as text.
  int32_t GetByEntityV(const std::vector<Variant>& EntityList, bool WithChildren = false,
                       bool IncludeLineItems = true, int32_t MaxReturned = 0,
                       qbEnumPaidStatus PaidStatus = qbPaidStatusAll,
                       const std::string& sMDBPath = {});
  int32_t GetByAccount(const std::vector<std::string>& AccountList, bool WithChildren = false,
                       bool IncludeLineItems = true, int32_t MaxReturned = 0,
                       qbEnumPaidStatus PaidStatus = qbPaidStatusAll,
                       const std::string& sMDBPath = {});
  int32_t GetByRefNumber(const std::string& FromRefNumber, const std::string& ToRefNumber,
                         bool IncludeLineItems = true, int32_t MaxReturned = 0,
                         qbEnumPaidStatus PaidStatus = qbPaidStatusAll,
                         const std::string& sMDBPath = {});
  int32_t GetByRefNumberMatch(const std::string& MatchString,
                              qbEnumMatchType MatchType = qbMatchStartsWith,
                              bool IncludeLineItems = true, int32_t MaxReturned = 0,
                              qbEnumPaidStatus PaidStatus = qbPaidStatusAll,
                              const std::string& sMDBPath = {});
  int32_t GetAll(bool IncludeLineItems = true, int32_t MaxReturned = 0,
                 qbEnumPaidStatus PaidStatus = qbPaidStatusAll, const std::string& sMDBPath = {});
  int32_t GetMultiple(const std::vector<std::string>& TxnIds, bool IncludeLineItems = true,
                      const std::string& sMDBPath = {});
  int32_t GetBySingleEntity(const std::string& Entity, bool WithChildren = false,
                            bool IncludeLineItems = true, const std::string& sMDBPath = {});
  int32_t GetBySingleAccount(const std::string& Account, bool WithChildren = false,
                             bool IncludeLineItems = true, const std::string& sMDBPath = {});
  // A query by transaction dates (a macro, or from and to), or by modification times when
  // UseModifiedDate, with nothing but MaxReturned beside it.
  int32_t GetByDates(bool UseModifiedDate, qbEnumDateMacro DateMacro, Date FromDate, Date ToDate,
                     int32_t MaxReturned, const std::string& sMDBPath);
  // The member with that TxnID when held (no request), else QuickBooks' transaction, filed and
  // returned; null when there is none (the builder's error filed).
  std::shared_ptr<PersistentRecord> LookupTxnID(const std::string& TxnId, bool IncludeLineItems,
                                                const std::string& sMDBPath);
  // Reads the record again into the same object (lines and links included).
  void Reread(TxnRecordCore& record);

  void BeforeCommit() override;
  std::string ErrorSource() const override;
  void AppendLoadKey(const PersistentRecord& record, std::string& key) const override;
  void WriteQueryTail(xmlBldr& builder) override;

 private:
  struct Filters;
  // One query: TxnIDs or MaxReturned, the date, entity, account and ref-number filters,
  // PaidStatus, IncludeLineItems and IncludeLinkedTxns, as the kind takes them.
  int32_t Query(const Filters& filters, const std::string& sMDBPath);
  void WriteFilters(xmlBldr& builder, const Filters& filters) const;
  // 1019 for an empty name list, 1600 for several names with WithChildren; false then.
  bool NamesAccepted(const std::vector<std::string>& names, bool WithChildren,
                     std::string_view field);
  int32_t DeleteOrVoid(bool voiding, const std::string& TxnId, bool bRemove);

  std::vector<std::string> includeRet_;
  bool includeLinkedTxns_ = false;
  bool iteratorLineItems_ = true;
};

// The typed face of a transaction collection: members as the collection's own record class.
template <class Record>
class TypedTxnCollection : public TxnCollectionCore {
 public:
  using record_type = Record;
  using iterator = MemberIterator<Record>;

  std::shared_ptr<Record> Item(int32_t index) const {
    return std::static_pointer_cast<Record>(MemberAt(index));
  }
  std::shared_ptr<Record> Item(const std::string& key) const {
    return std::static_pointer_cast<Record>(MemberAt(key));
  }
  std::shared_ptr<Record> GetByTxnID(const std::string& TxnId, bool IncludeLineItems = true,
                                     const std::string& sMDBPath = {}) {
    return std::static_pointer_cast<Record>(LookupTxnID(TxnId, IncludeLineItems, sMDBPath));
  }
  iterator begin() const { return iterator(MembersBegin()); }
  iterator end() const { return iterator(MembersEnd()); }

 protected:
  explicit TypedTxnCollection(bool hasModify = true)
      : TxnCollectionCore(RegisteredKind<Record::kObjectType>(), &MakeRecord<Record>, hasModify) {}

  // Starts an Add: refuses on a collection that is not the master (1021), else a new record.
  std::shared_ptr<Record> NewMember() const {
    RequireMaster();
    return std::make_shared<Record>();
  }
};

}  // namespace brennock
