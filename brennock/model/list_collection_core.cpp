// Members, keys, parent links and validation of the list collections.
#include "brennock/model/list_collection_core.h"

#include "brennock/model/collected_errors.h"
#include "brennock/model/collection_support.h"
#include "brennock/model/list_record_core.h"
#include "brennock/model/qc_errors.h"
#include "brennock/model/qc_list_object.h"
#include "brennock/model/qc_list_object_ref.h"
#include "brennock/model/raise.h"
#include "brennock/session/xml_bldr.h"

namespace brennock {

size_t ListCollectionCore::KeyHash::operator()(const std::string& key) const noexcept {
  // FNV-1a over the key with ASCII letters folded, matching CollectionKeysEqual.
  uint64_t hash = 14695981039346656037ull;
  for (char c : key) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  }
  return static_cast<size_t>(hash);
}

bool ListCollectionCore::KeyEqual::operator()(const std::string& a,
                                              const std::string& b) const noexcept {
  return CollectionKeysEqual(a, b);
}

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
  return index_.find(key) != index_.end();
}

std::shared_ptr<qcListObject> ListCollectionCore::ItemObject(int32_t index) const {
  if (!ItemExists(index)) RaiseCollectionPositionOutOfRange(std::string(Stem()));
  return members_[static_cast<size_t>(index - 1)];
}

std::shared_ptr<qcListObject> ListCollectionCore::ItemObject(const std::string& key) const {
  auto it = index_.find(key);
  if (it == index_.end()) RaiseUnknownCollectionKey(std::string(Stem()));
  return members_[it->second];
}

void ListCollectionCore::File(std::shared_ptr<qcListObject> record) {
  std::string key = record->CollectionKey();
  if (!key.empty()) {
    auto [it, inserted] = index_.try_emplace(std::move(key), members_.size());
    if (!inserted) RaiseDuplicateCollectionKey(std::string(Stem()));
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
  for (auto it = index_.begin(); it != index_.end();) {
    if (it->second == position) {
      it = index_.erase(it);
      continue;
    }
    if (it->second > position) --it->second;
    ++it;
  }
}

void ListCollectionCore::Remove(int32_t index) {
  if (!ItemExists(index)) RaiseCollectionPositionOutOfRange(std::string(Stem()));
  RemoveAt(static_cast<size_t>(index - 1));
}

void ListCollectionCore::Remove(const std::string& key) {
  auto it = index_.find(key);
  if (it == index_.end()) RaiseUnknownCollectionKey(std::string(Stem()));
  RemoveAt(it->second);
}

void ListCollectionCore::EmptyMembers() {
  members_ = {};
  index_ = {};
}

void ListCollectionCore::Clear() { EmptyMembers(); }

void ListCollectionCore::AddObject(std::shared_ptr<qcListObject> obj) {
  if (obj) File(std::move(obj));
}

void ListCollectionCore::RequireMaster() const {
  if (!master_) RaiseError(errMasterOnly, Stem());
}

void ListCollectionCore::LinkToParent(qcListObject& record) {
  std::string parent = record.Parent();
  if (parent.empty()) return;
  auto it = index_.find(parent);
  if (it == index_.end()) return;
  try {
    members_[it->second]->Children()->Add(record.FullName(), kind_.listType);
  } catch (const AutomationError&) {
    // Already listed as a child: the link exists.
  }
}

void ListCollectionCore::FileNew(const std::shared_ptr<qcListObject>& record) {
  record->SetObjectState(qoObjectStateNew);
  File(record);
  LinkToParent(*record);
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
