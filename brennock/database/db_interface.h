#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "brennock/values/variant.h"

namespace brennock {

class XmlDocument;

// The database export's own entry object (creatable): exports with a progress offset and reports
// a cancel, and keeps pending updates that are exported together later.
class DBInterface {
 public:
  bool DatabaseRecursiveUpdates() const { return recursiveUpdates_; }
  void SetDatabaseRecursiveUpdates(bool value) { recursiveUpdates_ = value; }

  // Exports the first response of oDomDoc into TableName of MDBPath as UpdateDatabase does;
  // TotalRecs and CurrentRec give the progress total and the offset of the first record.
  // bCancelRet tells whether a RecordProcessed2 handler cancelled.
  void SendOutputToDB(const XmlDocument& oDomDoc, const std::string& MDBPath,
                      const std::string& TableName, int32_t TotalRecs, int32_t CurrentRec,
                      bool& bCancelRet);

  // Six empty lists of pending updates when DatabaseRecursiveUpdates is on: customers, vendors,
  // employees, other names, accounts and items, by ListID.
  void DynUpdateInit();
  // Queues a record for DynProcessUpdates; list is 0..5 in the order above. Ignored before
  // DynUpdateInit.
  void AddPendingUpdate(int list, const std::string& ListID);
  // Queries every pending record and exports it into its table of MDBPath in update mode, then
  // empties the lists. Returns the number of records exported.
  int32_t DynProcessUpdates(const std::string& MDBPath);
  // The pending records of one list.
  const std::vector<std::string>& PendingUpdates(int list) const;

 private:
  bool recursiveUpdates_ = false;
  std::vector<std::vector<std::string>> pending_;
};

}  // namespace brennock
