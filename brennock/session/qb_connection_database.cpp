// The database export's settings and entry point on QBConnection; the export itself lives in
// brennock/database/.
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/session/database_update_hook.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/session/qb_connection.h"

namespace brennock {
namespace {

DatabaseUpdateHook& Hook() {
  static DatabaseUpdateHook hook = nullptr;
  return hook;
}

}  // namespace

void SetDatabaseUpdateHook(DatabaseUpdateHook hook) { Hook() = hook; }
DatabaseUpdateHook RegisteredDatabaseUpdateHook() { return Hook(); }

bool QBConnection::DBUseTxns() const { return Session().dbUseTxns; }
void QBConnection::SetDBUseTxns(bool value) { Session().dbUseTxns = value; }
bool QBConnection::DBExcludeJobs() const { return Session().dbExcludeJobs; }
void QBConnection::SetDBExcludeJobs(bool value) { Session().dbExcludeJobs = value; }
bool QBConnection::IsRemote() const { return Session().isRemote; }
void QBConnection::SetIsRemote(bool value) { Session().isRemote = value; }
qoEnumDatabaseMode QBConnection::DatabaseMode() const {
  return static_cast<qoEnumDatabaseMode>(Session().databaseMode);
}
void QBConnection::SetDatabaseMode(qoEnumDatabaseMode value) { Session().databaseMode = value; }
bool QBConnection::DBKeepExactText() const { return Session().dbKeepExactText; }
void QBConnection::SetDBKeepExactText(bool value) { Session().dbKeepExactText = value; }
std::shared_ptr<SqlConnection> QBConnection::adoConnection() const {
  return Session().adoConnection;
}
void QBConnection::SetadoConnection(std::shared_ptr<SqlConnection> value) {
  Session().adoConnection = std::move(value);
}
const std::string& QBConnection::adoConnStr() const { return Session().adoConnStr; }
void QBConnection::SetadoConnStr(const std::string& value) { Session().adoConnStr = value; }

Variant QBConnection::UpdateDatabase(const XmlDocument& XmlDom, const std::string& DatabasePath,
                                     const std::string& TableName) {
  DatabaseUpdateHook hook = RegisteredDatabaseUpdateHook();
  if (!hook) RaiseLibraryError(errGeneral, "No database export is available");
  hook(XmlDom, DatabasePath, TableName);
  return {};
}

}  // namespace brennock
