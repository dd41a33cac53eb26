// Members, keys, parent links and validation of the list collections.
#include "brennock/model/list_collection_core.h"

#include "brennock/errors/collected_errors.h"
#include "brennock/errors/collection_support.h"
#include "brennock/errors/qc_errors.h"
#include "brennock/errors/raise.h"
#include "brennock/model/list_record_core.h"
#include "brennock/model/loaded_children.h"
#include "brennock/model/qc_list_object.h"
#include "brennock/model/qc_list_object_ref.h"
#include "brennock/session/xml_bldr.h"

namespace brennock {

ListCollectionCore::ListCollectionCore(const ListRecordKind& kind, RecordFactory create,
                                       bool hasModify)
    : kind_(kind), create_(create), hasModify_(hasModify), errors_(std::make_shared<qcErrors>()) {}

ListCollectionCore::~ListCollectionCore() = default;

qoEnumListType ListCollectionCore::ListType() const { return kind_.listType; }

std::string_view ListCollectionCore::Stem() const noexcept { return kind_.stem; }

xmlBldr& ListCollectionCore::Builder() {
  if (!builder_) builder_ = std::make_unique<xmlBldr>();
  return *builder_;
}

bool ListCollectionCore::ItemExists(int32_t index) const { return index >= 1 && index <= Count(); }

bool ListCollectionCore::ItemExists(const std::string& key) const {
  return index_.Find(key) != KeyIndex::npos;
}

std::shared_ptr<qcListObject> ListCollectionCore::ItemObject(int32_t index) const {
  if (!ItemExists(index)) RaiseCollectionPositionOutOfRange(std::string(Stem()));
  return members_[static_cast<size_t>(index - 1)];
}

std::shared_ptr<qcListObject> ListCollectionCore::ItemObject(const std::string& key) const {
  size_t position = index_.Find(key);
  if (position == KeyIndex::npos) RaiseUnknownCollectionKey(std::string(Stem()));
  return members_[position];
}

void ListCollectionCore::File(std::shared_ptr<qcListObject> record) {
  std::string key = record->CollectionKey();
  FileUnder(key, std::move(record));
}

void ListCollectionCore::FileUnder(std::string_view key, std::shared_ptr<qcListObject> record) {
  FileUnder(key, index_.PrepareInsert(key), std::move(record));
}

void ListCollectionCore::FileUnder(std::string_view key, uint64_t preparedHash,
                                   std::shared_ptr<qcListObject> record) {
  if (!key.empty()) {
    if (!index_.Insert(key, members_.size(), preparedHash)) {
      RaiseDuplicateCollectionKey(std::string(Stem()));
    }
  }
  members_.push_back(std::move(record));
}

size_t ListCollectionCore::PositionOf(const qcListObject& record) const {
  for (size_t i = 0; i < members_.size(); ++i) {
    if (members_[i].get() == &record) return i;
  }
  return std::string::npos;
}

void ListCollectionCore::RemoveAt(size_t position) {
  members_.erase(members_.begin() + static_cast<std::ptrdiff_t>(position));
  index_.ErasePosition(position);
}

void ListCollectionCore::Remove(int32_t index) {
  if (!ItemExists(index)) RaiseCollectionPositionOutOfRange(std::string(Stem()));
  RemoveAt(static_cast<size_t>(index - 1));
}

void ListCollectionCore::Remove(const std::string& key) {
  size_t position = index_.Find(key);
  if (position == KeyIndex::npos) RaiseUnknownCollectionKey(std::string(Stem()));
  RemoveAt(position);
}

void ListCollectionCore::EmptyMembers() {
  members_ = {};
  index_.Clear();
}

void ListCollectionCore::Clear() { EmptyMembers(); }

void ListCollectionCore::AddObject(std::shared_ptr<qcListObject> obj) {
  if (obj) File(std::move(obj));
}

void ListCollectionCore::AddExisting(std::shared_ptr<qcListObject> oNew) {
  if (master_) RaiseError(errNotOnMaster, Stem());
  if (oNew) File(std::move(oNew));
}

void ListCollectionCore::Fill(ListRecordCore& record, const std::string& name, bool active,
                              const std::string& parentFullName) {
  record.SetName(name);
  record.SetIsActive(active);
  record.SetParentFullName(parentFullName);
}

void ListCollectionCore::RequireMaster() const {
  if (!master_) RaiseError(errMasterOnly, Stem());
}

void ListCollectionCore::LinkToParent(qcListObject& record) {
  std::string parent = record.Parent();
  if (parent.empty()) return;
  size_t position = index_.Find(parent);
  if (position == KeyIndex::npos) return;
  std::shared_ptr<qcListObjectRefs> children = members_[position]->Children();
  try {
    children->Add(record.FullName(), kind_.listType);
  } catch (const AutomationError&) {
    // Already listed as a child: the link exists.
  }
}

void ListCollectionCore::LinkLoadedMembers(const std::shared_ptr<LoadedChildren>& loaded) {
  loaded->Finish(members_.size(), [this](std::string_view parent) { return index_.Find(parent); });
  std::shared_ptr<const LoadedChildren> shared = loaded;
  for (size_t i = 0; i < members_.size(); ++i) {
    if (!shared->HasChildren(i)) continue;
    // Every member was made by this collection's factory in the load just finished.
    static_cast<ListRecordCore&>(*members_[i]).SetLoadedChildren(shared, static_cast<uint32_t>(i));
  }
}

void ListCollectionCore::FileNew(const std::shared_ptr<qcListObject>& record, bool linkToParent) {
  record->SetObjectState(qoObjectStateNew);
  File(record);
  if (linkToParent) LinkToParent(*record);
}

bool ListCollectionCore::Validate() {
  errors_->Clear();
  bool valid = true;
  for (const auto& member : members_) {
    if (member->Validate()) continue;
    valid = false;
    AddTableError(*errors_, errValidateFailed, member->CollectionKey());
  }
  return valid;
}

}  // namespace brennock
