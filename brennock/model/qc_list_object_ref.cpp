#include "brennock/model/qc_list_object_ref.h"

#include <array>
#include <cstring>

#include "brennock/enums/enumerations.h"
#include "brennock/internal/errors/collection_support.h"
#include "brennock/internal/model/field_table.h"
#include "brennock/internal/model/master_list.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/internal/util/slab_allocator.h"
#include "brennock/model/lists_registry.h"
#include "brennock/model/qc_list.h"
#include "brennock/model/qc_list_object.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/xml/xml_node.h"

namespace brennock {
namespace {

constexpr std::string_view kRefsSource = "qcListObjectRefs";
constexpr size_t kLinearSearchLimit = 8;

void WriteRefElement(RequestWriter& builder, std::string_view elementName, std::string_view child,
                     std::string_view value) {
  builder.OpenAggregateOnly(elementName);
  builder.CreateElement(child, value);
  builder.EndAggregate(elementName);
}

// A hash of a reference's two texts from their lengths and their first and last eight bytes, which
// tell apart the ListIDs QuickBooks makes and the names of one list.
uint64_t Word(std::string_view text, bool last) noexcept {
  uint64_t word = 0;
  if (text.size() >= 8) {
    std::memcpy(&word, text.data() + (last ? text.size() - 8 : 0), 8);
  } else {
    for (size_t i = 0; i < text.size(); ++i)
      word |= uint64_t{static_cast<unsigned char>(text[i])} << (8 * i);
  }
  return word;
}

uint64_t TextsHash(std::string_view listID, std::string_view fullName) noexcept {
  constexpr uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
  uint64_t hash = (Word(listID, false) ^ (listID.size() << 56)) * kMultiplier;
  hash ^= Word(listID, true) + (hash >> 29);
  hash = (hash ^ Word(fullName, false) ^ (fullName.size() << 48)) * kMultiplier;
  hash = (hash ^ Word(fullName, true)) * kMultiplier;
  return hash ^ (hash >> 32);
}

}  // namespace

// The blocks of the latest references read, by their texts' hash. One slot per hash: a record's
// one-off reference (its customer) now and then takes the slot of a repeated one, which costs the
// next such reference a block of its own, never a wrong share.
struct qcListObjectRef::SharedTexts::Recent {
  static constexpr size_t kSlots = 512;
  struct Slot {
    Data* data = nullptr;  // one holder count is the slot's
    uint64_t hash = 0;
  };
  std::array<Slot, kSlots> slots{};
};

namespace {
thread_local qcListObjectRef::SharedTexts::Recent* tRecent = nullptr;
}  // namespace

qcListObjectRef::SharedTexts::SharedTexts() {
  if (tRecent != nullptr) return;
  recent_ = std::make_unique<Recent>();
  tRecent = recent_.get();
}

qcListObjectRef::SharedTexts::~SharedTexts() {
  if (!recent_) return;
  tRecent = nullptr;
  for (Recent::Slot& slot : recent_->slots) {
    if (slot.data != nullptr) DataDeleter()(slot.data);
  }
}

std::string ListTypeKey(qoEnumListType list) {
  return ThreadEnumerations()
      ->Item(qoeListType)
      ->ItemByCode(static_cast<int16_t>(list))
      ->CollectionKey();
}

std::shared_ptr<qcListObject> ResolveListObject(qoEnumListType list, const std::string& fullName) {
  if (fullName.empty()) return nullptr;
  std::shared_ptr<qcList> master = MasterList(list);
  if (!master) return nullptr;
  if (master->ItemExists(fullName)) return master->Item(fullName);
  return master->GetByFullName(fullName);
}

bool qcListObjectRef::Store(ShortText Data::*text, std::string_view value) {
  if (value.empty() && !data_) return false;
  (MutableData().*text).assign(value);
  ForgetObject();
  return true;
}

void qcListObjectRef::DataDeleter::operator()(Data* data) const noexcept {
  if (--data->holders == 0) SlabDelete(data);
}

qcListObjectRef::Data& qcListObjectRef::MutableData() {
  if (!data_) {
    data_.reset(SlabNew<Data>());
  } else if (data_->holders != 1) {
    Data* own = SlabNew<Data>();
    own->listID.assign(data_->listID.view());
    own->fullName.assign(data_->fullName.view());
    if (data_->extras) own->extras = std::make_unique<Extras>(*data_->extras);
    data_.reset(own);
  }
  return *data_;
}

qcListObjectRef::Extras& qcListObjectRef::MutableExtras() {
  Data& data = MutableData();
  if (!data.extras) data.extras = std::make_unique<Extras>();
  return *data.extras;
}

const Variant& qcListObjectRef::UserData() const noexcept {
  static const Variant kEmpty;
  return data_ && data_->extras ? data_->extras->userData : kEmpty;
}

void qcListObjectRef::SetUserData(Variant value) { MutableExtras().userData = std::move(value); }

std::shared_ptr<qcListObject> qcListObjectRef::Object() {
  if (FullNameView().empty()) return nullptr;
  if (data_->extras) {
    if (auto cached = data_->extras->cached.lock()) return cached;
  }
  std::shared_ptr<qcListObject> found = ResolveListObject(list_, FullName());
  MutableExtras().cached = found;
  return found;
}

void qcListObjectRef::SetListID(std::string value) { Store(&Data::listID, value); }

void qcListObjectRef::SetFullName(std::string value) {
  if (Store(&Data::fullName, value) && value.empty()) data_->listID.assign({});
}

void qcListObjectRef::FromDom(const XmlNode& element) {
  ElementTree tree(element);
  FromDom(tree.Root());
}

void qcListObjectRef::FromDom(const FieldElement& element) {
  // The last of each child counts; the texts are views, copied once into their block.
  std::string listScratch, nameScratch;
  std::string_view listID, fullName;
  bool hasListID = false, hasFullName = false;
  for (FieldElement child : element.Children()) {
    // The name as written matches for the usual unprefixed element; a prefixed one is compared
    // by its local name.
    std::string_view name = child.nodeName();
    if (name != "ListID" && name != "FullName") name = child.baseName();
    if (name == "ListID") {
      listID = child.TextView(listScratch);
      hasListID = true;
    } else if (name == "FullName") {
      fullName = child.TextView(nameScratch);
      hasFullName = true;
    }
  }
  if (!data_ && tRecent != nullptr && !(listID.empty() && fullName.empty())) {
    ShareRecent(listID, fullName);
    return;
  }
  if (hasListID) Store(&Data::listID, listID);
  // Read as received: an empty FullName element must not wipe a ListID read before it.
  if (hasFullName) Store(&Data::fullName, fullName);
}

void qcListObjectRef::ShareRecent(std::string_view listID, std::string_view fullName) {
  const uint64_t hash = TextsHash(listID, fullName);
  SharedTexts::Recent::Slot& slot = tRecent->slots[hash % SharedTexts::Recent::kSlots];
  Data* data = slot.data;
  if (data == nullptr || slot.hash != hash || data->listID.view() != listID ||
      data->fullName.view() != fullName) {
    data = SlabNew<Data>();
    data->listID.assign(listID);
    data->fullName.assign(fullName);
    if (slot.data != nullptr) DataDeleter()(slot.data);
    slot.data = data;
    slot.hash = hash;
  }
  ++data->holders;
  data_.reset(data);
}

int32_t qcListObjectRef::WriteXml(xmlBldr& builder, std::string_view elementName) {
  std::string element;
  if (!elementName.empty()) {
    element = elementName;
  } else if (isParent_) {
    element = "ParentRef";
    if (auto parent = Object()) MutableData().listID.assign(parent->ListID());
  } else {
    element = ListTypeKey(list_) + "Ref";
  }
  if (!ListIDView().empty()) {
    WriteRefElement(builder, element, "ListID", ListIDView());
  } else if (!FullNameView().empty()) {
    WriteRefElement(builder, element, "FullName", FullNameView());
  }
  return 0;
}

void WriteListRef(const qcListObjectRef* ref, RequestWriter& builder, std::string_view elementName,
                  bool forceFullName, Currency minVersion) {
  if (ref == nullptr || Session().qbxmlVersionNumber < minVersion) return;
  if (!ref->FullNameView().empty() || forceFullName) {
    WriteRefElement(builder, elementName, "FullName", ref->FullNameView());
  } else if (!ref->ListIDView().empty()) {
    WriteRefElement(builder, elementName, "ListID", ref->ListIDView());
  }
}

// ---- qcListObjectRefs ---------------------------------------------------------------------------

size_t qcListObjectRefs::PositionOf(const std::string& key) const {
  if (!index_ && refs_.size() > kLinearSearchLimit) {
    index_ = std::make_unique<KeyIndex>();
    index_->Reserve(refs_.size());
    for (size_t i = 0; i < refs_.size(); ++i) index_->Insert(refs_[i]->FullName(), i);
  }
  if (index_) return index_->Find(key);
  for (size_t i = 0; i < refs_.size(); ++i) {
    if (CollectionKeysEqual(refs_[i]->FullName(), key)) return i;
  }
  return std::string::npos;
}

std::shared_ptr<qcListObjectRef> qcListObjectRefs::Add(const std::string& FullName,
                                                       qoEnumListType ListType,
                                                       const std::string& ListID) {
  if (PositionOf(FullName) != std::string::npos)
    RaiseDuplicateCollectionKey(std::string(kRefsSource));
  auto ref = std::make_shared<qcListObjectRef>(ListType, FullName, ListID);
  if (index_) index_->Insert(FullName, refs_.size());
  refs_.push_back(ref);
  return ref;
}

void qcListObjectRefs::AppendUnique(std::string FullName, qoEnumListType ListType) {
  if (index_) index_->Insert(FullName, refs_.size());
  refs_.push_back(std::make_shared<qcListObjectRef>(ListType, std::move(FullName)));
}

bool qcListObjectRefs::ItemExists(int32_t index) const noexcept {
  return index >= 1 && index <= Count();
}

bool qcListObjectRefs::ItemExists(const std::string& key) const noexcept {
  return PositionOf(key) != std::string::npos;
}

std::shared_ptr<qcListObjectRef> qcListObjectRefs::Item(int32_t index) const {
  if (!ItemExists(index)) RaiseCollectionPositionOutOfRange(std::string(kRefsSource));
  return refs_[static_cast<size_t>(index - 1)];
}

std::shared_ptr<qcListObjectRef> qcListObjectRefs::Item(const std::string& key) const {
  size_t position = PositionOf(key);
  if (position == std::string::npos) RaiseUnknownCollectionKey(std::string(kRefsSource));
  return refs_[position];
}

void qcListObjectRefs::Clear() {
  refs_.clear();
  index_.reset();
}

std::shared_ptr<qcListObject> qcListObjectRefs::Object(int32_t index) const {
  return Item(index)->Object();
}

std::shared_ptr<qcListObject> qcListObjectRefs::Object(const std::string& key) const {
  return Item(key)->Object();
}

void qcListObjectRefs::Remove(int32_t index) {
  if (!ItemExists(index)) RaiseCollectionPositionOutOfRange(std::string(kRefsSource));
  refs_.erase(refs_.begin() + (index - 1));
  if (index_) index_->ErasePosition(static_cast<size_t>(index - 1));
}

void qcListObjectRefs::Remove(const std::string& key) {
  size_t position = PositionOf(key);
  if (position == std::string::npos) RaiseUnknownCollectionKey(std::string(kRefsSource));
  refs_.erase(refs_.begin() + static_cast<std::ptrdiff_t>(position));
  if (index_) index_->ErasePosition(position);
}

}  // namespace brennock
