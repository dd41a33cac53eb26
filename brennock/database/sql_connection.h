#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace brennock {

// What a column holds, as far as the export cares: numbers of kind kDouble and kCurrency are
// never cut, dates are bound as dates, flags as 1/0.
enum class SqlColumnKind : uint8_t {
  kText,
  kDouble,
  kCurrency,
  kInteger,
  kBool,
  kDate,
  kTimestamp
};

struct SqlColumn {
  std::string name;
  SqlColumnKind kind = SqlColumnKind::kText;
  int32_t size = 0;  // defined size in characters for text; 0 when unbounded
};

// The database behind a connection: decides the schema's types and the probe's form.
enum class SqlProduct : uint8_t { kSqlite, kPostgreSql, kMariaDb, kOther };

// A failure of the database, with its own message.
class SqlError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A prepared statement. Values are always bound, never pasted into the text.
class SqlStatement {
 public:
  virtual ~SqlStatement() = default;
  // 0-based parameter; nullopt binds NULL. The text must stay valid until Execute.
  virtual void Bind(int index, std::optional<std::string_view> text, SqlColumnKind kind) = 0;
  // Runs the statement; for a query, positions before the first row.
  virtual void Execute() = 0;
  // Next row of a query; false at the end.
  virtual bool Fetch() = 0;
  // A column of the current row as text; nullopt for NULL.
  virtual std::optional<std::string> Text(int column) = 0;
  // The number of columns of a query's rows.
  virtual int ColumnCount() = 0;
};

// One open database: SQLite directly, or anything behind an ODBC driver.
class SqlConnection {
 public:
  virtual ~SqlConnection() = default;
  virtual SqlProduct Product() const = 0;
  // The connection string it was opened with (empty for a SQLite file).
  virtual const std::string& ConnectionString() const = 0;
  virtual std::unique_ptr<SqlStatement> Prepare(const std::string& sql) = 0;
  // The columns of a query's result, without running it for rows (the export's probe).
  virtual std::vector<SqlColumn> Describe(const std::string& sql) = 0;
  // False when the connection cannot begin a transaction.
  virtual bool Begin() = 0;
  virtual void Commit() = 0;
  virtual void Rollback() = 0;

  // Prepare, bind texts, execute.
  void Execute(const std::string& sql, const std::vector<std::optional<std::string>>& values = {});
  // The first column of the first row, or nullopt.
  std::optional<std::string> QueryText(const std::string& sql,
                                       const std::vector<std::optional<std::string>>& values = {});

 private:
  // The statement prepared, its texts bound and executed.
  std::unique_ptr<SqlStatement> Run(const std::string& sql,
                                    const std::vector<std::optional<std::string>>& values);
};

// Opens (creating when missing) a SQLite database file. SqlError when it cannot be opened.
std::shared_ptr<SqlConnection> OpenSqliteDatabase(const std::string& path);
// Opens an ODBC connection ("DSN=..." or "Driver=...;..."). SqlError with the driver's message.
std::shared_ptr<SqlConnection> OpenOdbcDatabase(const std::string& connectionString);

}  // namespace brennock
