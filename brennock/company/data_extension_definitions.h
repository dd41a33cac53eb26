#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "brennock/model/list_enums.h"
#include "brennock/model/object_enums.h"
#include "brennock/model/qc_errors.h"
#include "brennock/session/data_ext_definition_source.h"

namespace brennock {

class xmlBldr;
class XmlNode;

// The definition of one extra field: its name, type and the object types it is assigned to. It
// remembers the name and assignments it was read with, so a modify request can name the changes.
class DataExtensionDefinition {
 public:
  DataExtensionDefinition(std::string name, std::string ownerID,
                          qbEnumDataExtDataType dataType = qbDataExtTypeSTR255TYPE);

  const std::string& Name() const noexcept { return name_; }
  const std::string& OwnerId() const noexcept { return ownerID_; }
  qbEnumDataExtDataType DataType() const noexcept { return dataType_; }
  void SetDataType(qbEnumDataExtDataType value);
  // The object types the field is assigned to, in order.
  const std::vector<qoEnumListObjectType>& AssignedTos() const noexcept { return assignedTos_; }
  void AddAssignedTo(qoEnumListObjectType type);
  void RemoveAssignedTo(qoEnumListObjectType type);
  qoEnumObjectState ObjectState() const noexcept { return objectState_; }
  const std::string& CollectionKey() const noexcept { return name_; }
  qcErrors& Errors() noexcept { return errors_; }
  // Names are required and at most 31 characters (errors 1012 and 1013 on "Name").
  bool Validate();

  // Library-internal.
  void SetName(std::string value);
  void MarkClean();
  bool IsAssignedTo(qoEnumListObjectType type) const noexcept;
  void WriteAddRequest(xmlBldr& builder, int16_t requestId) const;
  void WriteModifyRequest(xmlBldr& builder, int16_t requestId) const;

 private:
  void Changed() noexcept;

  std::string name_;
  std::string ownerID_;
  qbEnumDataExtDataType dataType_;
  std::vector<qoEnumListObjectType> assignedTos_;
  std::string readName_;                               // the name as read
  std::vector<qoEnumListObjectType> readAssignedTos_;  // the assignments as read
  qoEnumObjectState objectState_ = qoObjectStateNew;
  qcErrors errors_;
};

// The field definitions of one owner ("0" for the QuickBooks custom fields, an application's GUID
// for its own fields), keyed by name. Changes go to QuickBooks through the master collection only.
class DataExtensionDefinitions : public DataExtDefinitionSource {
 public:
  DataExtensionDefinitions() = default;
  DataExtensionDefinitions(const DataExtensionDefinitions&) = delete;
  DataExtensionDefinitions& operator=(const DataExtensionDefinitions&) = delete;

  const std::string& OwnerId() const noexcept { return ownerID_; }
  void SetOwnerId(std::string value) { ownerID_ = std::move(value); }
  bool IsMaster() const noexcept { return master_; }
  void SetMaster(bool value) noexcept { master_ = value; }
  qcErrors& Errors() noexcept { return errors_; }
  int32_t Count() const noexcept { return static_cast<int32_t>(members_.size()); }

  // 1-based position (9 outside 1..Count) or name (5 when unknown).
  std::shared_ptr<DataExtensionDefinition> Item(int32_t index) const;
  std::shared_ptr<DataExtensionDefinition> Item(const std::string& key) const;
  // The member of that name, or null.
  std::shared_ptr<DataExtensionDefinition> Find(const std::string& key) const noexcept;
  bool ItemExists(const std::string& key) const noexcept { return Find(key) != nullptr; }
  void Remove(const std::string& key);
  void Clear() { members_.clear(); }

  std::shared_ptr<DataExtensionDefinition> Add(
      const std::string& Name, qbEnumDataExtDataType DataType = qbDataExtTypeSTR255TYPE);
  void Rename(DataExtensionDefinition& Definition, const std::string& NewName);
  // Deletes the definition in QuickBooks at once (1026 with QuickBooks' message on failure).
  void Delete(const std::string& Name, bool bRemove = true);
  // Replaces the members with QuickBooks' definitions of the owner (or assigned to the type).
  int32_t GetByOwner(const std::string& OwnerId);
  int32_t GetByAssignedToObject(qoEnumListObjectType AssignedToObject);
  int32_t GetAll();
  // Sends the add or modify request of every new or dirty definition (or of Member only).
  int32_t Commit(const std::shared_ptr<DataExtensionDefinition>& Member = nullptr);
  bool Validate();

  bool AnyApplicationFieldDefinition(
      const std::function<bool(AssignedTypes assignedTos)>& matches) const override;

 private:
  // Raises 2801/2802 below qbXML 3.0, where only application fields with a GUID can change.
  void RequireApplicationFields() const;
  int32_t Query(const std::string& ownerID, qoEnumListObjectType assignedTo);
  void ReadDefinition(const XmlNode& ret);

  std::vector<std::shared_ptr<DataExtensionDefinition>> members_;
  std::string ownerID_;
  bool master_ = false;
  qcErrors errors_;
};

}  // namespace brennock
