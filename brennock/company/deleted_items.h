#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "brennock/enums/object_enums.h"
#include "brennock/errors/qc_errors.h"
#include "brennock/values/date.h"

namespace brennock {

class XmlNode;

// A list record or transaction QuickBooks deleted.
class DeletedItem {
 public:
  qoEnumListObjectType DeletedObjectType() const noexcept { return deletedObjectType_; }
  const std::string& ListOrTxnId() const noexcept { return listOrTxnId_; }
  Date TimeCreated() const noexcept { return timeCreated_; }
  Date TimeDeleted() const noexcept { return timeDeleted_; }
  // The record's full name, or the transaction's reference number.
  const std::string& FullNameOrRefNumber() const noexcept { return fullNameOrRefNumber_; }

  // Library-internal: fills the item from a ListDeletedRet or TxnDeletedRet element.
  void FromDom(const XmlNode& element);

 private:
  friend struct DeletedItemRows;
  qoEnumListObjectType deletedObjectType_ = static_cast<qoEnumListObjectType>(0);
  std::string listOrTxnId_;
  Date timeCreated_;
  Date timeDeleted_;
  std::string fullNameOrRefNumber_;
};

// The records deleted in a date span, asked of QuickBooks with ListDeletedQueryRq and
// TxnDeletedQueryRq. Keyed by ListOrTxnId.
class DeletedItems {
 public:
  using Members = std::vector<std::shared_ptr<DeletedItem>>;

  // 1-based position (9 outside 1..Count) or ListOrTxnId (5 when unknown).
  std::shared_ptr<DeletedItem> Item(int32_t index) const;
  std::shared_ptr<DeletedItem> Item(const std::string& key) const;
  bool ItemExists(const std::string& key) const noexcept;
  int32_t Count() const noexcept { return static_cast<int32_t>(members_.size()); }
  Members NewEnum() const { return members_; }
  Members::const_iterator begin() const noexcept { return members_.begin(); }
  Members::const_iterator end() const noexcept { return members_.end(); }
  void Clear() noexcept { members_.clear(); }
  qcErrors& Errors() noexcept { return errors_; }

  // Records of ObjectType (every list and transaction kind when not given) deleted between the
  // dates (a zero date leaves that end open). A failed query is filed in Errors. Returns Count.
  int32_t GetByDateSpan(Date FromDate, Date ToDate,
                        std::optional<qoEnumListObjectType> ObjectType = std::nullopt);
  int32_t GetAll(std::optional<qoEnumListObjectType> ObjectType = std::nullopt) {
    return GetByDateSpan(Date(), Date(), ObjectType);
  }

 private:
  Members members_;
  qcErrors errors_;
};

}  // namespace brennock
