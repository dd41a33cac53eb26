#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "brennock/internal/model/binding.h"
#include "brennock/internal/model/codecs.h"
#include "brennock/internal/model/field_limits.h"
#include "brennock/internal/model/loaded_children.h"
#include "brennock/internal/model/record_core.h"
#include "brennock/internal/model/record_kind.h"
#include "brennock/internal/util/short_text.h"
#include "brennock/model/qc_list_object.h"
#include "brennock/model/qc_list_object_ref.h"
#include "brennock/values/date.h"

namespace brennock {

class qcErrors;

// The identity every list record shares (ListID, times, EditSequence, Name, the full name as
// received, IsActive, parent reference, Sublevel, Children) with its binding rows, on the record
// protocol of RecordCore. A record class adds its own rows, accessors and rules.
class ListRecordCore : public RecordCore<qcListObject> {
 public:
  // qcListObject
  std::string ListID() const override { return listID_.str(); }
  std::string ListOrTxnId() const override { return listID_.str(); }
  std::string Name() const override { return name_; }
  std::string CollectionKey() const final { return FullName(); }
  bool SupportsChildren() const override { return Kind().hierarchical(); }
  std::string Parent() const override;
  std::shared_ptr<qcListObjectRefs> Children() override;
  // Parent:Name under a parent, else Name.
  std::string FullName() const final;
  int16_t Sublevel() const override { return sublevel_; }
  void SetName(const std::string& value) override { name_ = value; }

  bool IsActive() const noexcept { return isActive_; }
  // QuickBooks' version stamp of the record, sent back with a Mod.
  const std::string& EditSequence() const noexcept { return editSequence_; }
  Date TimeCreated() const noexcept { return timeCreated_; }
  Date TimeModified() const noexcept { return timeModified_; }
  qoEnumListType ListType() const noexcept { return Kind().listType; }

  // The parent's full name as Parent() gives it, without a copy.
  std::string_view ParentFullName() const noexcept {
    return parentRef_ ? parentRef_->FullNameView() : std::string_view();
  }
  // Appends FullName() to out (a collection's reused key buffer).
  void AppendFullName(std::string& out) const;
  // The parent reference; null until the record has a parent.
  qcListObjectRef* ParentRef() noexcept { return parentRef_ ? &*parentRef_ : nullptr; }

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

 protected:
  explicit ListRecordCore(const RecordKind& kind) noexcept : RecordCore(kind) {}
  ~ListRecordCore() override;

  // The full name as QuickBooks last sent it.
  std::string_view StoredFullName() const noexcept { return storedFullName_; }

  // By default the name rules (CheckName).
  void CheckRules(qcErrors& errors) override { CheckName(errors); }
  // The shared rules: 1012 for an empty Name, 1013 for a Name of 32 or more characters.
  void CheckName(qcErrors& errors) const;
  // 1010 on "Parent" when the parent cannot be found in its master collection or in QuickBooks.
  void CheckParent(qcErrors& errors) const;
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

  uint32_t loadedSlot_ = 0;  // this record's place in loadedChildren_

  static void ReadParentRef(qcBase& record, const FieldElement& element);
  static void WriteParentRef(const qcBase& record, RequestWriter& builder, std::string_view element,
                             uint16_t flags, BodyForm form);

  qcListObjectRef& MutableParentRef();

  // Held in the record rather than on the heap: most records of a hierarchical list have a
  // parent, and a separate object each would cost an allocation per record loaded.
  std::optional<qcListObjectRef> parentRef_;
  std::shared_ptr<qcListObjectRefs> children_;
  // Until Children is first read: the load that found this record's children.
  std::shared_ptr<const LoadedChildren> loadedChildren_;
};

}  // namespace brennock
