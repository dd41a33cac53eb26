#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace brennock {
class SqlConnection;
}

namespace brennock::testing {

enum class DatabaseKind { kSqlite, kPostgreSql, kMariaDb };

// "SQLite", "PostgreSQL", "MariaDB": names for parameterised tests.
std::string DatabaseKindName(DatabaseKind kind);

// Starts the private PostgreSQL and MariaDB servers of a test program once, in a temporary
// folder (as "nobody" when run as root); StopTestDatabaseServers stops them and removes the
// folder. A program's global environment (DatabaseServersEnvironment) calls both.
void StartTestDatabaseServers();
void StopTestDatabaseServers();

class DatabaseServersEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { StartTestDatabaseServers(); }
  void TearDown() override { StopTestDatabaseServers(); }
};

// A new, empty database of the kind: a SQLite file at sqlitePath, or a fresh database on the
// server, whose ODBC connection string goes to connectionString. Null when the server could not
// be started (ServerSkipReason says why).
std::shared_ptr<SqlConnection> OpenTestDatabase(DatabaseKind kind, const std::string& sqlitePath,
                                                std::string& connectionString);
std::string ServerSkipReason(DatabaseKind kind);

}  // namespace brennock::testing
