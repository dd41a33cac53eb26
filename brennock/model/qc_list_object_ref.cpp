#include "brennock/model/qc_list_object_ref.h"

#include "brennock/enums/enumerations.h"
#include "brennock/internal/errors/collection_support.h"
#include "brennock/internal/model/field_table.h"
#include "brennock/internal/model/master_list.h"
#include "brennock/internal/session/session_state.h"
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

}  // namespace

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

qcListObjectRef::qcListObjectRef(qoEnumListType list, std::string fullName, std::string listID)
    : list_(list) {
  // Records construct many empty references, which a new ShortText already is.
  if (!listID.empty()) listID_.assign(listID);
  if (!fullName.empty()) fullName_.assign(fullName);
}

qcListObjectRef::Extras& qcListObjectRef::MutableExtras() {
  if (!extras_) extras_ = std::make_unique<Extras>();
  return *extras_;
}

const Variant& qcListObjectRef::UserData() const noexcept {
  static const Variant kEmpty;
  return extras_ ? extras_->userData : kEmpty;
}

void qcListObjectRef::SetUserData(Variant value) { MutableExtras().userData = std::move(value); }

std::shared_ptr<qcListObject> qcListObjectRef::Object() {
  if (fullName_.empty()) return nullptr;
  if (extras_) {
    if (auto cached = extras_->cached.lock()) return cached;
  }
  std::shared_ptr<qcListObject> found = ResolveListObject(list_, fullName_.str());
  MutableExtras().cached = found;
  return found;
}

void qcListObjectRef::SetListID(std::string value) {
  listID_.assign(value);
  ForgetObject();
}

void qcListObjectRef::SetFullName(std::string value) {
  fullName_.assign(value);
  ForgetObject();
  if (fullName_.empty()) listID_.assign({});
}

void qcListObjectRef::FromDom(const XmlNode& element) {
  ElementTree tree(element);
  FromDom(tree.Root());
}

void qcListObjectRef::FromDom(const FieldElement& element) {
  // The texts are assigned in place, without a temporary string each.
  std::string scratch;
  for (FieldElement child : element.Children()) {
    // The name as written matches for the usual unprefixed element; a prefixed one is compared
    // by its local name.
    std::string_view name = child.nodeName();
    if (name != "ListID" && name != "FullName") name = child.baseName();
    if (name == "ListID") {
      listID_.assign(child.TextView(scratch));
      ForgetObject();
    } else if (name == "FullName") {
      // Read as received: an empty FullName element must not wipe a ListID read before it.
      fullName_.assign(child.TextView(scratch));
      ForgetObject();
    }
  }
}

int32_t qcListObjectRef::WriteXml(xmlBldr& builder, std::string_view elementName) {
  std::string element;
  if (!elementName.empty()) {
    element = elementName;
  } else if (isParent_) {
    element = "ParentRef";
    if (auto parent = Object()) listID_.assign(parent->ListID());
  } else {
    element = ListTypeKey(list_) + "Ref";
  }
  if (!listID_.empty()) {
    WriteRefElement(builder, element, "ListID", listID_);
  } else if (!fullName_.empty()) {
    WriteRefElement(builder, element, "FullName", fullName_);
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
