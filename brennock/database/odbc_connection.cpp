// The database export through unixODBC: PostgreSQL, MariaDB, SQL Server or any other driver.
#include <sql.h>
#include <sqlext.h>

#include <cctype>
#include <deque>

#include "brennock/database/sql_connection.h"

namespace brennock {
namespace {

// The driver's diagnostic records, joined.
std::string Diagnostics(SQLSMALLINT type, SQLHANDLE handle) {
  std::string message;
  SQLCHAR state[6];
  SQLCHAR text[1024];
  SQLINTEGER native = 0;
  SQLSMALLINT length = 0;
  for (SQLSMALLINT record = 1; SQLGetDiagRec(type, handle, record, state, &native, text,
                                             sizeof text, &length) == SQL_SUCCESS;
       ++record) {
    if (!message.empty()) message += "; ";
    message += reinterpret_cast<const char*>(text);
  }
  return message.empty() ? std::string("ODBC call failed") : message;
}

bool Ok(SQLRETURN rc) { return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO; }

void Check(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle) {
  if (!Ok(rc) && rc != SQL_NO_DATA) throw SqlError(Diagnostics(type, handle));
}

SQLSMALLINT SqlType(SqlColumnKind kind) {
  switch (kind) {
    case SqlColumnKind::kDouble:
      return SQL_DOUBLE;
    case SqlColumnKind::kCurrency:
      return SQL_DECIMAL;
    case SqlColumnKind::kInteger:
      return SQL_INTEGER;
    case SqlColumnKind::kBool:
      return SQL_INTEGER;
    case SqlColumnKind::kDate:
      return SQL_TYPE_DATE;
    case SqlColumnKind::kTimestamp:
      return SQL_TYPE_TIMESTAMP;
    case SqlColumnKind::kText:
      break;
  }
  return SQL_VARCHAR;
}

class OdbcStatement : public SqlStatement {
 public:
  explicit OdbcStatement(SQLHSTMT statement) : statement_(statement) {}
  ~OdbcStatement() override { SQLFreeHandle(SQL_HANDLE_STMT, statement_); }

  void Bind(int index, std::optional<std::string_view> text, SqlColumnKind kind) override {
    size_t i = static_cast<size_t>(index);
    if (values_.size() <= i) {
      values_.resize(i + 1);
      lengths_.resize(i + 1);
    }
    if (text) {
      values_[i].assign(*text);
      lengths_[i] = static_cast<SQLLEN>(values_[i].size());
    } else {
      values_[i].clear();
      lengths_[i] = SQL_NULL_DATA;
    }
    SQLULEN size = values_[i].empty() ? 1 : values_[i].size();
    SQLSMALLINT digits = 0;
    if (kind == SqlColumnKind::kCurrency) {
      size = 38;
      digits = 10;
    } else if (kind == SqlColumnKind::kTimestamp) {
      size = 19;
    } else if (kind == SqlColumnKind::kDate) {
      size = 10;
    }
    Check(SQLBindParameter(statement_, static_cast<SQLUSMALLINT>(index + 1), SQL_PARAM_INPUT,
                           SQL_C_CHAR, SqlType(kind), size, digits, values_[i].data(),
                           static_cast<SQLLEN>(values_[i].size()), &lengths_[i]),
          SQL_HANDLE_STMT, statement_);
  }
  void Execute() override {
    SQLCloseCursor(statement_);
    Check(SQLExecute(statement_), SQL_HANDLE_STMT, statement_);
  }
  bool Fetch() override {
    SQLRETURN rc = SQLFetch(statement_);
    if (rc == SQL_NO_DATA) return false;
    Check(rc, SQL_HANDLE_STMT, statement_);
    return true;
  }
  int ColumnCount() override {
    SQLSMALLINT count = 0;
    Check(SQLNumResultCols(statement_, &count), SQL_HANDLE_STMT, statement_);
    return count;
  }
  std::optional<std::string> Text(int column) override {
    std::string out;
    char buffer[512];
    SQLLEN length = 0;
    for (;;) {
      SQLRETURN rc = SQLGetData(statement_, static_cast<SQLUSMALLINT>(column + 1), SQL_C_CHAR,
                                buffer, sizeof buffer, &length);
      if (rc == SQL_NO_DATA) break;
      Check(rc, SQL_HANDLE_STMT, statement_);
      if (length == SQL_NULL_DATA) return std::nullopt;
      size_t got = length == SQL_NO_TOTAL || length >= static_cast<SQLLEN>(sizeof buffer)
                       ? sizeof buffer - 1
                       : static_cast<size_t>(length);
      out.append(buffer, got);
      if (rc == SQL_SUCCESS) break;
    }
    return out;
  }

 private:
  SQLHSTMT statement_;
  // Bound by address: a deque keeps earlier parameters where they are as it grows.
  std::deque<std::string> values_;
  std::deque<SQLLEN> lengths_;
};

class OdbcConnection : public SqlConnection {
 public:
  explicit OdbcConnection(const std::string& connectionString)
      : connectionString_(connectionString) {
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env_);
    SQLSetEnvAttr(env_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, env_, &dbc_);
    SQLCHAR out[1024];
    SQLSMALLINT outLength = 0;
    std::string in = connectionString;
    SQLRETURN rc = SQLDriverConnect(dbc_, nullptr, reinterpret_cast<SQLCHAR*>(in.data()),
                                    static_cast<SQLSMALLINT>(in.size()), out, sizeof out,
                                    &outLength, SQL_DRIVER_NOPROMPT);
    if (!Ok(rc)) {
      std::string message = Diagnostics(SQL_HANDLE_DBC, dbc_);
      SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
      SQLFreeHandle(SQL_HANDLE_ENV, env_);
      throw SqlError(message);
    }
    SQLCHAR name[128] = {};
    SQLSMALLINT nameLength = 0;
    SQLGetInfo(dbc_, SQL_DBMS_NAME, name, sizeof name, &nameLength);
    std::string dbms;
    for (SQLCHAR* p = name; *p; ++p) dbms += static_cast<char>(std::tolower(*p));
    if (dbms.find("postgres") != std::string::npos) {
      product_ = SqlProduct::kPostgreSql;
    } else if (dbms.find("maria") != std::string::npos || dbms.find("mysql") != std::string::npos) {
      product_ = SqlProduct::kMariaDb;
    } else if (dbms.find("sqlite") != std::string::npos) {
      product_ = SqlProduct::kSqlite;
    }
  }
  ~OdbcConnection() override {
    if (inTransaction_) Rollback();
    SQLDisconnect(dbc_);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
    SQLFreeHandle(SQL_HANDLE_ENV, env_);
  }

  SqlProduct Product() const override { return product_; }
  const std::string& ConnectionString() const override { return connectionString_; }

  std::unique_ptr<SqlStatement> Prepare(const std::string& sql) override {
    SQLHSTMT statement = SQL_NULL_HSTMT;
    Check(SQLAllocHandle(SQL_HANDLE_STMT, dbc_, &statement), SQL_HANDLE_DBC, dbc_);
    auto owned = std::make_unique<OdbcStatement>(statement);
    std::string text = sql;
    Check(SQLPrepare(statement, reinterpret_cast<SQLCHAR*>(text.data()),
                     static_cast<SQLINTEGER>(text.size())),
          SQL_HANDLE_STMT, statement);
    return owned;
  }

  std::vector<SqlColumn> Describe(const std::string& sql) override {
    SQLHSTMT statement = SQL_NULL_HSTMT;
    Check(SQLAllocHandle(SQL_HANDLE_STMT, dbc_, &statement), SQL_HANDLE_DBC, dbc_);
    OdbcStatement owner(statement);
    std::string text = sql;
    Check(SQLExecDirect(statement, reinterpret_cast<SQLCHAR*>(text.data()),
                        static_cast<SQLINTEGER>(text.size())),
          SQL_HANDLE_STMT, statement);
    SQLSMALLINT count = 0;
    Check(SQLNumResultCols(statement, &count), SQL_HANDLE_STMT, statement);
    std::vector<SqlColumn> columns;
    for (SQLUSMALLINT i = 1; i <= static_cast<SQLUSMALLINT>(count); ++i) {
      SQLCHAR name[256];
      SQLSMALLINT nameLength = 0, type = 0, digits = 0, nullable = 0;
      SQLULEN size = 0;
      Check(SQLDescribeCol(statement, i, name, sizeof name, &nameLength, &type, &size, &digits,
                           &nullable),
            SQL_HANDLE_STMT, statement);
      SqlColumn column;
      column.name = reinterpret_cast<const char*>(name);
      switch (type) {
        case SQL_DOUBLE:
        case SQL_FLOAT:
        case SQL_REAL:
          column.kind = SqlColumnKind::kDouble;
          break;
        case SQL_DECIMAL:
        case SQL_NUMERIC:
          column.kind = SqlColumnKind::kCurrency;
          break;
        case SQL_BIT:
          column.kind = SqlColumnKind::kBool;
          break;
        case SQL_TINYINT:
        case SQL_SMALLINT:
        case SQL_INTEGER:
        case SQL_BIGINT:
          column.kind = SqlColumnKind::kInteger;
          break;
        case SQL_TYPE_DATE:
        case SQL_DATE:
          column.kind = SqlColumnKind::kDate;
          break;
        case SQL_TYPE_TIMESTAMP:
        case SQL_TIMESTAMP:
          column.kind = SqlColumnKind::kTimestamp;
          break;
        case SQL_CHAR:
        case SQL_VARCHAR:
        case SQL_WCHAR:
        case SQL_WVARCHAR:
          column.size = static_cast<int32_t>(size);
          break;
        default:  // long texts and the rest: unbounded
          break;
      }
      columns.push_back(std::move(column));
    }
    return columns;
  }

  bool Begin() override {
    if (!Ok(SQLSetConnectAttr(dbc_, SQL_ATTR_AUTOCOMMIT,
                              reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0)))
      return false;
    inTransaction_ = true;
    return true;
  }
  void Commit() override { End(SQL_COMMIT); }
  void Rollback() override {
    try {
      End(SQL_ROLLBACK);
    } catch (const SqlError&) {
    }
  }

 private:
  void End(SQLSMALLINT how) {
    if (!inTransaction_) return;
    inTransaction_ = false;
    SQLRETURN rc = SQLEndTran(SQL_HANDLE_DBC, dbc_, how);
    SQLSetConnectAttr(dbc_, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON),
                      0);
    Check(rc, SQL_HANDLE_DBC, dbc_);
  }

  std::string connectionString_;
  SQLHENV env_ = SQL_NULL_HENV;
  SQLHDBC dbc_ = SQL_NULL_HDBC;
  SqlProduct product_ = SqlProduct::kOther;
  bool inTransaction_ = false;
};

}  // namespace

std::shared_ptr<SqlConnection> OpenOdbcDatabase(const std::string& connectionString) {
  return std::make_shared<OdbcConnection>(connectionString);
}

}  // namespace brennock
