#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "simulator/clock.h"
#include "simulator/store/list_facts_cache.h"
#include "simulator/store/sqlite.h"

namespace brennock::simulator {

// One open company file: the SQLite database and the few company-wide values every request needs.
class CompanyDb {
 public:
  // Opens an existing company file; throws SqliteError when the file is missing or is not one.
  explicit CompanyDb(const std::string& path);
  // Creates the tables of a new company file at path (which must not exist yet).
  static std::unique_ptr<CompanyDb> Create(const std::string& path);

  Database& db() { return db_; }
  const std::string& path() const { return path_; }
  // The file cannot be written (its permissions forbid it): every change is refused.
  bool read_only() const { return db_.ReadOnly(); }
  // The file failed SQLite's integrity check when it was opened, or a read found it broken
  // since: every change is refused, so that nothing is written into a damaged file.
  bool damaged() const { return damaged_; }
  void MarkDamaged() { damaged_ = true; }

  std::optional<std::string> Setting(std::string_view key);
  std::string SettingOr(std::string_view key, std::string_view fallback);
  void SetSetting(std::string_view key, std::string_view value);

  // The ListID counter: read at the start of a write, stored back before its commit.
  int64_t ListIdCounter();
  void StoreListIdCounter(int64_t next);
  // The next EditSequence after previous (empty for a new record): the time of the change, but
  // always larger than the one it replaces.
  static std::string NextEditSequence(std::string_view previous, const SimulatorTime& now);

  // Facts read from list records, kept across requests while the list records are unchanged.
  ListFactsCache& facts() { return facts_; }
  // Whether the file has the table (older files lack some until a write makes them). A yes is
  // kept with the facts; the write that makes a table empties them, as it may be rolled back.
  bool HasTable(std::string_view name);

 private:
  CompanyDb(const std::string& path, bool create);
  void CreateSchema();

  std::string path_;
  Database db_;
  bool damaged_ = false;
  ListFactsCache facts_;
};

}  // namespace brennock::simulator
