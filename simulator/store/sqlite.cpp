#include "simulator/store/sqlite.h"

namespace brennock::simulator {
namespace {

[[noreturn]] void Fail(sqlite3* db, std::string_view what) {
  std::string message(what);
  message += ": ";
  message += db ? sqlite3_errmsg(db) : "out of memory";
  throw SqliteError(message, db ? sqlite3_errcode(db) & 0xff : SQLITE_NOMEM);
}

}  // namespace

Statement::Statement(sqlite3* db, std::string_view sql) : db_(db) {
  if (sqlite3_prepare_v3(db, sql.data(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT,
                         &stmt_, nullptr) != SQLITE_OK)
    Fail(db, "prepare");
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

Statement& Statement::Bind(int index, std::string_view text) {
  if (sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()),
                        SQLITE_TRANSIENT) != SQLITE_OK)
    Fail(db_, "bind");
  return *this;
}

Statement& Statement::Bind(int index, int64_t value) {
  if (sqlite3_bind_int64(stmt_, index, value) != SQLITE_OK) Fail(db_, "bind");
  return *this;
}

Statement& Statement::BindNull(int index) {
  if (sqlite3_bind_null(stmt_, index) != SQLITE_OK) Fail(db_, "bind");
  return *this;
}

bool Statement::Step() {
  int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  Fail(db_, "step");
}

void Statement::Run() {
  while (Step()) {
  }
}

void Statement::Reset() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

std::string_view Statement::Text(int column) const {
  auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
  if (!p) return {};
  return {p, static_cast<size_t>(sqlite3_column_bytes(stmt_, column))};
}

int64_t Statement::Int(int column) const { return sqlite3_column_int64(stmt_, column); }

bool Statement::IsNull(int column) const {
  return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

Database::Database(const std::string& path, bool create, bool read_only) {
  int flags = (read_only ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX |
              (create ? SQLITE_OPEN_CREATE : 0);
  if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
    std::string message = "open: ";
    message += db_ ? sqlite3_errmsg(db_) : "out of memory";
    sqlite3_close(db_);
    db_ = nullptr;
    throw SqliteError(message);
  }
  sqlite3_busy_timeout(db_, 5000);
}

Database::~Database() {
  cache_.clear();
  sqlite3_close(db_);
}

void Database::Exec(const char* sql) {
  char* error = nullptr;
  if (int rc = sqlite3_exec(db_, sql, nullptr, nullptr, &error); rc != SQLITE_OK) {
    std::string message = std::string("exec: ") + (error ? error : "unknown");
    sqlite3_free(error);
    throw SqliteError(message, rc & 0xff);
  }
}

Statement& Database::Prepare(std::string_view sql) {
  auto it = cache_.find(sql);
  if (it == cache_.end())
    it = cache_.emplace(std::string(sql), std::make_unique<Statement>(db_, sql)).first;
  it->second->Reset();
  return *it->second;
}

void Database::ResetAll() {
  // Only a statement stepped and not reset holds a read snapshot; the others stay as they are
  // (Prepare resets and unbinds a statement before handing it out).
  for (sqlite3_stmt* st = sqlite3_next_stmt(db_, nullptr); st; st = sqlite3_next_stmt(db_, st))
    if (sqlite3_stmt_busy(st)) sqlite3_reset(st);
}

int64_t Database::Changes() const { return sqlite3_changes64(db_); }

Transaction::Transaction(Database& db, bool write) : db_(db) {
  db_.ResetAll();
  db_.Exec(write ? "BEGIN IMMEDIATE" : "BEGIN");
}

Transaction::~Transaction() {
  db_.ResetAll();
  if (open_) sqlite3_exec(db_.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::Commit() {
  db_.ResetAll();
  db_.Exec("COMMIT");
  open_ = false;
}

}  // namespace brennock::simulator
