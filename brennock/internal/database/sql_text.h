#pragma once

#include <string>
#include <string_view>

#include "brennock/database/sql_connection.h"

namespace brennock {

// How a database takes a one-row probe and quoted names. kTop: "SELECT TOP 1 * FROM [t]" (SQL
// Server, Access); kLimit: "SELECT * FROM `t` LIMIT 0,1" (SQLite, MySQL, MariaDB); kStandard:
// "SELECT * FROM \"t\" LIMIT 1" (PostgreSQL, which takes neither of the others).
enum class SqlDialect : uint8_t { kTop, kLimit, kStandard };

// Names the export puts into SQL: letters, digits and underscores only.
bool IsPlainIdentifier(std::string_view name);
// The name quoted for the dialect; the name must be plain.
std::string QuoteIdentifier(SqlDialect dialect, std::string_view name);
// The one-row probe of a table.
std::string ProbeQuery(SqlDialect dialect, std::string_view table);
// Picks the dialect: the limit form when the connection string names a MySQL ODBC driver or the
// top-form probe of "history" fails; PostgreSQL, which refuses the limit form too, gets the
// standard one.
SqlDialect ChooseDialect(SqlConnection& db);
// ASCII lower case.
std::string LowerAscii(std::string_view text);

}  // namespace brennock
