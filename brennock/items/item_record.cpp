#include "brennock/internal/items/item_record.h"

#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/collected_errors.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/model/qc_list_object.h"
#include "brennock/values/convert_dtypes.h"

namespace brennock {

// ---- qcItem's list-record members
// ----------------------------------------------------------------

std::string qcItem::ListID() const { return ListObject().ListID(); }
std::string qcItem::Name() const { return ListObject().Name(); }
std::string qcItem::CollectionKey() const { return ListObject().CollectionKey(); }
std::shared_ptr<qcErrors> qcItem::Errors() { return ListObject().Errors(); }
qoEnumObjectState qcItem::ObjectState() const { return ListObject().ObjectState(); }
void qcItem::SetObjectState(qoEnumObjectState state) { ListObject().SetObjectState(state); }
std::string qcItem::Parent() const { return ListObject().Parent(); }
std::shared_ptr<qcListObjectRefs> qcItem::Children() { return ListObject().Children(); }
std::string qcItem::FullName() const { return ListObject().FullName(); }
int16_t qcItem::Sublevel() const { return ListObject().Sublevel(); }
bool qcItem::SupportsChildren() const { return ListObject().SupportsChildren(); }
int32_t qcItem::FromDom(const XmlNode& obj) {
  ListObject().FromDom(obj);
  return 0;
}
bool qcItem::Validate() { return ListObject().Validate(); }
void qcItem::SetName(const std::string& value) { ListObject().SetName(value); }

// ---- the shared record
// -----------------------------------------------------------------------------

bool UsEditionSession() { return !Session().nonUSEdition; }
bool NonUsEditionSession() { return Session().nonUSEdition; }

void ItemRecord::ReadDataExt(qcBase& record, const FieldElement& element) {
  auto& item = static_cast<ItemRecord&>(record);
  item.ReadDataExtRetOf(element, item.ObjectType());
}

void ItemRecord::CountSublevel() {
  std::string_view parent = ParentFullName();
  int16_t segments = parent.empty() ? 0 : 1;
  for (char c : parent) segments = static_cast<int16_t>(segments + (c == ':' ? 1 : 0));
  sublevel_ = segments;
}

void ItemRecord::Guard(SetterCheck check, Currency version) {
  switch (check) {
    case SetterCheck::kDirty:
      CheckModify(false);
      return;
    case SetterCheck::kNewOnly:
      CheckModify(true);
      return;
    case SetterCheck::kMinVersion:
      if (state_ == qoObjectStateNew) return;
      if (SessionQbxmlVersion() < version) RaiseError(errFieldNotModifiable, Kind().className);
      state_ = qoObjectStateDirty;
      return;
    case SetterCheck::kGated:
      if (state_ == qoObjectStateNew) return;
      if (SessionQbxmlVersion() < version) RaiseLibraryError(errVersionNotSupported);
      state_ = qoObjectStateDirty;
      return;
  }
}

void ItemRecord::RequireNonUS() {
  if (!Session().nonUSEdition)
    RaiseError(errEditionOnly, kLibrarySource, std::string(kMsgNonUSOnly));
}

void ItemRecord::CheckParentKind(qcErrors& errors) const {
  std::string parent = Parent();
  if (parent.empty()) return;
  auto item = std::dynamic_pointer_cast<qcItem>(ResolveListObject(qoListItems, parent));
  if (item && item->ItemType() != ItemType()) AddTableError(errors, errParentItemType, "Parent");
}

void ItemRecord::CheckSetRef(qcErrors& errors, const qcListObjectRef& ref, ErrorCode code,
                             std::string_view field) {
  if (!ref.IsEmpty() && !ResolveListObject(ref.List(), ref.FullName()))
    AddTableError(errors, code, field);
}

void ItemRecord::CheckRequiredRef(qcErrors& errors, const qcListObjectRef& ref, ErrorCode code,
                                  std::string_view field) {
  if (!ResolveListObject(ref.List(), ref.FullName())) AddTableError(errors, code, field);
}

}  // namespace brennock
