#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace brennock {

class XmlNode;
class SqlConnection;

// One export of a query response into a database: what UpdateDatabase, SendOutputToDB and the
// collections' Get... with a database path do.
struct ExportRequest {
  std::string databasePath;  // a SQLite file, or "ADOCON" for the session's ODBC connection
  std::string table;         // the record kind's table, any letter case
  int32_t totalRecords = 0;  // progress total; 0: the records of the response
  int32_t firstRecord = 0;   // progress offset
};

struct ExportOutcome {
  int32_t written = 0;     // records written
  bool cancelled = false;  // a RecordProcessed2 handler asked to stop
  bool opened = false;     // false when "ADOCON" had no connection string (nothing written)
};

// Exports the records of response (the element holding the <Kind>Ret elements) by the session's
// settings (DatabaseMode, DBUseTxns, DBKeepExactText). Opening failures raise 1001 or 1011; a
// failing write raises 1003 with the database's message, after rolling back when the export
// runs in a transaction.
ExportOutcome ExportResponseElement(const XmlNode& response, const ExportRequest& request);
// The same into a connection the caller opened.
ExportOutcome ExportResponseElement(const XmlNode& response, const ExportRequest& request,
                                    SqlConnection& db);

// The first response of a query response document (QBXML, the message set, its first child).
XmlNode FirstResponseElement(const class XmlDocument& document);

}  // namespace brennock
