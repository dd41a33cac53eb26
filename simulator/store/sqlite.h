#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>

namespace brennock::simulator {

// A failure reported by SQLite (a broken, locked, full or read-only file), with SQLite's primary
// result code (SQLITE_FULL, SQLITE_READONLY ...). Handlers turn it into a QuickBooks status; the
// processor into an automation error.
class SqliteError : public std::runtime_error {
 public:
  explicit SqliteError(const std::string& message, int code = SQLITE_ERROR)
      : std::runtime_error(message), code_(code) {}
  int code() const { return code_; }

 private:
  int code_;
};

// One prepared statement. Bind positions are 1-based as in SQLite; columns 0-based.
class Statement {
 public:
  Statement(sqlite3* db, std::string_view sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& Bind(int index, std::string_view text);
  Statement& Bind(int index, int64_t value);
  Statement& BindNull(int index);
  // Steps once: true while a row is available.
  bool Step();
  // Steps to completion, ignoring rows.
  void Run();
  void Reset();

  std::string_view Text(int column) const;
  int64_t Int(int column) const;
  bool IsNull(int column) const;

 private:
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
};

// A connection to one company database, with a cache of prepared statements keyed by their text.
class Database {
 public:
  // read_only opens the file without write access, whatever the caller's privileges.
  Database(const std::string& path, bool create, bool read_only = false);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  void Exec(const char* sql);
  // A cached statement, reset and unbound, ready for binding.
  Statement& Prepare(std::string_view sql);
  int64_t Changes() const;
  // Resets every cached statement, so that none keeps an old read snapshot open.
  void ResetAll();
  sqlite3* Handle() const { return db_; }
  // Whether writes are refused: opened read-only, or a file SQLite could only open for reading.
  bool ReadOnly() const { return sqlite3_db_readonly(db_, "main") == 1; }

 private:
  // Looked up by the text as given: no copy of it per statement run.
  struct TextHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
  };
  sqlite3* db_ = nullptr;
  std::unordered_map<std::string, std::unique_ptr<Statement>, TextHash, std::equal_to<>> cache_;
};

// Begins an immediate write transaction; rolls back on destruction unless committed.
class Transaction {
 public:
  explicit Transaction(Database& db, bool write);
  ~Transaction();
  void Commit();

 private:
  Database& db_;
  bool open_ = true;
};

}  // namespace brennock::simulator
