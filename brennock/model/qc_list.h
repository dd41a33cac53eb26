#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "brennock/enums/object_enums.h"

namespace brennock {

class qcErrors;
class qcListObject;
class xmlBldr;

// Every list collection (Classes, Customers, Accounts ...). The members that a typed collection
// redeclares with its own record type (Item, GetByFullName, GetByListID) are plain functions here
// that forward to protected virtual ones, so `Classes::Item` can hand out a `Class` while code that
// only knows the list sees a qcListObject.
class qcList {
 public:
  virtual ~qcList() = default;

  virtual qoEnumListType ListType() const = 0;
  // By 1-based position or by full name (letter case ignored); unknown keys raise.
  std::shared_ptr<qcListObject> Item(int32_t index) const { return ItemObject(index); }
  std::shared_ptr<qcListObject> Item(const std::string& key) const { return ItemObject(key); }
  virtual std::shared_ptr<qcErrors> Errors() = 0;
  virtual bool ItemExists(int32_t index) const = 0;
  virtual bool ItemExists(const std::string& key) const = 0;
  virtual int32_t Count() const = 0;
  virtual void Remove(int32_t index) = 0;
  virtual void Remove(const std::string& key) = 0;
  virtual void Clear() = 0;
  // Saves the new (and, where the list allows it, changed) members; returns the error count.
  virtual int32_t Commit(std::shared_ptr<qcListObject> Member = nullptr) = 0;
  virtual bool Validate() = 0;
  virtual int32_t GetActive(int32_t MaxReturned = 0, const std::string& sMDBPath = {}) = 0;
  virtual int32_t GetAll(int32_t MaxReturned = 0, const std::string& sMDBPath = {}) = 0;
  std::shared_ptr<qcListObject> GetByFullName(const std::string& sFullName,
                                              const std::string& sMDBPath = {}) {
    return LookupByFullName(sFullName, sMDBPath);
  }
  std::shared_ptr<qcListObject> GetByListID(const std::string& sListID,
                                            const std::string& sMDBPath = {}) {
    return LookupByListID(sListID, sMDBPath);
  }

  // Library-internal.
  // Appends a record loaded elsewhere under its CollectionKey.
  virtual void AddObject(std::shared_ptr<qcListObject> obj) = 0;
  // One request per member (a ...QueryRs element each when bQueryRs); true when any was written.
  virtual bool AddRequests(xmlBldr& builder, bool bQueryRs) = 0;
  // The request of one member with that requestID; false when the member needs none.
  virtual bool AddRequest(qcListObject& obj, xmlBldr& builder, bool bQueryRs,
                          int32_t requestId) = 0;

 protected:
  virtual std::shared_ptr<qcListObject> ItemObject(int32_t index) const = 0;
  virtual std::shared_ptr<qcListObject> ItemObject(const std::string& key) const = 0;
  virtual std::shared_ptr<qcListObject> LookupByFullName(const std::string& sFullName,
                                                         const std::string& sMDBPath) = 0;
  virtual std::shared_ptr<qcListObject> LookupByListID(const std::string& sListID,
                                                       const std::string& sMDBPath) = 0;
};

}  // namespace brennock
