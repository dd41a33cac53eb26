#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "brennock/database/database_export.h"
#include "brennock/database/sql_connection.h"
#include "brennock/internal/database/schema.h"
#include "tests/lists/simulator_fixture.h"
#include "tests/support/database_servers.h"

namespace brennock::testing {

// A simulated company and an empty database of the test's parameter: a SQLite file, or a fresh
// database on the private PostgreSQL or MariaDB server, reached as "ADOCON".
class ExportTest : public SimulatorListsTest, public ::testing::WithParamInterface<DatabaseKind> {
 protected:
  void SetUp() override {
    SimulatorListsTest::SetUp();
    if (::testing::Test::IsSkipped()) return;
    database_ = OpenTestDatabase(GetParam(), (folder_ / "export.sqlite").string(), path_db_);
    if (!database_) GTEST_SKIP() << ServerSkipReason(GetParam());
    if (GetParam() != DatabaseKind::kSqlite) {
      Session().adoConnection = database_;
      path_db_ = "ADOCON";
    }
  }
  void TearDown() override {
    Session().adoConnection.reset();
    database_.reset();
    SimulatorListsTest::TearDown();
    // A parameterised test's name holds a '/': its folder sits in one of its own.
    std::error_code ignored;
    std::filesystem::remove(folder_.parent_path(), ignored);
  }

  void CreateSchema(std::vector<std::string> kinds) { CreateExportSchema(*database_, kinds); }
  std::string Text(const std::string& sql, const std::vector<std::optional<std::string>>& v = {}) {
    return database_->QueryText(sql, v).value_or("<null>");
  }
  int Count(const std::string& table) { return std::stoi(Text("SELECT COUNT(*) FROM " + table)); }
  // Exports a response written by the test into table.
  ExportOutcome Export(const std::string& records, const std::string& table) {
    XmlDocument document;
    document.loadXML("<?xml version=\"1.0\" ?><QBXML><QBXMLMsgsRs><Rs statusCode=\"0\">" + records +
                     "</Rs></QBXMLMsgsRs></QBXML>");
    ExportRequest request;
    request.databasePath = path_db_;
    request.table = table;
    return ExportResponseElement(FirstResponseElement(document), request);
  }

  std::shared_ptr<SqlConnection> database_;
  std::string path_db_;
};

}  // namespace brennock::testing
