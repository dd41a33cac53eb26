// Members and keys, sending queries and loading their responses, and committing, for every
// collection of records.
#include "brennock/internal/model/collection_core.h"

#include <algorithm>
#include <limits>

#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/collected_errors.h"
#include "brennock/internal/errors/collection_support.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/errors/value_errors.h"
#include "brennock/internal/model/record_kind.h"
#include "brennock/internal/model/response_exporter.h"
#include "brennock/internal/model/transaction_defaults.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/internal/util/prefetch.h"
#include "brennock/internal/xml/element_tree.h"
#include "brennock/internal/xml/response_reader.h"
#include "brennock/model/qc_list_object_ref.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/values/convert_dtypes.h"
#include "brennock/xml/xml_attributes.h"
#include "brennock/xml/xml_document.h"

namespace brennock {
namespace {

// The response to the first request: QBXML, the message set, its first child.
XmlNode FirstResponse(const XmlDocument& document) {
  return document.documentElement().childNodes().item(0).childNodes().item(0);
}

std::string AttributeText(const XmlNode& element, std::string_view name) {
  XmlAttribute attribute = element.attributes().getNamedItem(name);
  return attribute ? attribute.text() : std::string();
}

}  // namespace

CollectionCore::CollectionCore(const RecordKind& kind, RecordFactory create, bool hasModify)
    : errors_(std::make_shared<qcErrors>()), kind_(kind), create_(create), hasModify_(hasModify) {}

CollectionCore::~CollectionCore() = default;

std::string_view CollectionCore::Stem() const noexcept { return kind_.stem; }

xmlBldr& CollectionCore::Builder() {
  if (!builder_) builder_ = std::make_unique<xmlBldr>();
  return *builder_;
}

// ---- members ------------------------------------------------------------------------------------

bool CollectionCore::ItemExists(const std::string& key) const {
  return index_.Find(key) != KeyIndex::npos;
}

std::shared_ptr<PersistentRecord> CollectionCore::MemberAt(int32_t index) const {
  if (!ItemExists(index)) RaiseCollectionPositionOutOfRange(std::string(Stem()));
  return members_[static_cast<size_t>(index - 1)];
}

std::shared_ptr<PersistentRecord> CollectionCore::MemberAt(const std::string& key) const {
  size_t position = index_.Find(key);
  if (position == KeyIndex::npos) RaiseUnknownCollectionKey(std::string(Stem()));
  return members_[position];
}

void CollectionCore::File(std::shared_ptr<PersistentRecord> record) {
  std::string key = record->CollectionKey();
  FileUnder(key, index_.PrepareInsert(key), std::move(record));
}

void CollectionCore::FileUnder(std::string_view key, uint64_t preparedHash,
                               std::shared_ptr<PersistentRecord> record) {
  if (!key.empty()) {
    if (!index_.Insert(key, members_.size(), preparedHash)) {
      RaiseDuplicateCollectionKey(std::string(Stem()));
    }
  }
  members_.push_back(std::move(record));
}

size_t CollectionCore::PositionOf(const PersistentRecord& record) const {
  for (size_t i = 0; i < members_.size(); ++i) {
    if (members_[i].get() == &record) return i;
  }
  return std::string::npos;
}

void CollectionCore::RemoveAt(size_t position) {
  members_.erase(members_.begin() + static_cast<std::ptrdiff_t>(position));
  index_.ErasePosition(position);
}

void CollectionCore::Remove(int32_t index) {
  if (!ItemExists(index)) RaiseCollectionPositionOutOfRange(std::string(Stem()));
  RemoveAt(static_cast<size_t>(index - 1));
}

void CollectionCore::Remove(const std::string& key) {
  size_t position = index_.Find(key);
  if (position == KeyIndex::npos) RaiseUnknownCollectionKey(std::string(Stem()));
  RemoveAt(position);
}

void CollectionCore::EmptyMembers() {
  // The collection is empty before the first record goes. Freeing a large load reads every
  // record once more, long after it was made and far out of the cache: each record's first cache
  // lines (its counts and most members) are asked for a few records ahead of its release, so the
  // waits overlap.
  std::vector<std::shared_ptr<PersistentRecord>> leaving;
  leaving.swap(members_);
  index_.Clear();
  constexpr size_t kAhead = 16;
  constexpr size_t kRecordBytes = 496;
  const size_t count = leaving.size();
  for (size_t i = 0; i < count; ++i) {
    if (i + kAhead < count) PrefetchForRelease(leaving[i + kAhead].get(), kRecordBytes);
    leaving[i].reset();
  }
}

void CollectionCore::Clear() { EmptyMembers(); }

void CollectionCore::Rekey() {
  index_.Clear();
  index_.Reserve(members_.size());
  for (size_t i = 0; i < members_.size(); ++i) {
    std::string key = members_[i]->CollectionKey();
    if (!key.empty() && !index_.Insert(key, i)) RaiseDuplicateCollectionKey(std::string(Stem()));
  }
}

void CollectionCore::AddMember(std::shared_ptr<PersistentRecord> record) {
  if (record) File(std::move(record));
}

void CollectionCore::RequireMaster() const {
  if (!master_) RaiseError(errMasterOnly, ErrorSource());
}

void CollectionCore::FileNew(const std::shared_ptr<PersistentRecord>& record) {
  record->SetObjectState(qoObjectStateNew);
  File(record);
  NoteFiled(*record);
}

bool CollectionCore::Validate() {
  errors_->Clear();
  bool valid = true;
  for (const auto& member : members_) {
    if (member->Validate()) continue;
    valid = false;
    AddTableError(*errors_, errValidateFailed, member->CollectionKey());
  }
  return valid;
}

// ---- queries ------------------------------------------------------------------------------------

std::shared_ptr<PersistentRecord> CollectionCore::NewRecord(std::string_view /*element*/) {
  return create_();
}

std::string CollectionCore::QueryName() const {
  std::string name(Stem());
  name += "QueryRq";
  return name;
}

void CollectionCore::AppendLoadKey(const PersistentRecord& record, std::string& key) const {
  key += record.CollectionKey();
}

void CollectionCore::WriteQueryTail(xmlBldr& builder) {
  builder.AddDataExtTag(includeDataExtensions_, kind_.objectType);
}

bool CollectionCore::FileBuilderError() {
  int32_t number = Builder().ErrNumber();
  if (number == 0) return false;
  errors_->Add(number, "", Builder().ErrMsg());
  return true;
}

bool CollectionCore::FileUnreadableResponse(const XmlDocument& response) {
  XmlParseError error = response.parseError();
  if (error.errorCode == 0) return false;
  std::string message = "The response from QuickBooks is not well-formed XML: ";
  message += error.reason;
  if (error.filepos >= 0) message += " (at byte " + std::to_string(error.filepos) + ")";
  errors_->Add(ErrorNumber(errGeneral), "", message);
  return true;
}

void CollectionCore::ExportResponse(const XmlDocument& response, const std::string& sMDBPath) {
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
// in file order.
class CollectionCore::LoadQueue {
 public:
  LoadQueue(CollectionCore& collection, size_t expected) : collection_(collection) {
    Expect(expected);
  }

  // Makes room for this many members.
  void Expect(size_t count) {
    collection_.members_.reserve(count);
    collection_.index_.Reserve(count);
    collection_.BeginLoad(count);
  }

  // A new record for the element, filled from it, then queued.
  void Load(const FieldElement& element) {
    std::shared_ptr<PersistentRecord> record;
    try {
      {
        RecordsFromResponse fromResponse;
        record = collection_.NewRecord(element.baseName());
      }
      record->ReadElement(element);
    } catch (...) {
      FileWaiting();
      throw;
    }
    FileWaiting();
    key_.clear();
    collection_.AppendLoadKey(*record, key_);
    keyHash_ = collection_.index_.PrepareInsert(key_);
    collection_.NoteLoaded(*record, key_);
    waiting_ = std::move(record);
  }

  // Files the last record and ends the load.
  void Finish() {
    FileWaiting();
    collection_.FinishLoad();
  }

 private:
  void FileWaiting() {
    if (waiting_) collection_.FileUnder(key_, keyHash_, std::move(waiting_));
  }

  CollectionCore& collection_;
  qcListObjectRef::SharedTexts sharedRefTexts_;
  std::string key_;  // one buffer for every member's key
  uint64_t keyHash_ = 0;
  std::shared_ptr<PersistentRecord> waiting_;
};

void CollectionCore::LoadResponse(const XmlDocument& response) {
  XmlNodeList records = FirstResponse(response).childNodes();
  EmptyMembers();
  LoadQueue queue(*this, static_cast<size_t>(records.length()));
  ElementTree tree;  // one copy of each record's element after another, in the same memory
  for (XmlNode element : records) {
    if (element.nodeType() != NODE_ELEMENT) continue;
    tree.Assign(element);
    queue.Load(tree.Root());
  }
  queue.Finish();
}

bool CollectionCore::LoadResponseText(const std::string& response) {
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
      // Records of one kind are alike in size: the first tells about how many follow (counting
      // no record shorter than any QuickBooks sends).
      constexpr size_t kShortestRecord = 64;
      queue.Expect(1 + reader.Left() / std::max(reader.Consumed() - start, kShortestRecord));
      do {
        queue.Load(tree.Root());
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

int32_t CollectionCore::SendAndLoad(const std::string& sMDBPath, bool iterates,
                                    const Writer& write) {
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

int32_t CollectionCore::RunQuery(const std::string& sMDBPath, const Writer& write,
                                 bool withRequestId) {
  iteratorId_.clear();
  iteratorRemaining_ = 0;
  return SendAndLoad(sMDBPath, false, [&](xmlBldr& builder) {
    std::string name = QueryName();
    if (withRequestId) {
      builder.OpenAggregate(name, "requestID", "1");
    } else {
      builder.OpenAggregateOnly(name);
    }
    if (write) write(builder);
    WriteQueryTail(builder);
    builder.EndAggregate(name);
  });
}

int32_t CollectionCore::RunIteratorQuery(std::string_view iterator, int32_t MaxReturned,
                                         const std::string& sMDBPath, const Writer& write) {
  std::string id = iteratorId_;
  return SendAndLoad(sMDBPath, true, [&](xmlBldr& builder) {
    std::string name = QueryName();
    builder.OpenAggregateOnly(name, "MetaDataAndResponseData", iterator, id);
    if (MaxReturned > 0) builder.CreateElement("MaxReturned", std::to_string(MaxReturned));
    if (write) write(builder);
    WriteQueryTail(builder);
    builder.EndAggregate(name);
  });
}

int32_t CollectionCore::StartIterator(int32_t MaxReturned, const std::string& sMDBPath,
                                      const Writer& write) {
  iteratorMaxReturned_ = MaxReturned;
  iteratorId_.clear();
  return RunIteratorQuery("Start", MaxReturned, sMDBPath, write);
}

int32_t CollectionCore::ContinueIterator(const std::string& sMDBPath, const Writer& write) {
  if (iteratorId_.empty() || iteratorRemaining_ <= 0) {
    // Nothing left to continue: the collection is emptied like any query that finds nothing.
    EmptyMembers();
    errors_->Clear();
    iteratorRemaining_ = 0;
    return 0;
  }
  return RunIteratorQuery("Continue", iteratorMaxReturned_, sMDBPath, write);
}

int32_t CollectionCore::CountRecords(const Writer& write) {
  errors_->Clear();
  xmlBldr& builder = Builder();
  std::string text;
  try {
    builder.NewClear();
    std::string name = QueryName();
    builder.OpenAggregateOnly(name, "MetaDataOnly", "Start");
    builder.CreateElement("MaxReturned", "2147483647");
    if (write) write(builder);
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

std::shared_ptr<PersistentRecord> CollectionCore::LoadSingle(const XmlDocument& response) {
  for (XmlNode element : FirstResponse(response).childNodes()) {
    if (element.nodeType() != NODE_ELEMENT) continue;
    ElementTree tree(element);
    std::shared_ptr<PersistentRecord> record = NewRecord(element.baseName());
    record->ReadElement(tree.Root());
    size_t held = index_.Find(record->CollectionKey());
    if (held != KeyIndex::npos) {
      // Already a member (looked up by ID): refresh it rather than file a twin.
      std::shared_ptr<PersistentRecord> member = members_[held];
      member->ReadElement(tree.Root());
      return member;
    }
    File(record);
    NoteFiled(*record);
    return record;
  }
  return nullptr;  // success without a record: nothing matched
}

// ---- commit -------------------------------------------------------------------------------------

bool CollectionCore::AddMemberRequest(PersistentRecord& obj, xmlBldr& builder, bool bQueryRs,
                                      int32_t requestId) {
  if (requestId > std::numeric_limits<int16_t>::max()) RaiseOverflow();
  auto id = static_cast<int16_t>(requestId);
  if (bQueryRs) {
    builder.InsertQueryRs(obj, id);
    return true;
  }
  switch (obj.ObjectState()) {
    case qoObjectStateNew:
      builder.InsertAddRq(obj, id);
      return true;
    case qoObjectStateClean:
      return false;
    case qoObjectStateDirty:
      if (!hasModify_) RaiseGeneral(Stem(), "Modify not allowed");
      builder.InsertModRq(obj, id);
      return true;
  }
  RaiseGeneral(Stem(), "Unknown Object State");
}

bool CollectionCore::AddMemberRequests(xmlBldr& builder, bool bQueryRs) {
  bool any = false;
  for (size_t i = 0; i < members_.size(); ++i) {
    any |= AddMemberRequest(*members_[i], builder, bQueryRs, static_cast<int32_t>(i + 1));
  }
  return any;
}

void CollectionCore::HandleSaveResponse(const XmlNode& response) {
  // By attribute name: QuickBooks may write the attributes in any order, and a message may hold
  // quotes.
  int32_t requestId = ModConvertDtypes::TextToInt32(AttributeText(response, "requestID"));
  if (requestId < 1 || requestId > Count()) return;  // not one of ours
  PersistentRecord& record = *members_[static_cast<size_t>(requestId - 1)];
  int32_t code = ModConvertDtypes::TextToInt32(AttributeText(response, "statusCode"));
  if (code == 0) {
    XmlNode ret = response.childNodes().item(0);
    ElementTree tree(ret);
    record.ReadElement(tree.Root());
    return;
  }
  FileRefusedSave(record, code, AttributeText(response, "statusMessage"));
}

void CollectionCore::FileRefusedSave(PersistentRecord& record, int32_t code,
                                     std::string_view message) {
  AddCommitStatusErrors(*errors_, *record.Errors(), record.CollectionKey(), code, message);
}

void CollectionCore::SaveMembersDataExtensions(const std::vector<size_t>& saved) {
  // Values are saved from qbXML 2.0 on, against the saved record's ID.
  if (SessionQbxmlVersion() < Currency(2)) return;
  for (size_t i : saved) {
    PersistentRecord& member = *members_[i];
    if (member.ObjectState() != qoObjectStateClean) continue;  // refused: nothing to attach to
    member.SavePendingExtensions();
  }
}

int32_t CollectionCore::CommitMembers(PersistentRecord* Member) {
  RequireMaster();
  errors_->Clear();
  // Validation may ask QuickBooks for a parent through this very collection, whose builder the
  // save requests use: validate every member first, then write the document.
  std::vector<size_t> valid;
  if (Member == nullptr) {
    for (size_t i = 0; i < members_.size(); ++i) {
      PersistentRecord& member = *members_[i];
      if (member.Validate()) {
        valid.push_back(i);
      } else {
        AddTableError(*errors_, errValidateFailed, member.CollectionKey());
      }
    }
  } else if (!Member->Validate()) {
    AddTableError(*errors_, errValidateFailed, Member->CollectionKey());
  } else {
    size_t position = PositionOf(*Member);
    if (position == std::string::npos) {
      AddTableError(*errors_, errNotMember, Stem());
    } else {
      valid.push_back(position);
    }
  }
  BeforeCommit();
  xmlBldr& builder = Builder();
  builder.NewClear();
  requestsSent_ = 0;
  for (size_t i : valid) {
    if (AddMemberRequest(*members_[i], builder, false, static_cast<int32_t>(i + 1)))
      ++requestsSent_;
  }
  if (requestsSent_ != 0) {
    std::shared_ptr<XmlDocument> response = builder.NewSendRequest();
    XmlNode messageSet = response->documentElement().childNodes().item(0);
    for (XmlNode element : messageSet.childNodes()) {
      if (element.nodeType() == NODE_ELEMENT) HandleSaveResponse(element);
    }
  }
  // The custom fields of every member saved, before any error is raised: a failure of another
  // member loses none of them.
  SaveMembersDataExtensions(valid);
  if (Session().errorMode) {
    if (errors_->Count() != 0) RaiseError(errCommitErrors, ErrorSource());
    if (builder.ErrNumber() != 0) {
      throw AutomationError(builder.ErrNumber(), std::string(Stem()), builder.ErrMsg());
    }
  }
  return errors_->Count();
}

}  // namespace brennock
