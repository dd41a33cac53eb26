#include "brennock/internal/database/schema.h"

#include <algorithm>

#include "brennock/internal/database/export_rules.h"
#include "brennock/internal/database/sql_text.h"

namespace brennock {
namespace {

using qbxml::ValueType;

constexpr uint16_t kIdLength = 36;

// Tables whose owner kind has custom fields.
bool TakesCustomFields(std::string_view table) {
  for (std::string_view t : {"customer", "invoice", "estimates", "salesorder", "salesreceipt",
                             "creditmemo", "vendor", "purchaseorder", "employee", "items"})
    if (t == table) return true;
  return false;
}

class SchemaBuilder {
 public:
  void AddKind(std::string_view kind) {
    std::string name = LowerAscii(ExportTableOf(kind));
    std::vector<const qbxml::Aggregate*> shapes = RecordShapesOf(name);
    if (shapes.empty()) return;
    TableNamed(name, false);
    table_ = name;
    // Every kind of item in one table: the columns of all of them, and the kind of each row.
    if (shapes.size() > 1) AddColumn(name, {std::string(kItemTypeColumn), ValueType::kText, 31});
    for (const qbxml::Aggregate* shape : shapes) AddColumns(name, *shape, "", 0, false);
    if (TakesCustomFields(name)) {
      for (int i = 1; i <= 9; ++i)
        AddColumn(name, {"CustomField" + std::to_string(i), ValueType::kText, 255});
    }
  }

  std::vector<SchemaTable> Finish() {
    SchemaTable history;
    history.name = "history";
    history.columns = {{"TableName", ValueType::kText, 64},
                       {"ModifiedDate", ValueType::kDateTime, 0},
                       {"QBWFile", ValueType::kText, 255}};
    std::vector<SchemaTable> out = std::move(tables_);
    if (std::none_of(out.begin(), out.end(),
                     [](const SchemaTable& t) { return t.name == "history"; }))
      out.push_back(std::move(history));
    return out;
  }

 private:
  SchemaTable& TableNamed(const std::string& name, bool detail) {
    for (SchemaTable& t : tables_)
      if (t.name == name) return t;
    tables_.push_back(SchemaTable{name, {}, detail});
    return tables_.back();
  }

  void AddColumn(const std::string& tableName, SchemaColumn column) {
    SchemaTable& table = TableNamed(tableName, false);
    std::string lower = LowerAscii(column.name);
    for (const SchemaColumn& c : table.columns)
      if (LowerAscii(c.name) == lower) return;
    table.columns.push_back(std::move(column));
  }

  void AddColumns(const std::string tableName, const qbxml::Aggregate& aggregate,
                  const std::string& prefix, int depth, bool inDetail) {
    if (depth > 6) return;
    for (const qbxml::Element& e : aggregate.elements) {
      if (e.name == "DataExtRet") continue;
      const qbxml::Aggregate* nested = qbxml::Nested(e);
      if (nested) {
        std::string detail = DetailTableFor(e.name, table_);
        if (!detail.empty()) {
          bool grouped = inDetail;
          TableNamed(detail, true).detail = true;
          AddColumn(detail, {"IDKey", ValueType::kId, kIdLength});
          if (grouped) AddColumn(detail, {"GroupIDKey", ValueType::kId, kIdLength});
          AddColumns(detail, *nested, "", depth + 1, true);
          continue;
        }
        AddColumns(tableName, *nested, prefix + std::string(e.name) + "_", depth + 1, inDetail);
        continue;
      }
      std::string name =
          prefix + (e.name == "Desc" ? std::string("Description") : std::string(e.name));
      uint16_t length = e.maxLength;
      if (e.type == ValueType::kId && length == 0) length = kIdLength;
      AddColumn(tableName, {name, e.type, length});
    }
  }

  std::vector<SchemaTable> tables_;
  std::string table_;
};

// InnoDB refuses a table whose longest possible row, counted as it stores rows, passes 8126 bytes
// (half a 16 KiB page). In utf8mb4 a VARCHAR of up to 63 characters counts in full (four bytes
// a character: a hundred VARCHAR(41) columns are 16 400 bytes), while a TEXT counts 40 bytes at
// most: the rest of a long value goes to pages of its own. So text of more than ten characters
// is TEXT, and identifiers, GUIDs and enumeration values, which are ASCII, are ASCII VARCHARs.
// Every record kind then fits, the widest (customers, all items together) with room to spare.
std::string MariaDbTextType(ValueType type, uint16_t length) {
  if (type == ValueType::kText) {
    if (length == 0 || length > 10) return "TEXT";
    return "VARCHAR(" + std::to_string(length) + ")";
  }
  return "VARCHAR(" + std::to_string(length) + ") CHARACTER SET ascii";
}

std::string ColumnType(SqlProduct product, const SchemaColumn& column) {
  switch (column.type) {
    case ValueType::kBool:
      return "BOOLEAN";
    case ValueType::kInt:
      return "INTEGER";
    case ValueType::kAmount:
    case ValueType::kPrice:
      return "DECIMAL(19,4)";
    case ValueType::kQuantity:
    case ValueType::kPercent:
    case ValueType::kFloat:
      return product == SqlProduct::kSqlite ? "DOUBLE" : "DOUBLE PRECISION";
    case ValueType::kDate:
      return "DATE";
    case ValueType::kDateTime:
      // The export stores the date part of date-times; the history keeps the time of its runs.
      if (column.name == "ModifiedDate")
        return product == SqlProduct::kPostgreSql ? "TIMESTAMP" : "DATETIME";
      return "DATE";
    default:
      break;
  }
  uint16_t length = column.maxLength;
  if (length == 0) length = column.type == ValueType::kText ? 0 : 64;
  if (product == SqlProduct::kMariaDb) return MariaDbTextType(column.type, length);
  if (length == 0) return "TEXT";
  return "VARCHAR(" + std::to_string(length) + ")";
}

SqlDialect DialectOf(SqlProduct product) {
  switch (product) {
    case SqlProduct::kPostgreSql:
      return SqlDialect::kStandard;
    case SqlProduct::kOther:
      return SqlDialect::kTop;
    default:
      break;
  }
  return SqlDialect::kLimit;
}

}  // namespace

std::vector<SchemaTable> SchemaTables(std::span<const std::string> kinds) {
  SchemaBuilder builder;
  for (const std::string& kind : kinds) builder.AddKind(kind);
  return builder.Finish();
}

std::vector<std::string> SchemaStatements(SqlProduct product,
                                          const std::vector<SchemaTable>& tables) {
  SqlDialect dialect = DialectOf(product);
  std::vector<std::string> out;
  for (const SchemaTable& table : tables) {
    std::string sql = "CREATE TABLE IF NOT EXISTS " + QuoteIdentifier(dialect, table.name) + " (";
    bool first = true;
    for (const SchemaColumn& column : table.columns) {
      if (!first) sql += ", ";
      first = false;
      // PostgreSQL folds unquoted names to lower case: lower-case columns need no quotes there.
      sql += QuoteIdentifier(
          dialect, product == SqlProduct::kPostgreSql ? LowerAscii(column.name) : column.name);
      sql += ' ';
      sql += ColumnType(product, column);
    }
    sql += ")";
    // Unicode text whatever the server's default; the row format that keeps long values off the
    // row; transactions.
    if (product == SqlProduct::kMariaDb)
      sql += " ENGINE=InnoDB ROW_FORMAT=DYNAMIC DEFAULT CHARSET=utf8mb4";
    out.push_back(std::move(sql));
    std::string key;
    if (table.detail) {
      key = "IDKey";
    } else {
      for (const SchemaColumn& column : table.columns)
        if (column.name == "ListID" || column.name == "TxnID") key = column.name;
    }
    if (key.empty()) continue;
    std::string index = "ix_" + table.name + "_" + LowerAscii(key);
    out.push_back(
        "CREATE INDEX IF NOT EXISTS " + QuoteIdentifier(dialect, index) + " ON " +
        QuoteIdentifier(dialect, table.name) + " (" +
        QuoteIdentifier(dialect, product == SqlProduct::kPostgreSql ? LowerAscii(key) : key) + ")");
  }
  return out;
}

void CreateExportSchema(SqlConnection& db, std::span<const std::string> kinds) {
  for (const std::string& sql : SchemaStatements(db.Product(), SchemaTables(kinds)))
    db.Execute(sql);
}

}  // namespace brennock
