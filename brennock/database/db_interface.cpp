#include "brennock/database/db_interface.h"

#include "brennock/database/database_export.h"
#include "brennock/enums/database_enums.h"
#include "brennock/internal/database/export_rules.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/model/response_exporter.h"
#include "brennock/internal/session/database_update_hook.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/xml/xml_document.h"

namespace brennock {
namespace {

// The qbXML name and table of each pending-update list.
constexpr std::string_view kPendingKinds[] = {"Customer",  "Vendor",  "Employee",
                                              "OtherName", "Account", "Item"};

class DatabaseResponseExporter : public ResponseExporter {
 public:
  // table: the collection's stem; every kind of item goes to the items table.
  void ExportResponse(const XmlDocument& response, qoEnumListObjectType /*objectType*/,
                      std::string_view table, const std::string& databasePath) override {
    ExportRequest request;
    request.databasePath = databasePath;
    request.table = ExportTableOf(table);
    ExportResponseElement(FirstResponseElement(response), request);
  }
};

void UpdateDatabaseHook(const XmlDocument& response, const std::string& databasePath,
                        const std::string& tableName) {
  ExportRequest request;
  request.databasePath = databasePath;
  request.table = tableName;
  ExportResponseElement(FirstResponseElement(response), request);
}

const std::vector<std::string> kNoPending;

}  // namespace

void DBInterface::SendOutputToDB(const XmlDocument& oDomDoc, const std::string& MDBPath,
                                 const std::string& TableName, int32_t TotalRecs,
                                 int32_t CurrentRec, bool& bCancelRet) {
  ExportRequest request;
  request.databasePath = MDBPath;
  request.table = TableName;
  request.totalRecords = TotalRecs;
  request.firstRecord = CurrentRec;
  bCancelRet = ExportResponseElement(FirstResponseElement(oDomDoc), request).cancelled;
}

void DBInterface::DynUpdateInit() {
  pending_.clear();
  if (recursiveUpdates_) pending_.resize(std::size(kPendingKinds));
}

void DBInterface::AddPendingUpdate(int list, const std::string& ListID) {
  if (list < 0 || static_cast<size_t>(list) >= pending_.size()) return;
  std::vector<std::string>& ids = pending_[static_cast<size_t>(list)];
  for (const std::string& id : ids)
    if (id == ListID) return;
  ids.push_back(ListID);
}

const std::vector<std::string>& DBInterface::PendingUpdates(int list) const {
  if (list < 0 || static_cast<size_t>(list) >= pending_.size()) return kNoPending;
  return pending_[static_cast<size_t>(list)];
}

int32_t DBInterface::DynProcessUpdates(const std::string& MDBPath) {
  int32_t written = 0;
  SessionState& session = Session();
  int32_t mode = session.databaseMode;
  for (size_t list = 0; list < pending_.size(); ++list) {
    if (pending_[list].empty()) continue;
    std::string_view kind = kPendingKinds[list];
    xmlBldr builder;
    builder.NewClear();
    builder.OpenAggregateOnly(std::string(kind) + "QueryRq");
    for (const std::string& id : pending_[list]) builder.CreateElement("ListID", id);
    builder.EndAggregate(std::string(kind) + "QueryRq");
    std::shared_ptr<XmlDocument> response = builder.NewSendRequest();
    pending_[list].clear();
    if (!response || builder.ErrNumber() != 0) continue;
    ExportRequest request;
    request.databasePath = MDBPath;
    request.table = std::string(kind);
    session.databaseMode = qoDBUpdate;
    try {
      written += ExportResponseElement(FirstResponseElement(*response), request).written;
    } catch (...) {
      session.databaseMode = mode;
      throw;
    }
    session.databaseMode = mode;
  }
  return written;
}

}  // namespace brennock

// Named as undefined by brennock's link interface, so that every program linking the library
// keeps this file and its registration.
extern "C" {
extern const int brennock_database_registered;
const int brennock_database_registered = [] {
  brennock::SetResponseExporter(std::make_shared<brennock::DatabaseResponseExporter>());
  brennock::SetDatabaseUpdateHook(&brennock::UpdateDatabaseHook);
  return 1;
}();
}
