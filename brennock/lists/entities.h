#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "brennock/enums/list_enums.h"
#include "brennock/enums/query_enums.h"
#include "brennock/internal/model/list_collection_core.h"
#include "brennock/values/date.h"

namespace brennock {

// What an entity query the session may only partly see reports: QuickBooks answers it with a
// warning and the records the session may see, which are kept.
inline constexpr std::string_view kMsgPartialPermission =
    "Insufficient permissions to fully perform requested operation. Only Customer and OtherNames "
    "returned.";

// Every kind of name at once (customers, vendors, employees, other names), read with one
// EntityQueryRq; each member is a record of its own class. It never writes records: a new member
// raises "Insert not allowed" and a changed one "Modify not allowed" (context "Entity").
class Entities final : public ListCollectionCore {
 public:
  Entities();

  // The member as the qcListObject of its own class (Vendor, Employee, OtherName ...).
  std::shared_ptr<qcListObject> Item(int32_t index) const { return ItemObject(index); }
  std::shared_ptr<qcListObject> Item(const std::string& key) const { return ItemObject(key); }
  std::shared_ptr<qcListObject> GetByFullName(const std::string& sFullName,
                                              const std::string& sMDBPath = {}) {
    return LookupByFullName(sFullName, sMDBPath);
  }
  std::shared_ptr<qcListObject> GetByListID(const std::string& sListID,
                                            const std::string& sMDBPath = {}) {
    return LookupByListID(sListID, sMDBPath);
  }

  // IncludeDataExtensions is the collection's, kept for clients that set it: EntityQueryRq takes
  // no OwnerID, so it changes no request.

  int32_t GetAll(int32_t MaxReturned = 0, const std::string& sMDBPath = {}) override;
  int32_t GetActive(int32_t MaxReturned = 0, const std::string& sMDBPath = {}) override;
  int32_t GetByNameRange(const std::string& FromName, const std::string& ToName,
                         int32_t MaxReturned = 0, const std::string& sMDBPath = {});
  int32_t GetByNameMatch(const std::string& MatchString,
                         qbEnumMatchType MatchType = qbMatchStartsWith, int32_t MaxReturned = 0,
                         const std::string& sMDBPath = {});
  int32_t GetByDateSpan(Date FromDate, Date ToDate, int32_t MaxReturned = 0,
                        const std::string& sMDBPath = {});
  // One query with one FullName (ListID) element per entry; an empty list raises 1019.
  int32_t GetByFullNames(const std::vector<std::string>& sFullNames,
                         const std::string& sMDBPath = {});
  int32_t GetByListIDs(const std::vector<std::string>& sListIDs, const std::string& sMDBPath = {});

  // ListDelRq of that kind of entity (master collection only).
  int32_t Delete(const std::string& ListID, qbEnumEntityType EntityType, bool bRemove = true);

  // Refuses new and changed members before anything is written.
  bool AddMemberRequest(PersistentRecord& obj, xmlBldr& builder, bool bQueryRs,
                        int32_t requestId) override;

 protected:
  // The record class of a return element; "Unknown Entity" (context "Entities") for any other.
  std::shared_ptr<ListRecordCore> NewListRecord(std::string_view element) override;

 private:
  // One EntityQueryRq with what writeFilters adds, sent; the records are loaded (or exported).
  // Failures go to Errors; a partly permitted answer keeps its records and files its text.
  int32_t Query(const std::string& sMDBPath, const FilterWriter& writeFilters);
  void WriteTail(xmlBldr& builder, int32_t MaxReturned) const;
};

}  // namespace brennock
