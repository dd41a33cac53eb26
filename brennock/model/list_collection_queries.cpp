// Queries of the list collections: filling a collection from QuickBooks, or handing the response
// to the database export.
#include <algorithm>

#include "brennock/enums/enumerations.h"
#include "brennock/errors/qc_errors.h"
#include "brennock/errors/raise.h"
#include "brennock/model/list_collection_core.h"
#include "brennock/model/list_record_core.h"
#include "brennock/model/loaded_children.h"
#include "brennock/model/qc_list_object.h"
#include "brennock/model/query_fields.h"
#include "brennock/model/response_exporter.h"
#include "brennock/session/version_check.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/values/convert_dtypes.h"
#include "brennock/xml/response_reader.h"
#include "brennock/xml/xml_document.h"

namespace brennock {
namespace {

// Iterators and the count-only query came with qbXML 5.0.
constexpr int32_t kIteratorVersion = 5;

// The response to the first request: QBXML, the message set, its first child.
XmlNode FirstResponse(const XmlDocument& document) {
  return document.documentElement().childNodes().item(0).childNodes().item(0);
}

}  // namespace

std::shared_ptr<ListRecordCore> ListCollectionCore::NewRecord(std::string_view /*element*/) {
  return create_();
}

std::string ListCollectionCore::QueryName() const {
  std::string name(Stem());
  name += "QueryRq";
  return name;
}

bool ListCollectionCore::FileBuilderError() {
  int32_t number = Builder().ErrNumber();
  if (number == 0) return false;
  errors_->Add(number, "", Builder().ErrMsg());
  return true;
}

bool ListCollectionCore::FileUnreadableResponse(const XmlDocument& response) {
  XmlParseError error = response.parseError();
  if (error.errorCode == 0) return false;
  std::string message = "The response from QuickBooks is not well-formed XML: ";
  message += error.reason;
  if (error.filepos >= 0) message += " (at byte " + std::to_string(error.filepos) + ")";
  errors_->Add(ErrorNumber(errGeneral), "", message);
  return true;
}

void ListCollectionCore::WriteActiveStatus(xmlBldr& builder, qbEnumActiveStatus status) {
  builder.CreateElement("ActiveStatus",
                        EnumCodeToText(qoeActiveStatus, static_cast<int16_t>(status)));
}

void ListCollectionCore::ExportResponse(const XmlDocument& response, const std::string& sMDBPath) {
  std::shared_ptr<ResponseExporter> exporter = RegisteredResponseExporter();
  if (!exporter) {
    errors_->Add(ErrorNumber(errGeneral), "", std::string(kNoResponseExporter));
    return;
  }
  exporter->ExportResponse(response, kind_.objectType, Stem(), sMDBPath);
}

// Files the records of a load one behind their reading: the slot of each key in the index, asked
// for when its record has been read, has come from memory by the time the record is filed. When a
// reading fails, the waiting record is filed first, so a taken key is still the error raised, as
// in file order. Parent links are noted while each record is at hand and made once all are filed.
class ListCollectionCore::LoadQueue {
 public:
  LoadQueue(ListCollectionCore& collection, size_t expected) : collection_(collection) {
    if (collection_.kind_.hierarchical()) loaded_ = std::make_shared<LoadedChildren>();
    Expect(expected);
  }

  // Makes room for this many members.
  void Expect(size_t count) {
    collection_.members_.reserve(count);
    collection_.index_.Reserve(count);
    if (loaded_) loaded_->Reserve(count);
  }

  // A new record, filled by read(record), then queued.
  template <class Read>
  void Load(std::string_view element, Read&& read) {
    std::shared_ptr<ListRecordCore> record;
    try {
      record = collection_.NewRecord(element);
    } catch (...) {
      FileWaiting();
      throw;
    }
    try {
      read(*record);
    } catch (...) {
      FileWaiting();
      throw;
    }
    FileWaiting();
    key_.clear();
    record->AppendFullName(key_);
    keyHash_ = collection_.index_.PrepareInsert(key_);
    if (loaded_ && !record->ParentFullName().empty()) loaded_->Add(record->ParentFullName(), key_);
    waiting_ = std::move(record);
  }

  // Files the last record and links the parents.
  void Finish() {
    FileWaiting();
    if (loaded_) collection_.LinkLoadedMembers(loaded_);
  }

 private:
  void FileWaiting() {
    if (waiting_) collection_.FileUnder(key_, keyHash_, std::move(waiting_));
  }

  ListCollectionCore& collection_;
  std::string key_;  // one buffer for every member's key
  uint64_t keyHash_ = 0;
  std::shared_ptr<ListRecordCore> waiting_;
  std::shared_ptr<LoadedChildren> loaded_;
};

void ListCollectionCore::LoadResponse(const XmlDocument& response) {
  XmlNodeList records = FirstResponse(response).childNodes();
  EmptyMembers();
  LoadQueue queue(*this, static_cast<size_t>(records.length()));
  ElementTree tree;  // one copy of each record's element after another, in the same memory
  for (XmlNode element : records) {
    if (element.nodeType() != NODE_ELEMENT) continue;
    tree.Assign(element);
    queue.Load(tree.Root().baseName(),
               [&](ListRecordCore& record) { record.ReadElement(tree.Root()); });
  }
  queue.Finish();
}

bool ListCollectionCore::LoadResponseText(const std::string& response) {
  ResponseReader reader(response);
  if (!reader.OpenFirstResponse()) return false;
  auto [code, hasCode] = reader.FirstResponseAttribute("statusCode");
  auto [message, hasMessage] = reader.FirstResponseAttribute("statusMessage");
  // Refusals and warnings are short, and the document path reports them.
  if (!hasCode || !hasMessage || (code != "0" && code != "1")) return false;
  // What was read counts only once the whole document is known sound, as a document load would
  // refuse a broken one before reading any record; the response's status is taken then. (The
  // bindings are captured by name: clang before 16 cannot capture structured bindings.)
  auto documentSound = [&, code = code, message = message] {
    if (!reader.Finish()) {
      EmptyMembers();
      return false;
    }
    Builder().TakeFirstStatus(code, message);
    return true;
  };
  EmptyMembers();
  ElementTree tree;
  LoadQueue queue(*this, 0);
  try {
    size_t start = reader.Consumed();
    if (reader.NextRecord(tree)) {
      // Records of one list are alike in size: the first tells about how many follow (counting
      // no record shorter than any QuickBooks sends).
      constexpr size_t kShortestRecord = 64;
      queue.Expect(1 + reader.Left() / std::max(reader.Consumed() - start, kShortestRecord));
      do {
        queue.Load(tree.Root().baseName(),
                   [&](ListRecordCore& record) { record.ReadElement(tree.Root()); });
      } while (reader.NextRecord(tree));
    }
  } catch (...) {
    if (!documentSound()) return false;
    throw;
  }
  if (!documentSound()) return false;
  queue.Finish();
  return true;
}

void ListCollectionCore::WriteQueryTail(xmlBldr& builder, const BalanceFilter* balance) {
  if (balance != nullptr) {
    // Resolved first, so an unknown operator writes no half filter.
    std::string op = EnumCodeToXmlText(qoeOperator, static_cast<int16_t>(balance->op));
    if (op.empty()) RaiseLibraryError(errInvalidEnumString);
    builder.OpenAggregateOnly("TotalBalanceFilter");
    builder.CreateElement("Operator", op);
    builder.CreateElement("Amount", ModConvertDtypes::AmountToText(balance->amount));
    builder.EndAggregate("TotalBalanceFilter");
  }
  if (!fields_.empty() && SessionQbxmlVersion() >= Currency(4)) {
    builder.CreateElement("IncludeRetElement", "FullName");
    builder.CreateElement("IncludeRetElement", "ParentRef");
    std::string_view previous;
    for (qoFields field : fields_) {
      std::string_view element = QueryFieldElement(field);
      // The custom fields share one element; ask for it once.
      if (element.empty() || (element == "DataExtRet" && previous == element)) continue;
      builder.CreateElement("IncludeRetElement", element);
      previous = element;
    }
  }
  builder.AddDataExtTag(includeDataExtensions_, kind_.objectType);
}

int32_t ListCollectionCore::SendAndLoad(const std::string& sMDBPath, bool iterates,
                                        const std::function<void(xmlBldr&)>& write) {
  EmptyMembers();
  errors_->Clear();
  xmlBldr& builder = Builder();
  std::string text;
  try {
    builder.NewClear();
    write(builder);
    text = builder.NewSendRequestText();
  } catch (const AutomationError& error) {
    // A query never raises: a failed send is reported like a refused request.
    errors_->Add(error.Number(), "", error.Description());
    return Count();
  }
  if (iterates) {
    // An iterator's response says where it stands; a refused one ends it.
    ResponseReader header(text);
    std::string_view id, remaining;
    if (header.OpenFirstResponse()) {
      id = header.FirstResponseAttribute("iteratorID").first;
      remaining = header.FirstResponseAttribute("iteratorRemainingCount").first;
    }
    iteratorId_.assign(id);
    iteratorRemaining_ = ModConvertDtypes::TextToInt32(remaining);
  }
  // Plainly written answers are read straight into records; the rest are loaded as documents.
  if (sMDBPath.empty() && LoadResponseText(text)) return Count();
  std::shared_ptr<XmlDocument> response;
  try {
    response = builder.ParseResponse(std::move(text));
  } catch (const AutomationError& error) {  // a response past the library's limits
    errors_->Add(error.Number(), "", error.Description());
    return Count();
  }
  if (FileUnreadableResponse(*response) || FileBuilderError()) return Count();
  if (sMDBPath.empty()) {
    LoadResponse(*response);
  } else {
    ExportResponse(*response, sMDBPath);
  }
  return Count();
}

int32_t ListCollectionCore::RunQuery(int32_t MaxReturned, const std::string& sMDBPath,
                                     const FilterWriter& writeFilters,
                                     const BalanceFilter* balance) {
  iteratorId_.clear();
  iteratorRemaining_ = 0;
  return SendAndLoad(sMDBPath, false, [&](xmlBldr& builder) {
    std::string name = QueryName();
    builder.OpenAggregate(name, "requestID", "1");
    if (MaxReturned > 0) builder.CreateElement("MaxReturned", std::to_string(MaxReturned));
    if (writeFilters) writeFilters(builder);
    WriteQueryTail(builder, balance);
    builder.EndAggregate(name);
  });
}

int32_t ListCollectionCore::RunIteratorQuery(std::string_view iterator, int32_t MaxReturned,
                                             const std::string& sMDBPath) {
  std::string id = iteratorId_;
  return SendAndLoad(sMDBPath, true, [&](xmlBldr& builder) {
    std::string name = QueryName();
    builder.OpenAggregateOnly(name, "MetaDataAndResponseData", iterator, id);
    if (MaxReturned > 0) builder.CreateElement("MaxReturned", std::to_string(MaxReturned));
    WriteQueryTail(builder, nullptr);
    builder.EndAggregate(name);
  });
}

int32_t ListCollectionCore::GetCount() {
  RequireQbxmlVersion(kIteratorVersion);
  errors_->Clear();
  xmlBldr& builder = Builder();
  std::string text;
  try {
    builder.NewClear();
    std::string name = QueryName();
    builder.OpenAggregateOnly(name, "MetaDataOnly", "Start");
    builder.CreateElement("MaxReturned", "2147483647");
    builder.EndAggregate(name);
    text = builder.NewSendRequestText();
  } catch (const AutomationError& error) {
    errors_->Add(error.Number(), "", error.Description());
    return 0;
  }
  ResponseReader header(text);
  if (header.OpenFirstResponse()) {
    auto [code, hasCode] = header.FirstResponseAttribute("statusCode");
    auto [count, hasCount] = header.FirstResponseAttribute("retCount");
    if (hasCode && hasCount && (code == "0" || code == "1"))
      return ModConvertDtypes::TextToInt32(count);
  }
  // A refusal (or an answer without a count) is filed like any failed query.
  std::shared_ptr<XmlDocument> response;
  try {
    response = builder.ParseResponse(std::move(text));
  } catch (const AutomationError& error) {
    errors_->Add(error.Number(), "", error.Description());
    return 0;
  }
  if (!FileUnreadableResponse(*response)) FileBuilderError();
  return 0;
}

int32_t ListCollectionCore::GetFirst(int32_t MaxReturned, const std::string& sMDBPath) {
  RequireQbxmlVersion(kIteratorVersion);
  iteratorMaxReturned_ = MaxReturned;
  iteratorId_.clear();
  return RunIteratorQuery("Start", MaxReturned, sMDBPath);
}

int32_t ListCollectionCore::GetNext(const std::string& sMDBPath) {
  if (iteratorId_.empty() || iteratorRemaining_ <= 0) {
    // Nothing left to continue: the collection is emptied like any query that finds nothing.
    EmptyMembers();
    errors_->Clear();
    iteratorRemaining_ = 0;
    return 0;
  }
  return RunIteratorQuery("Continue", iteratorMaxReturned_, sMDBPath);
}

int32_t ListCollectionCore::GetByListIDs(const std::vector<std::string>& sListIDs,
                                         const std::string& sMDBPath) {
  if (sListIDs.empty()) RaiseError(errEmptyGetByArray, "Brennock");
  return RunQuery(0, sMDBPath, [&](xmlBldr& builder) {
    for (const std::string& id : sListIDs) builder.CreateElement("ListID", id);
  });
}

int32_t ListCollectionCore::GetByFullNames(const std::vector<std::string>& sFullNames,
                                           const std::string& sMDBPath) {
  if (sFullNames.empty()) RaiseError(errEmptyGetByArray, "Brennock");
  return RunQuery(0, sMDBPath, [&](xmlBldr& builder) {
    for (const std::string& name : sFullNames) builder.CreateElement("FullName", name);
  });
}

int32_t ListCollectionCore::QueryByStatus(qbEnumActiveStatus status, int32_t MaxReturned,
                                          const std::string& sMDBPath,
                                          const BalanceFilter* balance) {
  return RunQuery(
      MaxReturned, sMDBPath, [status](xmlBldr& builder) { WriteActiveStatus(builder, status); },
      balance);
}

int32_t ListCollectionCore::GetAll(int32_t MaxReturned, const std::string& sMDBPath) {
  return QueryByStatus(qbStatusAny, MaxReturned, sMDBPath, nullptr);
}

int32_t ListCollectionCore::GetActive(int32_t MaxReturned, const std::string& sMDBPath) {
  return QueryByStatus(qbStatusActive, MaxReturned, sMDBPath, nullptr);
}

int32_t ListCollectionCore::GetByNameRange(const std::string& FromName, const std::string& ToName,
                                           int32_t MaxReturned, const std::string& sMDBPath) {
  return QueryByNameRange(FromName, ToName, MaxReturned, sMDBPath, nullptr);
}

int32_t ListCollectionCore::QueryByNameRange(const std::string& FromName, const std::string& ToName,
                                             int32_t MaxReturned, const std::string& sMDBPath,
                                             const BalanceFilter* balance) {
  return RunQuery(
      MaxReturned, sMDBPath,
      [&](xmlBldr& builder) {
        // Both bounds always: an empty one is an empty element, which QuickBooks takes as open.
        builder.OpenAggregateOnly("NameRangeFilter");
        builder.CreateElement("FromName", FromName);
        builder.CreateElement("ToName", ToName);
        builder.EndAggregate("NameRangeFilter");
      },
      balance);
}

int32_t ListCollectionCore::GetByNameMatch(const std::string& MatchString,
                                           qbEnumMatchType MatchType, int32_t MaxReturned,
                                           const std::string& sMDBPath) {
  return QueryByNameMatch(MatchString, MatchType, MaxReturned, sMDBPath, nullptr);
}

int32_t ListCollectionCore::QueryByNameMatch(const std::string& MatchString,
                                             qbEnumMatchType MatchType, int32_t MaxReturned,
                                             const std::string& sMDBPath,
                                             const BalanceFilter* balance) {
  // Resolved first, so an unknown match type writes no half request.
  std::string criterion = EnumCodeToXmlText(qoeMatchType, static_cast<int16_t>(MatchType));
  if (criterion.empty()) RaiseLibraryError(errInvalidEnumString);
  return RunQuery(
      MaxReturned, sMDBPath,
      [&](xmlBldr& builder) {
        builder.OpenAggregateOnly("NameFilter");
        builder.CreateElement("MatchCriterion", criterion);
        builder.CreateElement("Name", MatchString);
        builder.EndAggregate("NameFilter");
      },
      balance);
}

int32_t ListCollectionCore::GetByDateSpan(Date FromDate, Date ToDate, int32_t MaxReturned,
                                          const std::string& sMDBPath) {
  return QueryByDateSpan(FromDate, ToDate, MaxReturned, sMDBPath, nullptr);
}

int32_t ListCollectionCore::QueryByDateSpan(Date FromDate, Date ToDate, int32_t MaxReturned,
                                            const std::string& sMDBPath,
                                            const BalanceFilter* balance) {
  return RunQuery(
      MaxReturned, sMDBPath,
      [&](xmlBldr& builder) {
        // Both bounds always, as date-time text: a zero date is written "None", which QuickBooks
        // refuses; give both dates.
        builder.CreateElement("FromModifiedDate", ModConvertDtypes::DateTimeToText(FromDate));
        builder.CreateElement("ToModifiedDate", ModConvertDtypes::DateTimeToText(ToDate));
      },
      balance);
}

std::shared_ptr<qcListObject> ListCollectionCore::LookupSingle(std::string_view identifier,
                                                               const std::string& value,
                                                               const std::string& sMDBPath) {
  xmlBldr& builder = Builder();
  std::shared_ptr<XmlDocument> response;
  try {
    // With the owners of data extensions when the collection asks for them.
    response = builder.QuerySingleExecute(QueryName(), value, identifier, 0, kind_.objectType, {},
                                          includeDataExtensions_);
  } catch (const AutomationError& error) {
    errors_->Add(error.Number(), "", error.Description());
    return nullptr;
  }
  if (FileUnreadableResponse(*response) || FileBuilderError()) return nullptr;
  if (!sMDBPath.empty()) {
    ExportResponse(*response, sMDBPath);
    return nullptr;
  }
  for (XmlNode element : FirstResponse(*response).childNodes()) {
    if (element.nodeType() != NODE_ELEMENT) continue;
    std::shared_ptr<qcListObject> record = NewRecord(element.baseName());
    record->FromDom(element);
    size_t held = index_.Find(record->CollectionKey());
    if (held != KeyIndex::npos) {
      // Already a member (looked up by ListID): refresh it rather than file a twin.
      std::shared_ptr<qcListObject> member = members_[held];
      member->FromDom(element);
      return member;
    }
    File(record);
    LinkToParent(*record);
    return record;
  }
  return nullptr;  // success without a record: nothing matched
}

std::shared_ptr<qcListObject> ListCollectionCore::LookupByFullName(const std::string& sFullName,
                                                                   const std::string& sMDBPath) {
  if (sFullName.empty()) return nullptr;
  Builder().Clear();
  errors_->Clear();
  size_t held = index_.Find(sFullName);
  if (held != KeyIndex::npos) return members_[held];
  return LookupSingle("FullName", sFullName, sMDBPath);
}

std::shared_ptr<qcListObject> ListCollectionCore::LookupByListID(const std::string& sListID,
                                                                 const std::string& sMDBPath) {
  if (sListID.empty()) return nullptr;
  Builder().Clear();
  errors_->Clear();
  return LookupSingle("ListID", sListID, sMDBPath);
}

}  // namespace brennock
