// Queries, commits, deletes and voids of the transaction collections.
#include "brennock/internal/transactions/txn_collection_core.h"

#include <optional>

#include "brennock/enums/enumerations.h"
#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/collected_errors.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/model/record_kind.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/internal/session/version_check.h"
#include "brennock/internal/transactions/txn_record_core.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/values/convert_dtypes.h"
#include "brennock/xml/xml_document.h"

namespace brennock {
namespace {

TxnRecordCore& AsTxn(PersistentRecord& record) { return static_cast<TxnRecordCore&>(record); }
const TxnRecordCore& AsTxn(const PersistentRecord& record) {
  return static_cast<const TxnRecordCore&>(record);
}

// Iterators and IncludeRetElement came with qbXML 5.0 and 4.0.
constexpr int32_t kIteratorVersion = 5;
constexpr int32_t kIncludeRetVersion = 4;

}  // namespace

// What one query asks for, in the order the request writes it.
struct TxnCollectionCore::Filters {
  std::vector<std::string> txnIds;
  int32_t maxReturned = 0;
  std::string dateFilter;  // "Txn" or "Modified"; empty for none
  Date from, to;
  qbEnumDateMacro macro = static_cast<qbEnumDateMacro>(0);
  std::string singleEntity;  // EntityFilter of one name (the date queries' Entity too)
  bool entityWithChildren = false;
  const std::vector<std::string>* entities = nullptr;
  std::string singleAccount;
  bool accountWithChildren = false;
  const std::vector<std::string>* accounts = nullptr;
  std::optional<std::pair<std::string, std::string>> refRange;
  std::optional<std::pair<qbEnumMatchType, std::string>> refMatch;
  qbEnumPaidStatus paidStatus = qbPaidStatusAll;
  bool includeLineItems = true;
};

TxnCollectionCore::TxnCollectionCore(const RecordKind& kind, RecordFactory create, bool hasModify)
    : CollectionCore(kind, create, hasModify) {}

TxnCollectionCore::~TxnCollectionCore() = default;

std::string TxnCollectionCore::ErrorSource() const { return "Brennock:" + std::string(Stem()); }

void TxnCollectionCore::AppendLoadKey(const PersistentRecord& record, std::string& key) const {
  key += AsTxn(record).TxnIdView();
}

void TxnCollectionCore::FileAdded(const std::shared_ptr<TxnRecordCore>& record) {
  // After a delete the count no longer names a free position: take the next number not in use.
  int32_t number = Count() + 1;
  while (ItemExists(std::to_string(number))) ++number;
  record->SetCollectionKey(std::to_string(number));
  FileNew(record);
}

// ---- the request ------------------------------------------------------------------------------

void TxnCollectionCore::WriteFilters(xmlBldr& builder, const Filters& f) const {
  const RecordKind& kind = Kind();
  if (!f.txnIds.empty()) {
    for (const std::string& id : f.txnIds) builder.CreateElement("TxnID", id);
  } else if (f.maxReturned != 0) {
    builder.CreateElement("MaxReturned", std::to_string(f.maxReturned));
  }
  if (!f.dateFilter.empty()) builder.InsertDateFilter(f.dateFilter, f.from, f.to, f.macro);
  if (kind.Has(kOwnEntityFilter) && (!f.singleEntity.empty() || f.entities != nullptr)) {
    const std::string element = std::string(kind.stem) + "EntityFilter";
    builder.OpenAggregateOnly(element);
    if (!f.singleEntity.empty()) builder.CreateElement("FullName", f.singleEntity);
    if (f.entities != nullptr) {
      for (const std::string& name : *f.entities) builder.CreateElement("FullName", name);
    }
    builder.EndAggregate(element);
  } else if (!f.singleEntity.empty()) {
    builder.OpenAggregateOnly("EntityFilter");
    builder.CreateElement(f.entityWithChildren ? "FullNameWithChildren" : "FullName",
                          f.singleEntity);
    builder.EndAggregate("EntityFilter");
  } else if (f.entities != nullptr) {
    builder.InsertEntityFilter(*f.entities, f.entityWithChildren);
  }
  if (!f.singleAccount.empty()) {
    builder.OpenAggregateOnly("AccountFilter");
    builder.CreateElement(f.accountWithChildren ? "FullNameWithChildren" : "FullName",
                          f.singleAccount);
    builder.EndAggregate("AccountFilter");
  } else if (f.accounts != nullptr) {
    builder.InsertAccountFilter(*f.accounts, f.accountWithChildren);
  }
  if (f.refRange) {
    builder.OpenAggregateOnly("RefNumberRangeFilter");
    builder.CreateElement("FromRefNumber", f.refRange->first);
    builder.CreateElement("ToRefNumber", f.refRange->second);
    builder.EndAggregate("RefNumberRangeFilter");
  }
  if (f.refMatch) {
    builder.OpenAggregateOnly("RefNumberFilter");
    builder.CreateElement("MatchCriterion",
                          EnumCodeToXmlText(qoeMatchType, static_cast<int16_t>(f.refMatch->first)));
    builder.CreateElement("RefNumber", f.refMatch->second);
    builder.EndAggregate("RefNumberFilter");
  }
  if (kind.Has(kPaidStatus) && f.paidStatus != qbPaidStatusAll)
    builder.CreateElement("PaidStatus",
                          EnumCodeToXmlText(qoePaidStatus, static_cast<int16_t>(f.paidStatus)));
  if (kind.Has(kLineItems) && f.includeLineItems) builder.CreateElement("IncludeLineItems", "true");
  if (kind.Has(kLinkedTxns) && includeLinkedTxns_)
    builder.CreateElement("IncludeLinkedTxns", "true");
}

void TxnCollectionCore::WriteQueryTail(xmlBldr& builder) {
  if (!includeRet_.empty() && SessionQbxmlVersion() >= Currency(kIncludeRetVersion)) {
    for (const std::string& element : includeRet_)
      builder.CreateElement("IncludeRetElement", element);
  }
  CollectionCore::WriteQueryTail(builder);
}

int32_t TxnCollectionCore::Query(const Filters& filters, const std::string& sMDBPath) {
  return RunQuery(
      sMDBPath, [&](xmlBldr& builder) { WriteFilters(builder, filters); }, false);
}

bool TxnCollectionCore::NamesAccepted(const std::vector<std::string>& names, bool WithChildren,
                                      std::string_view field) {
  errors_->Clear();
  if (names.empty()) {
    AddTableError(*errors_, errEmptyGetByArray, field);
    return false;
  }
  if (WithChildren && names.size() > 1) {
    AddTableError(*errors_, errWithChildrenOneName, Stem());
    return false;
  }
  return true;
}

// ---- the queries --------------------------------------------------------------------------------

int32_t TxnCollectionCore::GetByDateMacro(qbEnumDateMacro DateMacro, bool IncludeLineItems,
                                          int32_t MaxReturned, qbEnumPaidStatus PaidStatus,
                                          const std::string& sMDBPath, const std::string& Entity,
                                          bool WithChildren) {
  Filters f;
  f.maxReturned = MaxReturned;
  f.dateFilter = "Txn";
  f.macro = DateMacro;
  f.singleEntity = Entity;
  f.entityWithChildren = WithChildren;
  f.paidStatus = PaidStatus;
  f.includeLineItems = IncludeLineItems;
  return Query(f, sMDBPath);
}

int32_t TxnCollectionCore::GetByDateSpan(Date FromDate, Date ToDate, bool UseModifiedDate,
                                         bool IncludeLineItems, int32_t MaxReturned,
                                         qbEnumPaidStatus PaidStatus, const std::string& sMDBPath,
                                         const std::string& Entity, bool WithChildren) {
  Filters f;
  f.maxReturned = MaxReturned;
  f.dateFilter = UseModifiedDate ? "Modified" : "Txn";
  f.from = FromDate;
  f.to = ToDate;
  f.singleEntity = Entity;
  f.entityWithChildren = WithChildren;
  f.paidStatus = PaidStatus;
  f.includeLineItems = IncludeLineItems;
  return Query(f, sMDBPath);
}

int32_t TxnCollectionCore::GetByDates(bool UseModifiedDate, qbEnumDateMacro DateMacro,
                                      Date FromDate, Date ToDate, int32_t MaxReturned,
                                      const std::string& sMDBPath) {
  Filters f;
  f.maxReturned = MaxReturned;
  f.dateFilter = UseModifiedDate ? "Modified" : "Txn";
  f.macro = DateMacro;
  f.from = FromDate;
  f.to = ToDate;
  return Query(f, sMDBPath);
}

int32_t TxnCollectionCore::GetByEntity(const std::vector<std::string>& EntityList,
                                       bool WithChildren, bool IncludeLineItems,
                                       int32_t MaxReturned, qbEnumPaidStatus PaidStatus,
                                       const std::string& sMDBPath) {
  if (!NamesAccepted(EntityList, WithChildren, "GetByEntity")) return Count();
  Filters f;
  f.maxReturned = MaxReturned;
  f.entities = &EntityList;
  f.entityWithChildren = WithChildren;
  f.paidStatus = PaidStatus;
  f.includeLineItems = IncludeLineItems;
  return Query(f, sMDBPath);
}

int32_t TxnCollectionCore::GetByEntityV(const std::vector<Variant>& EntityList, bool WithChildren,
                                        bool IncludeLineItems, int32_t MaxReturned,
                                        qbEnumPaidStatus PaidStatus, const std::string& sMDBPath) {
  std::vector<std::string> names;
  names.reserve(EntityList.size());
  for (const Variant& name : EntityList) names.push_back(name.ToString());
  return GetByEntity(names, WithChildren, IncludeLineItems, MaxReturned, PaidStatus, sMDBPath);
}

int32_t TxnCollectionCore::GetByAccount(const std::vector<std::string>& AccountList,
                                        bool WithChildren, bool IncludeLineItems,
                                        int32_t MaxReturned, qbEnumPaidStatus PaidStatus,
                                        const std::string& sMDBPath) {
  if (!NamesAccepted(AccountList, WithChildren, "GetByAccount")) return Count();
  Filters f;
  f.maxReturned = MaxReturned;
  f.accounts = &AccountList;
  f.accountWithChildren = WithChildren;
  f.paidStatus = PaidStatus;
  f.includeLineItems = IncludeLineItems;
  return Query(f, sMDBPath);
}

int32_t TxnCollectionCore::GetByRefNumber(const std::string& FromRefNumber,
                                          const std::string& ToRefNumber, bool IncludeLineItems,
                                          int32_t MaxReturned, qbEnumPaidStatus PaidStatus,
                                          const std::string& sMDBPath) {
  Filters f;
  f.maxReturned = MaxReturned;
  f.refRange.emplace(FromRefNumber, ToRefNumber);
  f.paidStatus = PaidStatus;
  f.includeLineItems = IncludeLineItems;
  return Query(f, sMDBPath);
}

int32_t TxnCollectionCore::GetByRefNumberMatch(const std::string& MatchString,
                                               qbEnumMatchType MatchType, bool IncludeLineItems,
                                               int32_t MaxReturned, qbEnumPaidStatus PaidStatus,
                                               const std::string& sMDBPath) {
  // Resolved first, so an unknown match type writes no half request.
  if (EnumCodeToXmlText(qoeMatchType, static_cast<int16_t>(MatchType)).empty())
    RaiseLibraryError(errInvalidEnumString);
  Filters f;
  f.maxReturned = MaxReturned;
  f.refMatch.emplace(MatchType, MatchString);
  f.paidStatus = PaidStatus;
  f.includeLineItems = IncludeLineItems;
  return Query(f, sMDBPath);
}

int32_t TxnCollectionCore::GetAll(bool IncludeLineItems, int32_t MaxReturned,
                                  qbEnumPaidStatus PaidStatus, const std::string& sMDBPath) {
  Filters f;
  f.maxReturned = MaxReturned;
  f.paidStatus = PaidStatus;
  f.includeLineItems = IncludeLineItems;
  return Query(f, sMDBPath);
}

int32_t TxnCollectionCore::GetMultiple(const std::vector<std::string>& TxnIds,
                                       bool IncludeLineItems, const std::string& sMDBPath) {
  if (TxnIds.empty()) RaiseError(errEmptyGetByArray, "Brennock");
  Filters f;
  f.txnIds = TxnIds;
  f.includeLineItems = IncludeLineItems;
  return Query(f, sMDBPath);
}

int32_t TxnCollectionCore::GetBySingleEntity(const std::string& Entity, bool WithChildren,
                                             bool IncludeLineItems, const std::string& sMDBPath) {
  Filters f;
  f.singleEntity = Entity;
  f.entityWithChildren = WithChildren;
  f.includeLineItems = IncludeLineItems;
  return Query(f, sMDBPath);
}

int32_t TxnCollectionCore::GetBySingleAccount(const std::string& Account, bool WithChildren,
                                              bool IncludeLineItems, const std::string& sMDBPath) {
  Filters f;
  f.singleAccount = Account;
  f.accountWithChildren = WithChildren;
  f.includeLineItems = IncludeLineItems;
  return Query(f, sMDBPath);
}

std::shared_ptr<PersistentRecord> TxnCollectionCore::LookupTxnID(const std::string& TxnId,
                                                                 bool IncludeLineItems,
                                                                 const std::string& sMDBPath) {
  if (sMDBPath.empty() && ItemExists(TxnId)) return MemberAt(TxnId);
  errors_->Clear();
  xmlBldr& builder = Builder();
  std::shared_ptr<XmlDocument> response;
  try {
    builder.NewClear();
    const std::string name = QueryName();
    builder.OpenAggregateOnly(name);
    Filters f;
    f.txnIds.push_back(TxnId);
    f.includeLineItems = IncludeLineItems;
    WriteFilters(builder, f);
    WriteQueryTail(builder);
    builder.EndAggregate(name);
    response = builder.NewSendRequest();
  } catch (const AutomationError& error) {
    errors_->Add(error.Number(), "", error.Description());
    return nullptr;
  }
  if (FileUnreadableResponse(*response)) return nullptr;
  if (builder.ErrNumber() != 0) {
    errors_->Add(builder.ErrNumber(), "", builder.ErrMsg());
    return nullptr;
  }
  if (!sMDBPath.empty()) {
    ExportResponse(*response, sMDBPath);
    return nullptr;
  }
  return LoadSingle(*response);
}

void TxnCollectionCore::Reread(TxnRecordCore& record) {
  xmlBldr& builder = Builder();
  builder.NewClear();
  const std::string name = QueryName();
  builder.OpenAggregateOnly(name);
  builder.CreateElement("TxnID", record.TxnId());
  if (Kind().Has(kLineItems)) builder.CreateElement("IncludeLineItems", "true");
  if (Kind().Has(kLinkedTxns)) builder.CreateElement("IncludeLinkedTxns", "true");
  builder.AddDataExtTag(true, Kind().objectType);
  builder.EndAggregate(name);
  std::shared_ptr<XmlDocument> response = builder.NewSendRequest();
  if (builder.ErrNumber() != 0) {
    errors_->Add(builder.ErrNumber(), "", builder.ErrMsg());
    return;
  }
  XmlNode rs = response->documentElement().childNodes().item(0).childNodes().item(0);
  for (XmlNode element : rs.childNodes()) {
    if (element.nodeType() != NODE_ELEMENT) continue;
    record.FromDom(element);
    return;
  }
}

// ---- iterators
// ------------------------------------------------------------------------------------

int32_t TxnCollectionCore::GetCount() {
  RequireQbxmlVersion(kIteratorVersion);
  return CountRecords({});
}

int32_t TxnCollectionCore::GetFirst(int32_t MaxReturned, bool IncludeLineItems,
                                    const std::string& sMDBPath) {
  RequireQbxmlVersion(kIteratorVersion);
  iteratorLineItems_ = IncludeLineItems;
  return StartIterator(MaxReturned, sMDBPath, [this](xmlBldr& builder) {
    Filters f;
    f.includeLineItems = iteratorLineItems_;
    WriteFilters(builder, f);
  });
}

int32_t TxnCollectionCore::GetNext(const std::string& sMDBPath) {
  return ContinueIterator(sMDBPath, [this](xmlBldr& builder) {
    Filters f;
    f.includeLineItems = iteratorLineItems_;
    WriteFilters(builder, f);
  });
}

// ---- commit, delete, void
// -------------------------------------------------------------------------

// The members are numbered before the requests are written: each one's requestID is its number
// and its key, as the answers are matched by it.
void TxnCollectionCore::BeforeCommit() {
  int32_t number = 0;
  for (auto at = MembersBegin(); at != MembersEnd(); ++at)
    AsTxn(**at).SetCollectionKey(std::to_string(++number));
  Rekey();
}

// A transaction commit answers how many requests it sent (a list commit its errors' count).
int32_t TxnCollectionCore::Commit(std::shared_ptr<PersistentRecord> Member) {
  CommitMembers(Member.get());
  return RequestsSent();
}

int32_t TxnCollectionCore::Commit2() { return Commit(nullptr); }

int32_t TxnCollectionCore::Delete(const std::string& TxnId, bool bRemove) {
  return DeleteOrVoid(false, TxnId, bRemove);
}

int32_t TxnCollectionCore::Void(const std::string& TxnId, bool bRemove) {
  return DeleteOrVoid(true, TxnId, bRemove);
}

// Any collection may delete or void (only adding and saving need the master collection).
int32_t TxnCollectionCore::DeleteOrVoid(bool voiding, const std::string& TxnId, bool bRemove) {
  size_t held = std::string::npos;
  for (auto at = MembersBegin(); at != MembersEnd(); ++at) {
    if (AsTxn(**at).TxnIdView() == TxnId) {
      held = static_cast<size_t>(at - MembersBegin());
      break;
    }
  }
  const std::string_view request = voiding ? "TxnVoidRq" : "TxnDelRq";
  xmlBldr& builder = Builder();
  builder.NewClear();
  builder.OpenAggregate(request, "requestID", "1");
  builder.CreateElement(voiding ? "TxnVoidType" : "TxnDelType",
                        EnumCodeToXmlText(qoeObjectType, static_cast<int16_t>(Kind().objectType)));
  builder.CreateElement("TxnID", TxnId);
  builder.EndAggregate(request);
  builder.NewSendRequest();
  if (builder.ErrNumber() != 0)
    RaiseError(voiding ? errVoidFailed : errDeleteFailed, Stem(), builder.ErrMsg());
  if (bRemove && held != std::string::npos) RemoveAt(held);
  return 0;
}

}  // namespace brennock
