#pragma once

#include <string>

namespace brennock {

class XmlDocument;

// QBConnection.UpdateDatabase hands its document to the database export, which sits above the
// session and registers this entry at start-up. Null while none is registered.
using DatabaseUpdateHook = void (*)(const XmlDocument& response, const std::string& databasePath,
                                    const std::string& tableName);
void SetDatabaseUpdateHook(DatabaseUpdateHook hook);
DatabaseUpdateHook RegisteredDatabaseUpdateHook();

}  // namespace brennock
