#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "brennock/database/sql_connection.h"
#include "brennock/internal/qbxml/catalogue.h"

namespace brennock {

// The tables the database export writes, generated from the record catalogue: one table per
// record kind (lower-case qbXML name), detail tables with IDKey (and GroupIDKey for lines of
// lines) indexed on IDKey, and the history table. Columns are typed from the catalogue: text with
// its length, flags, integers, amounts and prices exact, quantities and rates double, dates.

struct SchemaColumn {
  std::string name;
  qbxml::ValueType type = qbxml::ValueType::kText;
  uint16_t maxLength = 0;  // characters; 0: no limit
};

struct SchemaTable {
  std::string name;  // lower case
  std::vector<SchemaColumn> columns;
  bool detail = false;
};

// The tables of these record kinds ("Customer", "Class"), detail tables merged, history last.
// Unknown kinds are left out; the tables of kinds with custom fields get CustomField1..9.
std::vector<SchemaTable> SchemaTables(std::span<const std::string> kinds);
// CREATE TABLE and CREATE INDEX statements for a database product (only what is missing is
// created when they run).
std::vector<std::string> SchemaStatements(SqlProduct product,
                                          const std::vector<SchemaTable>& tables);
// Creates the tables of kinds that are missing; columns of tables already there are left alone.
void CreateExportSchema(SqlConnection& db, std::span<const std::string> kinds);

}  // namespace brennock
