#include "brennock/internal/database/sql_text.h"

namespace brennock {

bool IsPlainIdentifier(std::string_view name) {
  if (name.empty() || name.size() > 128) return false;
  for (char c : name) {
    bool plain =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    if (!plain) return false;
  }
  return true;
}

std::string QuoteIdentifier(SqlDialect dialect, std::string_view name) {
  std::string out;
  out.reserve(name.size() + 2);
  switch (dialect) {
    case SqlDialect::kTop:
      out += '[';
      out += name;
      out += ']';
      break;
    case SqlDialect::kLimit:
      out += '`';
      out += name;
      out += '`';
      break;
    case SqlDialect::kStandard:
      out += '"';
      out += name;
      out += '"';
      break;
  }
  return out;
}

std::string ProbeQuery(SqlDialect dialect, std::string_view table) {
  switch (dialect) {
    case SqlDialect::kTop:
      return "SELECT TOP 1 * FROM " + QuoteIdentifier(dialect, table);
    case SqlDialect::kLimit:
      return "SELECT * FROM " + QuoteIdentifier(dialect, table) + " LIMIT 0,1";
    case SqlDialect::kStandard:
      break;
  }
  return "SELECT * FROM " + QuoteIdentifier(dialect, table) + " LIMIT 1";
}

namespace {

bool Probes(SqlConnection& db, const std::string& sql) {
  try {
    db.Describe(sql);
    return true;
  } catch (const SqlError&) {
    return false;
  }
}

}  // namespace

SqlDialect ChooseDialect(SqlConnection& db) {
  if (db.ConnectionString().find("MySQL ODBC") != std::string::npos) return SqlDialect::kLimit;
  if (db.Product() == SqlProduct::kSqlite || db.Product() == SqlProduct::kMariaDb)
    return SqlDialect::kLimit;
  if (db.Product() == SqlProduct::kPostgreSql) return SqlDialect::kStandard;
  if (Probes(db, "SELECT TOP 1 * FROM  history")) return SqlDialect::kTop;
  if (Probes(db, "SELECT * FROM history LIMIT 0,1")) return SqlDialect::kLimit;
  return SqlDialect::kStandard;
}

std::string LowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

}  // namespace brennock
