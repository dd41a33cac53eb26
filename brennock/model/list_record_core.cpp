#include "brennock/internal/model/list_record_core.h"

#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/collected_errors.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/util/text.h"
#include "brennock/session/xml_bldr.h"
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

// ---- identity -----------------------------------------------------------------------------------

qcListObjectRef& ListRecordCore::MutableParentRef() {
  if (!parentRef_) {
    parentRef_.emplace();
    parentRef_->SetList(Kind().listType);
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
      loadedChildren_->AppendTo(loadedSlot_, *children_, Kind().listType);
      loadedChildren_.reset();
    }
  }
  return children_;
}

// ---- validation ---------------------------------------------------------------------------------

void ListRecordCore::CheckName(qcErrors& errors) const {
  if (name_.empty()) AddTableError(errors, errNameNull, "Name");
  if (Utf8Length(name_) > kMaxNameLength) AddTableError(errors, errNameTooLong, "Name");
}

void ListRecordCore::CheckParent(qcErrors& errors) const {
  std::string parent = Parent();
  if (parent.empty()) return;
  if (!ResolveListObject(Kind().listType, parent))
    AddTableError(errors, errInvalidParent, "Parent");
}

}  // namespace brennock
