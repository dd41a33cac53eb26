#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "brennock/company/data_ext_assigned_tos.h"
#include "brennock/enums/list_enums.h"
#include "brennock/enums/object_enums.h"
#include "brennock/errors/qc_errors.h"
#include "brennock/internal/session/data_ext_definition_source.h"

namespace brennock {

class xmlBldr;
class XmlDocument;
template <class Owner>
class BindingTable;

// The definition of one extra field: its name, type and the object types it is assigned to. It
// remembers the name and assignments it was read with, so a modify request can name the changes.
class DataExtensionDefinition {
 public:
  DataExtensionDefinition(std::string name, std::string ownerID,
                          qbEnumDataExtDataType dataType = qbDataExtTypeSTR255TYPE);
  ~DataExtensionDefinition();
  // The assignment list points back at its definition.
  DataExtensionDefinition(const DataExtensionDefinition&) = delete;
  DataExtensionDefinition& operator=(const DataExtensionDefinition&) = delete;

  const std::string& Name() const noexcept { return name_; }
  const std::string& OwnerId() const noexcept { return ownerID_; }
  qbEnumDataExtDataType DataType() const noexcept { return dataType_; }
  void SetDataType(qbEnumDataExtDataType value);
  // The object types the field is assigned to, in order.
  std::shared_ptr<dataExtAssignedTos> AssignedTos() const noexcept { return assignedTos_; }
  // Shorthands for AssignedTos()->Add(type) and the removal of that type (nothing when absent).
  void AddAssignedTo(qoEnumListObjectType type) { assignedTos_->Add(type); }
  void RemoveAssignedTo(qoEnumListObjectType type);
  qoEnumObjectState ObjectState() const noexcept { return objectState_; }
  const std::string& CollectionKey() const noexcept { return name_; }
  qcErrors& Errors() noexcept { return errors_; }
  // Names are required and at most 31 characters (errors 1012 and 1013 on "Name").
  bool Validate();

  // Library-internal.
  void SetName(std::string value);
  void MarkClean();
  // Name, type and assignments of the definition QuickBooks answered a save with.
  void TakeSavedFields(const DataExtensionDefinition& saved);
  bool IsAssignedTo(qoEnumListObjectType type) const noexcept {
    return assignedTos_->Contains(type);
  }
  void WriteAddRequest(xmlBldr& builder, int32_t requestId) const;
  void WriteModifyRequest(xmlBldr& builder, int32_t requestId) const;

  // The fields of DataExtDefAdd and DataExtDefMod, in order. A modify names the definition as it
  // was read and carries only the changes: a new name, the types added and those removed.
  static const BindingTable<DataExtensionDefinition>& Bindings();

 private:
  friend class dataExtAssignedTos;
  void Changed() noexcept;

  std::string name_;
  std::string ownerID_;
  qbEnumDataExtDataType dataType_;
  qoEnumObjectState objectState_ = qoObjectStateNew;
  std::shared_ptr<dataExtAssignedTos> assignedTos_;
  std::string readName_;                               // the name as read
  std::vector<qoEnumListObjectType> readAssignedTos_;  // the assignments as read
  qcErrors errors_;
};

// The field definitions of one owner ("0" for the QuickBooks custom fields, an application's GUID
// for its own fields), keyed by name. Changes go to QuickBooks through the master collection only.
class DataExtensionDefinitions : public DataExtDefinitionSource {
 public:
  using Members = std::vector<std::shared_ptr<DataExtensionDefinition>>;
  using const_iterator = Members::const_iterator;

  DataExtensionDefinitions();
  ~DataExtensionDefinitions() override;
  DataExtensionDefinitions(const DataExtensionDefinitions&) = delete;
  DataExtensionDefinitions& operator=(const DataExtensionDefinitions&) = delete;

  const std::string& OwnerId() const noexcept { return ownerID_; }
  void SetOwnerId(std::string value) { ownerID_ = std::move(value); }
  bool IsMaster() const noexcept { return master_; }
  void SetMaster(bool value) noexcept { master_ = value; }
  qcErrors& Errors() noexcept { return errors_; }
  int32_t Count() const noexcept { return static_cast<int32_t>(members_.size()); }

  // 1-based position (9 outside 1..Count) or name (5 when unknown); names compare without regard
  // to letter case.
  std::shared_ptr<DataExtensionDefinition> Item(int32_t index) const;
  std::shared_ptr<DataExtensionDefinition> Item(const std::string& key) const;
  // The member of that name, or null.
  std::shared_ptr<DataExtensionDefinition> Find(const std::string& key) const noexcept;
  bool ItemExists(const std::string& key) const noexcept { return Find(key) != nullptr; }
  // Removes from the collection only (nothing is sent); 9 or 5 as Item.
  void Remove(int32_t index);
  void Remove(const std::string& key);
  void Clear() noexcept { members_.clear(); }
  // A snapshot of the members, safe to walk while the collection changes.
  Members NewEnum() const { return members_; }
  const_iterator begin() const noexcept { return members_.begin(); }
  const_iterator end() const noexcept { return members_.end(); }

  // A new definition of the collection's owner; 457 when the name is taken.
  std::shared_ptr<DataExtensionDefinition> Add(
      const std::string& Name, qbEnumDataExtDataType DataType = qbDataExtTypeSTR255TYPE);
  // Files the definition again under its new name (last position); sent at the next Commit.
  void Rename(DataExtensionDefinition& Definition, const std::string& NewName);
  // Deletes the definition in QuickBooks at once (1026 with QuickBooks' message on failure).
  void Delete(const std::string& Name, bool bRemove = true);

  // Replaces the members with QuickBooks' definitions: of OwnerId when given, else of those
  // assigned to AssignedToObject when given, else every definition. With sMDBPath the response
  // goes to the database export (table "DataExtDef") instead. A refused or failed query is filed
  // in Errors. Returns Count.
  int32_t GetBy(std::optional<qoEnumListObjectType> AssignedToObject = std::nullopt,
                const std::optional<std::string>& OwnerId = std::nullopt,
                const std::string& sMDBPath = {});
  int32_t GetByOwner(const std::string& OwnerId, const std::string& sMDBPath = {});
  int32_t GetByAssignedToObject(qoEnumListObjectType AssignedToObject,
                                const std::string& sMDBPath = {});
  int32_t GetAll(const std::string& sMDBPath = {});

  // Sends the add or modify request of every new or dirty definition (or of Member only); refused
  // ones are filed in Errors and the member's Errors. Returns Errors.Count.
  int32_t Commit(const std::shared_ptr<DataExtensionDefinition>& Member = nullptr);
  int32_t Commit2() { return Commit(); }
  // Clears Errors; 1011 on the member's name for each member that fails its own Validate.
  bool Validate();

  // Writes the add request of every definition into a file container at FilePath.
  void SaveToXml(const std::string& FilePath);
  // Replaces the members with the definitions of such a file (also a saved query response);
  // they are clean, as read from QuickBooks. A missing or malformed file raises 1003 and leaves
  // the collection as it was.
  void LoadFromXml(const std::string& FilePath);

  bool AnyApplicationFieldDefinition(
      const std::function<bool(AssignedTypes assignedTos)>& matches) const override;

 private:
  // Raises 2801/2802 below qbXML 3.0, where only application fields with a GUID can change.
  void RequireApplicationFields() const;
  xmlBldr& Builder();
  // 1-based position of the member, 0 when it is not one.
  int32_t PositionOf(const DataExtensionDefinition& definition) const noexcept;
  void FileCommitResponses(const XmlDocument& response,
                           const std::vector<std::pair<int32_t, DataExtensionDefinition*>>& sent);
  void ExportResponse(const XmlDocument& response, const std::string& sMDBPath);

  Members members_;
  std::string ownerID_;
  bool master_ = false;
  std::unique_ptr<xmlBldr> builder_;  // created on first use
  qcErrors errors_;
};

}  // namespace brennock
