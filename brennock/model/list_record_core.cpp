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

// Copies the element's text straight into the member: no temporary string per field, and a short
// value stays in the member's own buffer.
template <class Text>
void AssignText(Text& member, const FieldElement& element) {
  std::string scratch;
  member.assign(element.TextView(scratch));
}

}  // namespace

ListRecordCore::~ListRecordCore() = default;

// ---- readers ------------------------------------------------------------------------------------

void ListRecordCore::ReadListID(qcBase& record, const FieldElement& element) {
  AssignText(Core(record).listID_, element);
}

void ListRecordCore::ReadTimeCreated(qcBase& record, const FieldElement& element) {
  std::string scratch;
  Core(record).timeCreated_ = ModConvertDtypes::TextToDate(element.TextView(scratch));
}

void ListRecordCore::ReadTimeModified(qcBase& record, const FieldElement& element) {
  std::string scratch;
  Core(record).timeModified_ = ModConvertDtypes::TextToDate(element.TextView(scratch));
}

void ListRecordCore::ReadEditSequence(qcBase& record, const FieldElement& element) {
  AssignText(Core(record).editSequence_, element);
}

void ListRecordCore::ReadName(qcBase& record, const FieldElement& element) {
  AssignText(Core(record).name_, element);
}

void ListRecordCore::ReadIsActive(qcBase& record, const FieldElement& element) {
  std::string scratch;
  Core(record).isActive_ = ModConvertDtypes::TextToBool(element.TextView(scratch));
}

void ListRecordCore::ReadUserData(qcBase& record, const FieldElement& element) {
  Core(record).SetUserData(Variant(element.text()));
}

void ListRecordCore::ReadParentRef(qcBase& record, const FieldElement& element) {
  Core(record).MutableParentRef().FromDom(element);
}

void ListRecordCore::ReadStoredFullName(qcBase& record, const FieldElement& element) {
  AssignText(Core(record).storedFullName_, element);
}

void ListRecordCore::ReadSublevel(qcBase& record, const FieldElement& element) {
  std::string scratch;
  Core(record).sublevel_ = ModConvertDtypes::TextToInt16(element.TextView(scratch));
}

Variant ListRecordCore::FromDom(const XmlNode& obj) {
  ElementTree tree(obj);
  ReadElement(tree.Root());
  return {};
}

void ListRecordCore::ReadElement(const FieldElement& element) {
  ReadFields(*this, element, kind_->fields());
  state_ = qoObjectStateClean;
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

int32_t ListRecordCore::XMLModify(xmlBldr& /*cxmlbldr*/) {
  if (kind_->modifyRefusal.empty()) return 0;
  RaiseGeneral(kind_->stem, std::string(kind_->modifyRefusal));
}

void ListRecordCore::WriteRetIdentity(xmlBldr& builder) const {
  builder.CreateElement("ListID", listID_);
  builder.CreateElement("TimeCreated", ModConvertDtypes::DateToText(timeCreated_));
  builder.CreateElement("TimeModified", ModConvertDtypes::DateToText(timeModified_));
  builder.CreateElement("EditSequence", editSequence_);
}

void ListRecordCore::WriteRetUserData(xmlBldr& builder) const {
  const Variant& data = UserData();
  if (data.IsEmpty() || data.IsObject()) return;
  builder.CreateElement("UserData", data.ToString());
}

void ListRecordCore::WriteNameAndActive(xmlBldr& builder, bool responseForm) const {
  builder.CreateElement("Name", name_);
  builder.CreateElement("IsActive", responseForm ? ModConvertDtypes::BoolToResponseText(isActive_)
                                                 : ModConvertDtypes::BoolToRequestText(isActive_));
}

void ListRecordCore::WriteParentRef(xmlBldr& builder) const {
  WriteListRef(parentRef_ ? &*parentRef_ : nullptr, builder, "ParentRef");
}

}  // namespace brennock
