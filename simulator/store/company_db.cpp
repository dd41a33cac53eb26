#include "simulator/store/company_db.h"

#include <sys/stat.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "brennock/internal/util/environment.h"
#include "simulator/events/event_tables.h"
#include "simulator/ledger/ledger.h"
#include "simulator/records/txn_link_tables.h"
#include "simulator/store/txn_counters.h"
namespace brennock::simulator {
namespace {

// 2: balances live in the ledger (postings), transactions in txn_records.
constexpr std::string_view kFormatMarker = "Brennock simulated QuickBooks company 2";

constexpr const char* kSchema = R"sql(
CREATE TABLE settings(key TEXT PRIMARY KEY, value TEXT NOT NULL) WITHOUT ROWID;
CREATE TABLE list_records(
  id INTEGER PRIMARY KEY,
  list_id TEXT NOT NULL UNIQUE,
  list_type TEXT NOT NULL,
  name_space TEXT NOT NULL,
  name TEXT NOT NULL,
  full_name TEXT NOT NULL,
  parent_id TEXT,
  sublevel INTEGER NOT NULL DEFAULT 0,
  is_active INTEGER NOT NULL DEFAULT 1,
  time_created TEXT NOT NULL,
  time_modified TEXT NOT NULL,
  modified_utc INTEGER NOT NULL,
  edit_sequence TEXT NOT NULL,
  account_type TEXT,
  body BLOB NOT NULL);
CREATE UNIQUE INDEX list_names ON list_records(name_space, full_name COLLATE NOCASE);
CREATE INDEX list_order ON list_records(list_type, full_name COLLATE NOCASE);
CREATE INDEX list_parent ON list_records(parent_id);
CREATE TABLE deleted_lists(
  list_type TEXT NOT NULL,
  list_id TEXT NOT NULL,
  full_name TEXT NOT NULL,
  time_created TEXT NOT NULL,
  time_modified TEXT NOT NULL,
  time_deleted TEXT NOT NULL,
  deleted_utc INTEGER NOT NULL);
CREATE TABLE data_ext_defs(
  owner_id TEXT NOT NULL,
  name TEXT NOT NULL COLLATE NOCASE,
  data_type TEXT NOT NULL,
  assigned TEXT NOT NULL DEFAULT '',
  list_require INTEGER,
  txn_require INTEGER,
  format_string TEXT,
  ext_id INTEGER NOT NULL,
  PRIMARY KEY(owner_id, name));
CREATE TABLE data_ext_values(
  owner_id TEXT NOT NULL,
  name TEXT NOT NULL COLLATE NOCASE,
  object_id TEXT NOT NULL,
  value TEXT NOT NULL,
  PRIMARY KEY(object_id, owner_id, name));
CREATE TABLE txn_records(
  id INTEGER PRIMARY KEY,
  txn_id TEXT NOT NULL UNIQUE,
  txn_type TEXT NOT NULL,
  txn_number INTEGER NOT NULL,
  txn_date TEXT NOT NULL,
  ref_number TEXT NOT NULL DEFAULT '',
  entity_id TEXT NOT NULL DEFAULT '',
  account_id TEXT NOT NULL DEFAULT '',
  currency_id TEXT NOT NULL DEFAULT '',
  time_created TEXT NOT NULL,
  time_modified TEXT NOT NULL,
  modified_utc INTEGER NOT NULL,
  edit_sequence TEXT NOT NULL,
  voided INTEGER NOT NULL DEFAULT 0,
  body BLOB NOT NULL,
  lines BLOB NOT NULL);
CREATE INDEX txn_by_date ON txn_records(txn_type, txn_date);
CREATE INDEX txn_by_entity ON txn_records(entity_id);
CREATE INDEX txn_by_ref ON txn_records(txn_type, ref_number);
CREATE TABLE deleted_txns(
  txn_type TEXT NOT NULL,
  txn_id TEXT NOT NULL,
  ref_number TEXT NOT NULL,
  time_created TEXT NOT NULL,
  time_deleted TEXT NOT NULL,
  deleted_utc INTEGER NOT NULL);
CREATE TABLE postings(
  id INTEGER PRIMARY KEY,
  source_id TEXT NOT NULL,
  account_id TEXT NOT NULL,
  amount INTEGER NOT NULL,
  entity_id TEXT,
  item_id TEXT,
  quantity INTEGER NOT NULL DEFAULT 0,
  open_id TEXT);
CREATE INDEX postings_by_source ON postings(source_id);
CREATE INDEX postings_by_open ON postings(open_id) WHERE open_id IS NOT NULL;
CREATE TABLE ledger_totals(
  list_id TEXT PRIMARY KEY,
  balance INTEGER NOT NULL,
  total INTEGER NOT NULL,
  quantity INTEGER NOT NULL,
  postings INTEGER NOT NULL) WITHOUT ROWID;
)sql";

void Configure(Database& db) {
  db.Exec("PRAGMA journal_mode=WAL");
  db.Exec("PRAGMA synchronous=NORMAL");
  db.Exec("PRAGMA foreign_keys=OFF");
  db.Exec("PRAGMA temp_store=MEMORY");
  // A checkpoint copies the log into the file and syncs it; every 4000 pages (16 MB of log)
  // rather than SQLite's 1000 saves a sync for each hundred or so transactions.
  db.Exec("PRAGMA wal_autocheckpoint=4000");
  // Large company files are read through memory mapping and a bigger page cache, which saves a
  // system call per page on full-list queries.
  db.Exec("PRAGMA mmap_size=1073741824");
  db.Exec("PRAGMA cache_size=-32768");
}

// A file whose permission bits grant no write to anyone is opened read-only: SQLite running as
// root would write it anyway.
bool WriteProtected(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::perms perms = fs::status(path, ec).permissions();
  constexpr fs::perms kWrite =
      fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  return !ec && (perms & kWrite) == fs::perms::none;
}

// How long a change waits for another program's write lock on the file before it is refused as
// "in use" (BRENNOCK_SIMULATOR_BUSY_MILLISECONDS, default 5 seconds).
void WaitForWriters(Database& db) {
  const uint64_t ms = EnvironmentCount("BRENNOCK_SIMULATOR_BUSY_MILLISECONDS", 5000);
  sqlite3_busy_timeout(db.Handle(), static_cast<int>(std::min<uint64_t>(ms, 600000)));
}

// SQLite's full integrity check (structure, and every index against its table) of the file as
// it is now. Its verdict is kept by the file's identity and time of change, so an unchanged file is
// not read through again when the next session opens it.
bool PassesIntegrityCheck(Database& db, const std::string& path) {
  static std::mutex mutex;
  static std::unordered_map<std::string, bool> verdicts;
  struct stat info {};
  std::string key;
  if (::stat(path.c_str(), &info) == 0) {
    key = path + '|' + std::to_string(info.st_dev) + '|' + std::to_string(info.st_ino) + '|' +
          std::to_string(info.st_size) + '|' + std::to_string(info.st_mtim.tv_sec) + '.' +
          std::to_string(info.st_mtim.tv_nsec);
    std::lock_guard lock(mutex);
    if (auto found = verdicts.find(key); found != verdicts.end()) return found->second;
  }
  bool ok = false;
  try {
    Statement& check = db.Prepare("PRAGMA integrity_check(1)");
    ok = check.Step() && check.Text(0) == "ok";
    check.Reset();
  } catch (const SqliteError&) {
    ok = false;
  }
  if (!key.empty()) {
    std::lock_guard lock(mutex);
    if (verdicts.size() > 1000) verdicts.clear();
    verdicts[key] = ok;
  }
  return ok;
}

// BRENNOCK_SIMULATOR_MAX_PAGES caps the company database at that many pages (never below its
// size), so that tests can run out of disk space.
void CapPages(Database& db) {
  const uint64_t count = EnvironmentCount("BRENNOCK_SIMULATOR_MAX_PAGES", 0);
  if (count == 0) return;
  db.Exec(("PRAGMA max_page_count=" + std::to_string(count)).c_str());
}

}  // namespace

CompanyDb::CompanyDb(const std::string& path, bool create)
    : path_(path), db_(path, create, !create && WriteProtected(path)) {}

CompanyDb::CompanyDb(const std::string& path) : CompanyDb(path, false) {
  // A file SQLite cannot read, or a database of something else, is not a company file.
  auto marker = Setting("format");
  if (!marker || *marker != kFormatMarker) throw SqliteError("not a company file: " + path);
  Configure(db_);
  CapPages(db_);
  WaitForWriters(db_);
  damaged_ = !PassesIntegrityCheck(db_, path);
}

std::unique_ptr<CompanyDb> CompanyDb::Create(const std::string& path) {
  if (std::filesystem::exists(path)) throw SqliteError("file already exists: " + path);
  std::unique_ptr<CompanyDb> company(new CompanyDb(path, true));
  company->CreateSchema();
  return company;
}

void CompanyDb::CreateSchema() {
  Configure(db_);
  Transaction txn(db_, true);
  db_.Exec(kSchema);
  CreateEventTables(db_);
  CreateTxnLinkTables(db_);
  Ledger::CreateOpenItems(db_);
  SetSetting("format", kFormatMarker);
  SetSetting("next_list_seq", "2147483649");  // 0x80000001
  TxnCounters::Create(db_);
  txn.Commit();
}

bool CompanyDb::HasTable(std::string_view name) {
  struct Found : std::vector<std::string> {};
  const Found& known = facts_.Get<Found>();
  if (std::find(known.begin(), known.end(), name) != known.end()) return true;
  auto& st = db_.Prepare("SELECT 1 FROM sqlite_master WHERE type='table' AND name=?");
  st.Bind(1, name);
  const bool found = st.Step();
  st.Reset();
  if (found) facts_.Get<Found>().emplace_back(name);
  return found;
}

std::optional<std::string> CompanyDb::Setting(std::string_view key) {
  try {
    auto& st = db_.Prepare("SELECT value FROM settings WHERE key=?");
    st.Bind(1, key);
    if (!st.Step()) return std::nullopt;
    return std::string(st.Text(0));
  } catch (const SqliteError&) {
    return std::nullopt;
  }
}

std::string CompanyDb::SettingOr(std::string_view key, std::string_view fallback) {
  auto v = Setting(key);
  return v ? *v : std::string(fallback);
}

void CompanyDb::SetSetting(std::string_view key, std::string_view value) {
  db_.Prepare(
         "INSERT INTO settings(key,value) VALUES(?,?) ON CONFLICT(key) DO UPDATE SET "
         "value=excluded.value")
      .Bind(1, key)
      .Bind(2, value)
      .Run();
}

int64_t CompanyDb::ListIdCounter() {
  auto& st = db_.Prepare("SELECT CAST(value AS INTEGER) FROM settings WHERE key='next_list_seq'");
  if (!st.Step()) throw SqliteError("company file has no list counter");
  return st.Int(0);
}

void CompanyDb::StoreListIdCounter(int64_t next) {
  db_.Prepare("UPDATE settings SET value=? WHERE key='next_list_seq'")
      .Bind(1, std::to_string(next))
      .Run();
}

std::string CompanyDb::NextEditSequence(std::string_view previous, const SimulatorTime& now) {
  int64_t next = now.unix_seconds;
  int64_t prev = 0;
  if (!previous.empty()) std::from_chars(previous.data(), previous.data() + previous.size(), prev);
  if (next <= prev) next = prev + 1;
  return std::to_string(next);
}

}  // namespace brennock::simulator
