// Members, parent links and lookups of the list collections.
#include "brennock/internal/model/list_collection_core.h"

#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/collected_errors.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/model/list_record_core.h"
#include "brennock/internal/model/loaded_children.h"
#include "brennock/model/qc_list_object.h"
#include "brennock/model/qc_list_object_ref.h"
#include "brennock/session/xml_bldr.h"

namespace brennock {
namespace {

ListRecordCore& AsListRecord(PersistentRecord& record) {
  // Every member of a list collection was made by a list factory.
  return static_cast<ListRecordCore&>(static_cast<qcListObject&>(record));
}

}  // namespace

ListCollectionCore::ListCollectionCore(const RecordKind& kind, RecordFactory create, bool hasModify)
    : CollectionCore(kind, create, hasModify) {}

ListCollectionCore::~ListCollectionCore() = default;

qoEnumListType ListCollectionCore::ListType() const { return Kind().listType; }

std::shared_ptr<qcListObject> ListCollectionCore::ItemObject(int32_t index) const {
  return std::static_pointer_cast<qcListObject>(MemberAt(index));
}

std::shared_ptr<qcListObject> ListCollectionCore::ItemObject(const std::string& key) const {
  return std::static_pointer_cast<qcListObject>(MemberAt(key));
}

std::shared_ptr<PersistentRecord> ListCollectionCore::NewRecord(std::string_view element) {
  return NewListRecord(element);
}

std::shared_ptr<ListRecordCore> ListCollectionCore::NewListRecord(std::string_view element) {
  return std::static_pointer_cast<ListRecordCore>(
      std::static_pointer_cast<qcListObject>(CollectionCore::NewRecord(element)));
}

void ListCollectionCore::AddExisting(std::shared_ptr<qcListObject> oNew) {
  if (IsMaster()) RaiseError(errNotOnMaster, Stem());
  if (oNew) File(std::move(oNew));
}

void ListCollectionCore::Fill(ListRecordCore& record, const std::string& name, bool active,
                              const std::string& parentFullName) {
  record.SetName(name);
  record.SetIsActive(active);
  record.SetParentFullName(parentFullName);
}

void ListCollectionCore::LinkToParent(PersistentRecord& member) {
  qcListObject& record = static_cast<qcListObject&>(member);
  std::string parent = record.Parent();
  if (parent.empty()) return;
  const size_t position = FindPosition(parent);
  if (position == KeyIndex::npos) return;
  std::shared_ptr<qcListObjectRefs> children =
      ItemObject(static_cast<int32_t>(position + 1))->Children();
  try {
    children->Add(record.FullName(), Kind().listType);
  } catch (const AutomationError&) {
    // Already listed as a child: the link exists.
  }
}

// ---- loads --------------------------------------------------------------------------------------

void ListCollectionCore::AppendLoadKey(const PersistentRecord& record, std::string& key) const {
  AsListRecord(const_cast<PersistentRecord&>(record)).AppendFullName(key);
}

void ListCollectionCore::BeginLoad(size_t expected) {
  if (!Kind().hierarchical()) return;
  if (!loading_) loading_ = std::make_shared<LoadedChildren>();
  loading_->Reserve(expected);
}

void ListCollectionCore::NoteLoaded(PersistentRecord& record, std::string_view key) {
  if (!loading_) return;
  std::string_view parent = AsListRecord(record).ParentFullName();
  if (!parent.empty()) {
    loading_->Add(parent, key, [this](std::string_view name) { return FindPosition(name); });
  }
}

// Links the members just loaded to their parents, from the links gathered while loading: the
// names wait in the parents until their Children are read.
void ListCollectionCore::FinishLoad() {
  if (!loading_) return;
  std::shared_ptr<LoadedChildren> loaded = std::move(loading_);
  loading_.reset();
  const size_t count = static_cast<size_t>(Count());
  loaded->Finish(count, [this](std::string_view parent) { return FindPosition(parent); });
  std::shared_ptr<const LoadedChildren> shared = loaded;
  size_t i = 0;
  for (auto at = MembersBegin(); at != MembersEnd(); ++at, ++i) {
    if (!shared->HasChildren(i)) continue;
    AsListRecord(**at).SetLoadedChildren(shared, static_cast<uint32_t>(i));
  }
}

void ListCollectionCore::FileNew(const std::shared_ptr<qcListObject>& record, bool linkToParent) {
  if (linkToParent) {
    CollectionCore::FileNew(record);
    return;
  }
  record->SetObjectState(qoObjectStateNew);
  File(record);
}

}  // namespace brennock
