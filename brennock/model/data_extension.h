#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "brennock/enums/list_enums.h"
#include "brennock/enums/object_enums.h"
#include "brennock/errors/qc_errors.h"
#include "brennock/internal/model/record_base.h"
#include "brennock/model/qc_base.h"
#include "brennock/values/variant.h"

namespace brennock {

class xmlBldr;
class XmlNode;
class FieldElement;
struct DataExtDefinitionFacts;
template <class Owner>
class BindingTable;

// The owner ID of the QuickBooks user's own custom fields; any other owner ID is an application's.
inline constexpr std::string_view kCustomFieldOwnerID = "0";

// One named extra field value on one record (or transaction line), for one owner. The value is
// kept in the representation of its data type; the type's empty value means "no value", and
// committing it deletes the value in QuickBooks.
//
// Every change runs one guard (source "DataExt"): custom fields need qbXML 3.0 (1005); below 3.0
// a saved value cannot be moved to another record or line (1002, see SetListOrTxnId); otherwise a
// new value stays new and a saved one becomes dirty.
class DataExtension : public qcBase, public RecordBase {
 public:
  DataExtension(std::string name, qbEnumDataExtDataType dataType, std::string ownerID,
                qoEnumListObjectType ownerType);
  ~DataExtension() override;

  const std::string& Name() const noexcept { return name_; }
  qbEnumDataExtDataType DataType() const noexcept { return dataType_; }
  // Converts the current value to the new type; an unknown type raises 1003 "Unknown Data Type:
  // <code>" and a value the new type cannot hold raises the conversion error, both unchanged.
  void SetDataType(qbEnumDataExtDataType value);
  const Variant& Value() const noexcept { return value_; }
  // Converts to the data type's representation (a price through its text); an unknown type raises
  // 1003 "Unknown Data Type: <code>" (source "Brennock: DataExt").
  void SetValue(const Variant& value);
  // Sets the value from its qbXML text.
  void SetValueAsString(std::string_view text);
  const std::string& ListOrTxnId() const noexcept { return listOrTxnId_; }
  // The record (or transaction) the value belongs to, and the transaction line. Together with
  // Name and the owner ID they say which value in QuickBooks this is: below qbXML 3.0 a saved
  // value whose ID is set cannot be given another one (1002 "Field cannot be modified"); filling
  // an empty ID, or setting the same one again, is no replacement.
  void SetListOrTxnId(std::string value);
  const std::string& TxnLineId() const noexcept { return txnLineId_; }
  void SetTxnLineId(std::string value);
  qoEnumObjectState ObjectState() const noexcept { return state_; }
  void SetObjectState(qoEnumObjectState value) noexcept { state_ = value; }
  qcErrors& Errors() { return *ErrorList(); }
  const std::string& OwnerID() const noexcept { return ownerID_; }
  qoEnumListObjectType OwnerType() const noexcept { return ownerType_; }

  // qcBase: the inner fields of DataExtAdd, DataExtMod (or DataExtDel for an empty value) and
  // DataExtRet; FromDom reads a DataExtRet element (owner, name, type, value) and leaves the value
  // clean.
  int32_t XMLInsert(xmlBldr& cxmlbldr) override;
  int32_t XMLQueryRs(xmlBldr& cxmlbldr) override;
  int32_t XMLModify(xmlBldr& cxmlbldr) override;
  qoEnumListObjectType ObjectType() const override { return qoObjectTypeDataExt; }
  Variant FromDom(const XmlNode& obj) override;

  // Checks a new or changed value before it is sent: a known data type, and texts within the
  // 255 or 1024 characters of their type. Fills Errors; a clean value is valid.
  bool Validate();

  // Library-internal.
  // Whether the value equals its type's empty value.
  bool HasEmptyValue() const;
  // The value as qbXML writes it.
  std::string ValueText() const;
  // Writes the whole add, modify or delete request of this value.
  void WriteRequest(xmlBldr& builder, int32_t requestId) const;
  // The children of a DataExtRet element, read in one pass; the views point into the tree (or
  // into scratch) and live as long as both.
  struct RetFields {
    std::string_view ownerID, name, type, value;
    bool hasType = false, hasValue = false;
    std::string scratch[4];
    void Read(const FieldElement& ret);
  };
  // Owner, name, type and value as QuickBooks sent them, without the change guard; clean after.
  void Load(const RetFields& fields);
  // Raises what loading fields with a type and a value would raise (an unknown type, a value its
  // type cannot hold), changing nothing.
  static void CheckRet(const RetFields& fields);
  void ClearErrors() { ClearErrorList(); }

  // The fields of DataExtAdd, DataExtMod (also the form of a delete) and DataExtRet, in order.
  static const BindingTable<DataExtension>& Bindings();

 private:
  friend class DataExtensions;

  void Load(qbEnumDataExtDataType dataType, std::string_view text);
  Variant Converted(const Variant& value, qbEnumDataExtDataType type) const;
  static Variant FromText(std::string_view text, qbEnumDataExtDataType type);
  // The change guard; replacesIdentity when the change gives a saved value another owner record.
  void CheckChange(bool replacesIdentity);

  std::string name_;
  std::string ownerID_;
  std::string listOrTxnId_;
  std::string txnLineId_;
  Variant value_;
  qbEnumDataExtDataType dataType_;
  qoEnumListObjectType ownerType_;
};

// The extension values of one record for one owner, keyed by name (compared without regard to
// letter case, as QuickBooks compares them).
class DataExtensions {
 public:
  using Members = std::vector<std::shared_ptr<DataExtension>>;
  using const_iterator = Members::const_iterator;

  DataExtensions() = default;
  DataExtensions(const DataExtensions&) = delete;
  DataExtensions& operator=(const DataExtensions&) = delete;

  void SetOwnerType(qoEnumListObjectType value) noexcept { ownerType_ = value; }
  qoEnumListObjectType OwnerType() const noexcept { return ownerType_; }
  void SetOwnerId(std::string value) { ownerID_ = std::move(value); }
  const std::string& OwnerId() const noexcept { return ownerID_; }
  const std::string& ListOrTxnId() const noexcept { return listOrTxnId_; }
  void SetListOrTxnId(std::string value) { listOrTxnId_ = std::move(value); }
  qcErrors& Errors() noexcept { return errors_; }
  int32_t Count() const noexcept { return static_cast<int32_t>(members_.size()); }
  // Dirty when any member is dirty, else new when any member is new, else clean (also when
  // empty).
  qoEnumObjectState ObjectState() const noexcept;

  // A new value of that name with the given type (strings of up to 255 characters by default).
  std::shared_ptr<DataExtension> Add(const std::string& Name,
                                     qbEnumDataExtDataType DataType = qbDataExtTypeSTR255TYPE);
  // By 1-based position: a position that is not a member raises 2800 "Invalid data extension
  // index specified." (source "DataExt").
  std::shared_ptr<DataExtension> Item(int32_t index) const;
  // By name: a member, else a new value typed by the company's definition of that name. An
  // application field needs a definition; a custom field without one is a string. A definition
  // that is not assigned to the owner's object type (for items: or to items in general) raises
  // 2804 (source "DataExtensions").
  std::shared_ptr<DataExtension> Item(const std::string& key);
  bool ItemExists(const std::string& key) const noexcept { return Find(key) != nullptr; }
  void Clear() noexcept { members_.clear(); }
  // A snapshot of the members, safe to walk while the collection changes.
  Members NewEnum() const { return members_; }
  const_iterator begin() const noexcept { return members_.begin(); }
  const_iterator end() const noexcept { return members_.end(); }

  // Sends the add, modify or delete request of every new or dirty value, after giving each the
  // IDs (which the collection also keeps); new values still empty are left out; refused ones are
  // filed in Errors and the value's Errors. With the error mode on, refusals raise 1023 (source
  // "DataExt") and a failed send its own error. Returns the number of errors.
  int32_t Commit(const std::string& ListOrTxnId, const std::string& TxnLineId = {});
  // Replaces the members with the owner's values as QuickBooks holds them now: the owner record
  // (ListOrTxnId; the company needs none) is queried with this collection's owner ID. Without an
  // ID raises 1031. A refused query is filed in Errors (1001) and keeps the members. Returns Count.
  // Transaction line values are not read: they belong to the line's collection.
  int32_t GetAll();
  // Clears Errors; adds 1011 on the member's name for each member that fails its Validate.
  bool Validate();

  // Library-internal: files a DataExtRet element's value into the member of its name (made with
  // the element's type when absent, even where no definition is known here), clean; the
  // collection takes the element's owner ID when it has none yet.
  void LoadRet(const DataExtension::RetFields& fields);

 private:
  bool IsAssignedToOwner(const DataExtDefinitionFacts& definition) const;
  DataExtension* Find(std::string_view key) const noexcept;

  Members members_;
  std::string ownerID_;
  std::string listOrTxnId_;
  qoEnumListObjectType ownerType_ = static_cast<qoEnumListObjectType>(0);
  qcErrors errors_;
};

// Answers the collection that takes the values of an owner ID, or null to skip them.
using DataExtTargetFor = std::function<DataExtensions*(const std::string& ownerID)>;

// The shared parser of DataExtRet elements: the value named in the element is taken from the
// target collection (created there with the element's type when absent) and set from the text,
// clean. Elements without a DataExtValue, and owners without a target, are skipped.
void ReadDataExtRet(const XmlNode& dataExtRet, const DataExtTargetFor& targetFor);
void ReadDataExtRet(const FieldElement& dataExtRet, const DataExtTargetFor& targetFor);
// Owner "0" into customFields, any other owner into applicationFields (either may be null).
void ReadDataExtRet(const XmlNode& dataExtRet, DataExtensions* customFields,
                    DataExtensions* applicationFields);

}  // namespace brennock
