#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "brennock/model/list_enums.h"
#include "brennock/model/object_enums.h"
#include "brennock/model/qc_errors.h"
#include "brennock/model/variant.h"

namespace brennock {

class xmlBldr;
class XmlNode;
class DataExtensionDefinition;

// The owner ID of the QuickBooks user's own custom fields; any other owner ID is an application's.
inline constexpr std::string_view kCustomFieldOwnerID = "0";

// One named extra field value on one record (or transaction line), for one owner. The value is
// kept in the representation of its data type; the type's empty value means "no value", and
// committing it deletes the value in QuickBooks.
class DataExtension {
 public:
  DataExtension(std::string name, qbEnumDataExtDataType dataType, std::string ownerID,
                qoEnumListObjectType ownerType);

  const std::string& Name() const noexcept { return name_; }
  qbEnumDataExtDataType DataType() const noexcept { return dataType_; }
  void SetDataType(qbEnumDataExtDataType value) noexcept { dataType_ = value; }
  const Variant& Value() const noexcept { return value_; }
  // Converts to the data type's representation after the change guard: custom fields need
  // qbXML 3.0 (1005), an unknown type raises 1003 "Unknown Data Type: <code>" (source "DataExt").
  void SetValue(const Variant& value);
  // Sets the value from its qbXML text.
  void SetValueAsString(std::string_view text);
  const std::string& ListOrTxnId() const noexcept { return listOrTxnId_; }
  void SetListOrTxnId(std::string value) { listOrTxnId_ = std::move(value); }
  const std::string& TxnLineId() const noexcept { return txnLineId_; }
  void SetTxnLineId(std::string value) { txnLineId_ = std::move(value); }
  qoEnumObjectState ObjectState() const noexcept { return objectState_; }
  void SetObjectState(qoEnumObjectState value) noexcept { objectState_ = value; }
  qcErrors& Errors() noexcept { return errors_; }
  const std::string& OwnerID() const noexcept { return ownerID_; }

  // Whether the value equals its type's empty value.
  bool HasEmptyValue() const;
  // The value as qbXML writes it.
  std::string ValueText() const;
  // Writes the add, modify or delete request of this value.
  void WriteRequest(xmlBldr& builder, int16_t requestId) const;

 private:
  Variant Converted(const Variant& value) const;
  void WriteOwnerBlock(xmlBldr& builder) const;

  std::string name_;
  qbEnumDataExtDataType dataType_;
  std::string ownerID_;
  qoEnumListObjectType ownerType_;
  Variant value_;
  std::string listOrTxnId_;
  std::string txnLineId_;
  qoEnumObjectState objectState_ = qoObjectStateNew;
  qcErrors errors_;
};

// The extension values of one record for one owner, keyed by name (letter case kept).
class DataExtensions {
 public:
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

  // A new value of that name with the given type (strings of up to 255 characters by default).
  std::shared_ptr<DataExtension> Add(const std::string& Name,
                                     qbEnumDataExtDataType DataType = qbDataExtTypeSTR255TYPE);
  // By 1-based position: a position that is not a member raises 2800 "Invalid data extension
  // index specified." (source "DataExt").
  std::shared_ptr<DataExtension> Item(int32_t index) const;
  // By name: a member, else a new value. Custom fields are created as strings; application fields
  // must be defined for the owner, else 2804 (source "DataExtensions").
  std::shared_ptr<DataExtension> Item(const std::string& key);
  bool ItemExists(const std::string& key) const noexcept;
  void Clear() { members_.clear(); }
  // Sends the add, modify or delete request of every new or dirty value; refused ones are filed
  // in Errors and the value's Errors. Returns the number of errors.
  int32_t Commit(const std::string& ListOrTxnId, const std::string& TxnLineId = {});

 private:
  bool IsAssignedToOwner(const DataExtensionDefinition& definition) const;

  std::vector<std::shared_ptr<DataExtension>> members_;
  std::string ownerID_;
  std::string listOrTxnId_;
  qoEnumListObjectType ownerType_ = static_cast<qoEnumListObjectType>(0);
  qcErrors errors_;
};

// Files the values of one DataExtRet element: owner "0" into customFields, any other owner into
// applicationFields (either may be null: those values are skipped). Each value read is clean.
void ReadDataExtRet(const XmlNode& dataExtRet, DataExtensions* customFields,
                    DataExtensions* applicationFields);

}  // namespace brennock
