#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "brennock/model/field_table.h"
#include "brennock/model/loaded_children.h"
#include "brennock/model/qc_list_object.h"
#include "brennock/model/qc_list_object_ref.h"
#include "brennock/model/record_base.h"
#include "brennock/util/short_text.h"
#include "brennock/values/date.h"

namespace brennock {

class qcErrors;

// What distinguishes one kind of list record from another, as constant data: one object per
// record class, shared by all its records.
struct ListRecordKind {
  qoEnumListObjectType objectType;
  qoEnumListType listType;
  std::string_view className;      // source of 1002 from the change guard
  std::string_view stem;           // qbXML stem, also the name in "Brennock: " refusals
  std::string_view modifyRefusal;  // description of XMLModify's 1003; empty: writes nothing
  bool hierarchical;               // has a parent, children and a sublevel
  const FieldTable& (*fields)();   // the response elements the record reads
};

// The identity every list record shares (ListID, times, EditSequence, Name, the full name as
// received, IsActive, parent reference, Sublevel, Children) with its readers and writers, and the
// record protocol around it: FromDom through the kind's field table, Validate through CheckRules,
// the XMLModify refusal. A record class adds its own fields, its field table, its writers and its
// rules.
class ListRecordCore : public qcListObject, public RecordBase {
 public:
  // qcBase
  qoEnumListObjectType ObjectType() const override { return kind_->objectType; }
  Variant FromDom(const XmlNode& obj) override;
  // FromDom for a record element read straight from a response.
  void ReadElement(const FieldElement& element);
  // Refuses with 1003 and the kind's text (source "Brennock: " + stem); writes nothing and returns
  // 0 when the kind has no refusal text.
  int32_t XMLModify(xmlBldr& cxmlbldr) override;

  // qcListObject
  std::string ListID() const override { return listID_.str(); }
  std::string Name() const override { return name_; }
  std::string CollectionKey() const final { return FullName(); }
  std::shared_ptr<qcErrors> Errors() override { return ErrorList(); }
  bool SupportsChildren() const override { return kind_->hierarchical; }
  std::string Parent() const override;
  std::shared_ptr<qcListObjectRefs> Children() override;
  // Parent:Name under a parent, else Name.
  std::string FullName() const final;
  int16_t Sublevel() const override { return sublevel_; }
  qoEnumObjectState ObjectState() const override { return state_; }
  bool Validate() override;
  void SetName(const std::string& value) override { name_ = value; }
  void SetObjectState(qoEnumObjectState state) override { state_ = state; }

  bool IsActive() const noexcept { return isActive_; }
  Date TimeCreated() const noexcept { return timeCreated_; }
  Date TimeModified() const noexcept { return timeModified_; }
  qoEnumListType ListType() const noexcept { return kind_->listType; }

  // Library-internal setters (collections and responses).
  void SetIsActive(bool value) noexcept { isActive_ = value; }
  // Points the parent reference at that full name (a reference created with the record's list).
  void SetParentFullName(const std::string& value);
  // The parent's full name as Parent() gives it, without a copy.
  std::string_view ParentFullName() const noexcept {
    return parentRef_ ? parentRef_->FullNameView() : std::string_view();
  }
  // Appends FullName() to out (a collection's reused key buffer).
  void AppendFullName(std::string& out) const;
  // The children a query response gave this record, listed in Children when it is first read.
  void SetLoadedChildren(std::shared_ptr<const LoadedChildren> children, uint32_t slot) noexcept {
    loadedChildren_ = std::move(children);
    loadedSlot_ = slot;
  }
  void SetSublevel(int16_t value) noexcept { sublevel_ = value; }
  // The parent reference; null until the record has a parent.
  qcListObjectRef* ParentRef() noexcept { return parentRef_ ? &*parentRef_ : nullptr; }
  const ListRecordKind& Kind() const noexcept { return *kind_; }

  // Field table groups for record classes. Identity: ListID, TimeCreated, TimeModified,
  // EditSequence, Name, IsActive, UserData. Hierarchy: ParentRef, FullName, Sublevel.
  static constexpr std::array<FieldEntry, 7> IdentityFields() {
    return {{{"ListID", &ReadListID},
             {"TimeCreated", &ReadTimeCreated},
             {"TimeModified", &ReadTimeModified},
             {"EditSequence", &ReadEditSequence},
             {"Name", &ReadName},
             {"IsActive", &ReadIsActive},
             {"UserData", &ReadUserData}}};
  }
  static constexpr std::array<FieldEntry, 3> HierarchyFields() {
    return {{{"ParentRef", &ReadParentRef},
             {"FullName", &ReadStoredFullName},
             {"Sublevel", &ReadSublevel}}};
  }

 protected:
  explicit ListRecordCore(const ListRecordKind& kind) noexcept : kind_(&kind) {}
  ~ListRecordCore() override;

  const std::string& EditSequence() const noexcept { return editSequence_; }
  // The full name as QuickBooks last sent it.
  std::string_view StoredFullName() const noexcept { return storedFullName_; }

  // Adds one error per broken rule of the record type; called by Validate for records that are
  // not Clean.
  virtual void CheckRules(qcErrors& errors) = 0;
  // The shared rules: 1012 for an empty Name, 1013 for a Name of 32 or more characters.
  void CheckName(qcErrors& errors) const;
  // 1010 on "Parent" when the parent cannot be found in its master collection or in QuickBooks.
  void CheckParent(qcErrors& errors) const;
  void CheckModify(bool bNewOnly) { RecordBase::CheckModify(bNewOnly, kind_->className); }

  // Writers shared by the record classes.
  // ListID, TimeCreated, TimeModified (as dates), EditSequence: the head of a ...Ret element.
  void WriteRetIdentity(xmlBldr& builder) const;
  // UserData, when it holds a plain value.
  void WriteRetUserData(xmlBldr& builder) const;
  // Name, then IsActive as "1"/"0" (or "true"/"false" for lists whose Add takes that form).
  void WriteNameAndActive(xmlBldr& builder, bool responseForm) const;
  void WriteParentRef(xmlBldr& builder) const;

  ShortText listID_;  // ListIDs and two-level full names fit without an allocation
  std::string editSequence_;
  std::string name_;
  ShortText storedFullName_;
  Date timeCreated_;
  Date timeModified_;
  bool isActive_ = true;
  int16_t sublevel_ = 0;

 private:
  uint32_t loadedSlot_ =
      0;  // this record's place in loadedChildren_ (beside sublevel_: no padding)

  static void ReadListID(qcBase& record, const FieldElement& element);
  static void ReadTimeCreated(qcBase& record, const FieldElement& element);
  static void ReadTimeModified(qcBase& record, const FieldElement& element);
  static void ReadEditSequence(qcBase& record, const FieldElement& element);
  static void ReadName(qcBase& record, const FieldElement& element);
  static void ReadIsActive(qcBase& record, const FieldElement& element);
  static void ReadUserData(qcBase& record, const FieldElement& element);
  static void ReadParentRef(qcBase& record, const FieldElement& element);
  static void ReadStoredFullName(qcBase& record, const FieldElement& element);
  static void ReadSublevel(qcBase& record, const FieldElement& element);

  qcListObjectRef& MutableParentRef();

  const ListRecordKind* kind_;
  // Held in the record rather than on the heap: most records of a hierarchical list have a
  // parent, and a separate object each would cost an allocation per record loaded.
  std::optional<qcListObjectRef> parentRef_;
  std::shared_ptr<qcListObjectRefs> children_;
  // Until Children is first read: the load that found this record's children.
  std::shared_ptr<const LoadedChildren> loadedChildren_;
};

// The record a reader was given, as its own class.
template <class Record>
Record& RecordAs(qcBase& record) noexcept {
  return static_cast<Record&>(record);
}

}  // namespace brennock
