#include "brennock/database/sql_connection.h"

#include <sqlite3.h>

#include <cctype>

namespace brennock {

std::unique_ptr<SqlStatement> SqlConnection::Run(
    const std::string& sql, const std::vector<std::optional<std::string>>& values) {
  std::unique_ptr<SqlStatement> statement = Prepare(sql);
  for (size_t i = 0; i < values.size(); ++i) {
    if (values[i]) {
      statement->Bind(static_cast<int>(i), std::string_view(*values[i]), SqlColumnKind::kText);
    } else {
      statement->Bind(static_cast<int>(i), std::nullopt, SqlColumnKind::kText);
    }
  }
  statement->Execute();
  return statement;
}

void SqlConnection::Execute(const std::string& sql,
                            const std::vector<std::optional<std::string>>& values) {
  Run(sql, values);
}

std::optional<std::string> SqlConnection::QueryText(
    const std::string& sql, const std::vector<std::optional<std::string>>& values) {
  std::unique_ptr<SqlStatement> statement = Run(sql, values);
  if (!statement->Fetch()) return std::nullopt;
  return statement->Text(0);
}

namespace {

class SqliteStatement : public SqlStatement {
 public:
  SqliteStatement(sqlite3* db, sqlite3_stmt* statement) : db_(db), statement_(statement) {}
  ~SqliteStatement() override { sqlite3_finalize(statement_); }

  void Bind(int index, std::optional<std::string_view> text, SqlColumnKind /*kind*/) override {
    if (!started_) {
      sqlite3_reset(statement_);
      started_ = true;
    }
    int rc = text ? sqlite3_bind_text(statement_, index + 1, text->data(),
                                      static_cast<int>(text->size()), SQLITE_STATIC)
                  : sqlite3_bind_null(statement_, index + 1);
    if (rc != SQLITE_OK) throw SqlError(sqlite3_errmsg(db_));
  }
  void Execute() override {
    if (!started_) sqlite3_reset(statement_);
    started_ = false;
    rc_ = sqlite3_step(statement_);
    pending_ = rc_ == SQLITE_ROW;
    if (rc_ != SQLITE_ROW && rc_ != SQLITE_DONE) {
      std::string message = sqlite3_errmsg(db_);
      sqlite3_reset(statement_);
      throw SqlError(message);
    }
  }
  bool Fetch() override {
    if (pending_) {
      pending_ = false;
      return true;
    }
    if (rc_ != SQLITE_ROW) return false;
    rc_ = sqlite3_step(statement_);
    if (rc_ != SQLITE_ROW && rc_ != SQLITE_DONE) throw SqlError(sqlite3_errmsg(db_));
    return rc_ == SQLITE_ROW;
  }
  int ColumnCount() override { return sqlite3_column_count(statement_); }
  std::optional<std::string> Text(int column) override {
    if (sqlite3_column_type(statement_, column) == SQLITE_NULL) return std::nullopt;
    const unsigned char* text = sqlite3_column_text(statement_, column);
    return std::string(reinterpret_cast<const char*>(text),
                       static_cast<size_t>(sqlite3_column_bytes(statement_, column)));
  }

 private:
  sqlite3* db_;
  sqlite3_stmt* statement_;
  bool started_ = false;
  bool pending_ = false;
  int rc_ = SQLITE_DONE;
};

// The export's idea of a declared SQLite type ("VARCHAR(50)", "DOUBLE", "DATE").
SqlColumn SqliteColumn(std::string name, const char* declared) {
  SqlColumn column;
  column.name = std::move(name);
  std::string type;
  for (const char* p = declared ? declared : ""; *p; ++p)
    type += static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
  auto has = [&](std::string_view word) { return type.find(word) != std::string::npos; };
  if (has("DOUBLE") || has("REAL") || has("FLOAT")) {
    column.kind = SqlColumnKind::kDouble;
  } else if (has("CURRENCY") || has("MONEY") || has("DECIMAL") || has("NUMERIC")) {
    column.kind = SqlColumnKind::kCurrency;
  } else if (has("BOOL")) {
    column.kind = SqlColumnKind::kBool;
  } else if (has("INT")) {
    column.kind = SqlColumnKind::kInteger;
  } else if (has("TIMESTAMP") || has("DATETIME")) {
    column.kind = SqlColumnKind::kTimestamp;
  } else if (has("DATE")) {
    column.kind = SqlColumnKind::kDate;
  }
  size_t open = type.find('(');
  if (column.kind == SqlColumnKind::kText && open != std::string::npos)
    column.size = std::atoi(type.c_str() + open + 1);
  return column;
}

class SqliteConnection : public SqlConnection {
 public:
  explicit SqliteConnection(const std::string& path) {
    int rc =
        sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
      std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
      sqlite3_close(db_);
      throw SqlError(message);
    }
    sqlite3_busy_timeout(db_, 5000);
  }
  ~SqliteConnection() override { sqlite3_close(db_); }

  SqlProduct Product() const override { return SqlProduct::kSqlite; }
  const std::string& ConnectionString() const override { return none_; }
  std::unique_ptr<SqlStatement> Prepare(const std::string& sql) override {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &statement, nullptr) !=
        SQLITE_OK)
      throw SqlError(sqlite3_errmsg(db_));
    return std::make_unique<SqliteStatement>(db_, statement);
  }
  std::vector<SqlColumn> Describe(const std::string& sql) override {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &statement, nullptr) !=
        SQLITE_OK)
      throw SqlError(sqlite3_errmsg(db_));
    std::vector<SqlColumn> columns;
    int count = sqlite3_column_count(statement);
    for (int i = 0; i < count; ++i)
      columns.push_back(
          SqliteColumn(sqlite3_column_name(statement, i), sqlite3_column_decltype(statement, i)));
    sqlite3_finalize(statement);
    return columns;
  }
  bool Begin() override {
    return sqlite3_exec(db_, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK;
  }
  void Commit() override {
    if (sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
      throw SqlError(sqlite3_errmsg(db_));
  }
  void Rollback() override { sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr); }

 private:
  sqlite3* db_ = nullptr;
  std::string none_;
};

}  // namespace

std::shared_ptr<SqlConnection> OpenSqliteDatabase(const std::string& path) {
  return std::make_shared<SqliteConnection>(path);
}

}  // namespace brennock
