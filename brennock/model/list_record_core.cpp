#include "brennock/model/list_record_core.h"

#include "brennock/errors/collected_errors.h"
#include "brennock/errors/qc_errors.h"
#include "brennock/errors/raise.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/util/text.h"
#include "brennock/values/convert_dtypes.h"
#include "brennock/xml/xml_node.h"

namespace brennock {
namespace {

constexpr size_t kMaxNameLength = 31;

ListRecordCore& Core(qcBase& record) { return static_cast<ListRecordCore&>(record); }

}  // namespace

ListRecordCore::~ListRecordCore() = default;

// ---- rows of their own ------------------------------------------------------------------------

void ListRecordCore::ReadParentRef(qcBase& record, const FieldElement& element) {
  Core(record).MutableParentRef().FromDom(element);
}

void ListRecordCore::WriteParentRef(const qcBase& record, RequestWriter& builder,
                                    std::string_view element, uint16_t, BodyForm) {
  const auto& parent = static_cast<const ListRecordCore&>(record).parentRef_;
  WriteListRef(parent ? &*parent : nullptr, builder, element);
}

void ListRecordCore::ReadUserData(qcBase& record, const FieldElement& element) {
  Core(record).SetUserData(Variant(element.text()));
}

void ListRecordCore::WriteUserData(const qcBase& record, RequestWriter& builder,
                                   std::string_view element, uint16_t, BodyForm) {
  const Variant& data = static_cast<const ListRecordCore&>(record).UserData();
  if (data.IsEmpty() || data.IsObject()) return;
  builder.CreateElement(element, data.ToString());
}

Variant ListRecordCore::FromDom(const XmlNode& obj) {
  ElementTree tree(obj);
  ReadElement(tree.Root());
  return {};
}

void ListRecordCore::ReadElement(const FieldElement& element) {
  BeforeRead();
  kind_->bindings().Read(*this, element);
  state_ = qoObjectStateClean;
  changedRows_ = 0;
}

void ListRecordCore::MarkChanged(std::string_view element) {
  size_t row = kind_->bindings().IndexOf(element);
  if (row < 64) changedRows_ |= uint64_t{1} << row;
}

// ---- identity -----------------------------------------------------------------------------------

qcListObjectRef& ListRecordCore::MutableParentRef() {
  if (!parentRef_) {
    parentRef_.emplace();
    parentRef_->SetList(kind_->listType);
    parentRef_->SetIsParent(true);
  }
  return *parentRef_;
}

void ListRecordCore::SetParentFullName(const std::string& value) {
  if (value.empty() && !parentRef_) return;
  MutableParentRef().SetFullName(value);
}

std::string ListRecordCore::Parent() const { return parentRef_ ? parentRef_->FullName() : ""; }

void ListRecordCore::AppendFullName(std::string& out) const {
  if (parentRef_ && !parentRef_->FullNameView().empty()) {
    out += parentRef_->FullNameView();
    out += ':';
  }
  out += name_;
}

std::string ListRecordCore::FullName() const {
  if (!parentRef_ || parentRef_->FullNameView().empty()) return name_;
  std::string full;
  full.reserve(parentRef_->FullNameView().size() + 1 + name_.size());
  AppendFullName(full);
  return full;
}

std::shared_ptr<qcListObjectRefs> ListRecordCore::Children() {
  if (!children_) {
    children_ = std::make_shared<qcListObjectRefs>();
    if (loadedChildren_) {
      loadedChildren_->AppendTo(loadedSlot_, *children_, kind_->listType);
      loadedChildren_.reset();
    }
  }
  return children_;
}

// ---- validation ---------------------------------------------------------------------------------

bool ListRecordCore::Validate() {
  ClearErrorList();
  if (state_ == qoObjectStateClean) return true;
  CheckRules(*ErrorList());
  return ErrorListEmpty();
}

void ListRecordCore::CheckName(qcErrors& errors) const {
  if (name_.empty()) AddTableError(errors, errNameNull, "Name");
  if (Utf8Length(name_) > kMaxNameLength) AddTableError(errors, errNameTooLong, "Name");
}

void ListRecordCore::CheckParent(qcErrors& errors) const {
  std::string parent = Parent();
  if (parent.empty()) return;
  if (!ResolveListObject(kind_->listType, parent))
    AddTableError(errors, errInvalidParent, "Parent");
}

// ---- writers ------------------------------------------------------------------------------------

int32_t ListRecordCore::XMLInsert(xmlBldr& cxmlbldr) {
  kind_->bindings().Write(*this, cxmlbldr, BodyForm::kAdd);
  return 0;
}

int32_t ListRecordCore::XMLModify(xmlBldr& cxmlbldr) {
  if (!kind_->modifyRefusal.empty()) RaiseGeneral(kind_->stem, std::string(kind_->modifyRefusal));
  if (kind_->Has(kModChanges)) {
    kind_->bindings().WriteChanged(*this, cxmlbldr, changedRows_);
  } else {
    kind_->bindings().Write(*this, cxmlbldr, BodyForm::kMod);
  }
  return 0;
}

int32_t ListRecordCore::XMLQueryRs(xmlBldr& cxmlbldr) {
  kind_->bindings().Write(*this, cxmlbldr, BodyForm::kRet);
  return 0;
}

}  // namespace brennock
