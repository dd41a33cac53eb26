#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "brennock/model/binding.h"
#include "brennock/model/codecs.h"
#include "brennock/model/field_limits.h"
#include "brennock/model/list_kind.h"
#include "brennock/model/loaded_children.h"
#include "brennock/model/qc_list_object.h"
#include "brennock/model/qc_list_object_ref.h"
#include "brennock/model/record_base.h"
#include "brennock/util/short_text.h"
#include "brennock/values/date.h"

namespace brennock {

class qcErrors;

// The identity every list record shares (ListID, times, EditSequence, Name, the full name as
// received, IsActive, parent reference, Sublevel, Children) with its binding rows, and the record
// protocol around it: FromDom, XMLInsert, XMLModify and XMLQueryRs through the kind's bindings,
// Validate through CheckRules, the XMLModify refusal. A record class adds its own rows, accessors
// and rules.
class ListRecordCore : public qcListObject, public RecordBase {
 public:
  // qcBase
  qoEnumListObjectType ObjectType() const override { return kind_->objectType; }
  Variant FromDom(const XmlNode& obj) override;
  // FromDom for a record element read straight from a response.
  void ReadElement(const FieldElement& element);
  // The rows bound into the Add request, in order.
  int32_t XMLInsert(xmlBldr& cxmlbldr) override;
  // Refuses with 1003 and the kind's text (source "Brennock: " + stem); without a refusal text,
  // the rows bound into the Mod request (none: nothing is written).
  int32_t XMLModify(xmlBldr& cxmlbldr) override;
  // The rows of the query-result form, in response order.
  int32_t XMLQueryRs(xmlBldr& cxmlbldr) override;

  // qcListObject
  std::string ListID() const override { return listID_.str(); }
  std::string Name() const override { return name_; }
  std::string CollectionKey() const final { return FullName(); }
  std::shared_ptr<qcErrors> Errors() override { return ErrorList(); }
  bool SupportsChildren() const override { return kind_->hierarchical(); }
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
  // QuickBooks' version stamp of the record, sent back with a Mod.
  const std::string& EditSequence() const noexcept { return editSequence_; }
  Date TimeCreated() const noexcept { return timeCreated_; }
  Date TimeModified() const noexcept { return timeModified_; }
  qoEnumListType ListType() const noexcept { return kind_->listType; }

  // The parent's full name as Parent() gives it, without a copy.
  std::string_view ParentFullName() const noexcept {
    return parentRef_ ? parentRef_->FullNameView() : std::string_view();
  }
  // Appends FullName() to out (a collection's reused key buffer).
  void AppendFullName(std::string& out) const;
  // The parent reference; null until the record has a parent.
  qcListObjectRef* ParentRef() noexcept { return parentRef_ ? &*parentRef_ : nullptr; }
  const ListRecordKind& Kind() const noexcept { return *kind_; }

  // Binding rows shared by the record classes, in schema order. The head of every ...Ret:
  // ListID, TimeCreated, TimeModified, EditSequence.
  static constexpr std::array<Binding<qcBase>, 4> RetHeadRows() {
    return {{Bind<&ListRecordCore::listID_, codecs::Text>("ListID", kInRet),
             Bind<&ListRecordCore::timeCreated_, codecs::Stamp>("TimeCreated", kInRet),
             Bind<&ListRecordCore::timeModified_, codecs::Stamp>("TimeModified", kInRet),
             Bind<&ListRecordCore::editSequence_, codecs::Text>("EditSequence", kInRet)}};
  }
  // The same with ListID and EditSequence in the Mod request too.
  static constexpr std::array<Binding<qcBase>, 4> ModHeadRows() {
    constexpr uint16_t kIdentity = kInMod | kInRet | kModAlways;
    return {{Bind<&ListRecordCore::listID_, codecs::Text>("ListID", kIdentity), RetHeadRows()[1],
             RetHeadRows()[2],
             Bind<&ListRecordCore::editSequence_, codecs::Text>("EditSequence", kIdentity)}};
  }
  // Name (or the key field that stands for it, such as Initial) in Add and Ret.
  static constexpr std::array<Binding<qcBase>, 1> NameRow(std::string_view element = "Name",
                                                          uint16_t flags = kInAdd | kInRet) {
    return {{Bind<&ListRecordCore::name_, codecs::Text>(element, flags)}};
  }
  // IsActive, by default in Add and Ret (kWordsInRequests for lists whose Add takes
  // "true"/"false").
  static constexpr std::array<Binding<qcBase>, 1> ActiveRow(uint16_t flags = kInAdd | kInRet) {
    return {{Bind<&ListRecordCore::isActive_, codecs::Bool>("IsActive", flags)}};
  }
  // The hierarchy of a hierarchical list: Name, FullName, IsActive, ParentRef, Sublevel.
  static constexpr std::array<Binding<qcBase>, 5> HierarchyRows() {
    return {{NameRow()[0],
             Bind<&ListRecordCore::storedFullName_, codecs::Text>("FullName", kInRet),
             ActiveRow()[0],
             {"ParentRef", kInAdd | kInRet, &ReadParentRef, &WriteParentRef},
             Bind<&ListRecordCore::sublevel_, codecs::Int16>("Sublevel", kInRet)}};
  }
  // The client's UserData, kept in the query-result form of a record (not a qbXML element).
  static constexpr std::array<Binding<qcBase>, 1> UserDataRow() {
    return {{{"UserData", kInRet | kNotInSchema, &ReadUserData, &WriteUserData}}};
  }

 protected:
  explicit ListRecordCore(const ListRecordKind& kind) noexcept : kind_(&kind) {}
  ~ListRecordCore() override;

  // The full name as QuickBooks last sent it.
  std::string_view StoredFullName() const noexcept { return storedFullName_; }

  // Called before a response element is read into the record: a record that holds repeated
  // aggregates (lines) empties them here, so a reload does not add to what it held.
  virtual void BeforeRead() {}
  // Adds one error per broken rule of the record type; called by Validate for records that are
  // not Clean. By default the name rules (CheckName).
  virtual void CheckRules(qcErrors& errors) { CheckName(errors); }
  // The shared rules: 1012 for an empty Name, 1013 for a Name of 32 or more characters.
  void CheckName(qcErrors& errors) const;
  // 1010 on "Parent" when the parent cannot be found in its master collection or in QuickBooks.
  void CheckParent(qcErrors& errors) const;
  void CheckModify(bool bNewOnly) { RecordBase::CheckModify(bNewOnly, kind_->className); }

  // Stores a value through a public setter: the change guard first (an add-only field raises 1002
  // on a saved record and keeps its value).
  template <class T, class V>
  void Assign(T& member, V&& value, bool addOnly) {
    CheckModify(addOnly);
    member = std::forward<V>(value);
  }
  // The same for a field the Mod request carries, noting that its element changed (lists flagged
  // kModChanges send only those).
  template <class T, class V>
  void Change(T& member, V&& value, std::string_view element) {
    CheckModify(false);
    member = std::forward<V>(value);
    MarkChanged(element);
  }
  void MarkChanged(std::string_view element);

  ShortText listID_;  // ListIDs and two-level full names fit without an allocation
  std::string editSequence_;
  std::string name_;
  ShortText storedFullName_;
  Date timeCreated_;
  Date timeModified_;
  bool isActive_ = true;
  int16_t sublevel_ = 0;

 private:
  // Collections fill what clients cannot set: the active flag and parent of a record they add, the
  // children a load found.
  friend class ListCollectionCore;
  void SetIsActive(bool value) noexcept { isActive_ = value; }
  // Points the parent reference at that full name (a reference created with the record's list).
  void SetParentFullName(const std::string& value);
  // The children a query response gave this record, listed in Children when it is first read.
  void SetLoadedChildren(std::shared_ptr<const LoadedChildren> children, uint32_t slot) noexcept {
    loadedChildren_ = std::move(children);
    loadedSlot_ = slot;
  }

  uint32_t loadedSlot_ =
      0;  // this record's place in loadedChildren_ (beside sublevel_: no padding)
  // The rows changed since the record was read or saved (bit i for row i of the kind's bindings).
  uint64_t changedRows_ = 0;

  static void ReadParentRef(qcBase& record, const FieldElement& element);
  static void WriteParentRef(const qcBase& record, RequestWriter& builder, std::string_view element,
                             uint16_t flags, BodyForm form);
  static void ReadUserData(qcBase& record, const FieldElement& element);
  static void WriteUserData(const qcBase& record, RequestWriter& builder, std::string_view element,
                            uint16_t flags, BodyForm form);

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
