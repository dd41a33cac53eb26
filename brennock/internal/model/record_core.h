#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <utility>

#include "brennock/internal/model/binding.h"
#include "brennock/internal/model/change_set.h"
#include "brennock/internal/model/codecs.h"
#include "brennock/internal/model/persistent_record.h"
#include "brennock/internal/model/record_base.h"
#include "brennock/internal/model/record_kind.h"
#include "brennock/model/qc_list_object.h"
#include "brennock/model/qc_list_object_ref.h"

namespace brennock {

class qcErrors;

// The record protocol every list record and transaction shares, on the interface its family
// implements (qcListObject or PersistentRecord): FromDom, XMLInsert, XMLModify and XMLQueryRs
// through the kind's binding rows, Validate through CheckRules, the state (with the aggregates'
// own changes), the change guard and change tracking. A record class adds its rows, accessors and
// rules; ListRecordCore and TxnRecordCore add each family's identity.
template <class Interface>
class RecordCore : public Interface, public RecordBase {
 public:
  // qcBase
  qoEnumListObjectType ObjectType() const override { return kind_->objectType; }
  Variant FromDom(const XmlNode& obj) override;
  // The rows bound into the Add request, in order.
  int32_t XMLInsert(xmlBldr& cxmlbldr) override;
  // Refuses with 1003 and the kind's text (source "Brennock: " + stem); else the rows of the Mod
  // request: those changed (kModChanges kinds) or all of them.
  int32_t XMLModify(xmlBldr& cxmlbldr) override;
  // The rows of the query-result form, in response order.
  int32_t XMLQueryRs(xmlBldr& cxmlbldr) override;

  // PersistentRecord
  std::shared_ptr<qcErrors> Errors() override { return ErrorList(); }
  qoEnumObjectState ObjectState() const override;
  bool Validate() override;
  void SetObjectState(qoEnumObjectState state) override;
  // The custom and application fields the client changed, when the record carries any.
  int32_t SavePendingExtensions() override;

  // FromDom for a record element read straight from a response.
  void ReadElement(const FieldElement& element) override;
  const RecordKind& Kind() const noexcept { return *kind_; }

  // The client's UserData, kept in the query-result form of a record (not a qbXML element).
  static constexpr std::array<Binding<qcBase>, 1> UserDataRow() {
    return {{{"UserData", kInRet | kNotInSchema, &ReadUserData, &WriteUserData}}};
  }

 protected:
  explicit RecordCore(const RecordKind& kind) noexcept : kind_(&kind) {}
  ~RecordCore() override = default;

  // Called before a response element is read into the record: a record that holds repeated
  // aggregates (lines) empties them here, so a reload does not add to what it held.
  virtual void BeforeRead() {}
  // Called once a response element was read (totals a record keeps beside its fields).
  virtual void AfterRead() {}
  // Adds one error per broken rule of the record type; called by Validate for records that are
  // not Clean.
  virtual void CheckRules(qcErrors& /*errors*/) {}

  // The change guard every public setter calls before it stores a value, in the family's form.
  // Lists: an ordinary field makes a saved record Dirty; an add-only field (bNewOnly) raises 1002
  // "Field cannot be modified" on a saved record. Transactions: a saved record raises 1002 for
  // bNewOnly only in sessions of qbXML 2.0 or lower, and becomes Dirty above.
  void CheckModify(bool bNewOnly);

  // The one setter idiom: the change guard, the value, and the row of the element noted as
  // changed (so a Mod carries it, also when emptied).
  template <class T, class V>
  void Change(T& member, V&& value, std::string_view element) {
    CheckModify(kind_->transaction());
    member = std::forward<V>(value);
    MarkChanged(element);
  }
  // The same for a list reference, set by full name.
  void ChangeRef(qcListObjectRef& ref, const std::string& fullName, std::string_view element) {
    CheckModify(kind_->transaction());
    ref.SetFullName(fullName);
    MarkChanged(element);
  }
  // A field QuickBooks takes only on Add (lists raise 1002 on a saved record and keep the value).
  template <class T, class V>
  void Assign(T& member, V&& value, bool addOnly) {
    CheckModify(addOnly);
    member = std::forward<V>(value);
  }
  void MarkChanged(std::string_view element);
  const ChangeSet& Changes() const noexcept { return changes_; }
  // Forgets what changed (defaults a new record took are no change of the client's).
  void ClearChanges() noexcept { changes_.Clear(); }
  const qcBase& Self() const noexcept { return *this; }
  qcBase& Self() noexcept { return *this; }

 private:
  static void ReadUserData(qcBase& record, const FieldElement& element);
  static void WriteUserData(const qcBase& record, RequestWriter& builder, std::string_view element,
                            uint16_t flags, BodyForm form);

  const RecordKind* kind_;
  ChangeSet changes_;
};

extern template class RecordCore<qcListObject>;
extern template class RecordCore<PersistentRecord>;

// The record a reader was given, as its own class.
template <class Record>
Record& RecordAs(qcBase& record) noexcept {
  return static_cast<Record&>(record);
}

}  // namespace brennock
