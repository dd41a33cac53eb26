#pragma once

#include <cstdint>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "simulator/lists/list_record.h"
#include "simulator/status_codes.h"
#include "simulator/store/company_db.h"

namespace brennock::simulator {

// Which records of one or more lists a query selects. Text criteria are compared without regard
// to letter case, as QuickBooks does.
struct ListFilter {
  enum class Active { kActiveOnly, kInactiveOnly, kAll };
  std::vector<std::string_view> types;
  Active active = Active::kActiveOnly;
  std::optional<int64_t> from_modified;  // Unix seconds, inclusive
  std::optional<int64_t> to_modified;
  std::string name_like;  // SQL LIKE pattern with '\' as escape; empty: no filter
  std::optional<std::string> name_from;
  std::optional<std::string> name_to;
  std::string balance_operator;  // "<", "<=", "=", ">", ">=" or empty
  int64_t balance_cents = 0;
  std::vector<std::string> account_types;
};

// How a record is written: which top-level elements (empty: all) and whose data extensions.
struct RetOptions {
  std::unordered_set<std::string> include;
  std::vector<std::string> owner_ids;
};

struct DeletedRecord {
  std::string list_type;
  std::string list_id;
  std::string full_name;
  std::string time_deleted;
};

// Stores, changes, finds and writes list records of every kind from the list descriptors. One
// store serves one request document; it caches full names of referenced records meanwhile.
class ListStore {
 public:
  explicit ListStore(CompanyDb& company) : company_(company) {}
  // Stores the ListID counter back; call before committing a document that added records.
  void Flush();
  // Where the ListID counter stands, and a return there: a request that is rolled back gives
  // back the ListIDs it took, so a refused add leaves the company file as it was.
  struct CounterMark {
    int64_t next;
    bool changed;
  };
  CounterMark Mark() const { return {next_list_seq_, counter_changed_}; }
  void Rewind(CounterMark mark) {
    next_list_seq_ = mark.next;
    counter_changed_ = mark.changed;
  }

  Status Add(const ListType& type, pugi::xml_node add, ListRecord& out);
  Status Modify(const ListType& type, pugi::xml_node mod, ListRecord& out);
  Status Delete(const ListType& type, std::string_view list_id, DeletedRecord& out);
  // Inserts a complete record as is, without checks (the sample-business generator's bulk
  // path); assigns its ListID, times and EditSequence.
  void InsertPrepared(ListRecord& record);

  std::optional<ListRecord> LoadByRow(int64_t row);
  std::optional<ListRecord> LoadById(std::string_view list_id);
  std::optional<ListRecord> LoadByFullName(const ListType& type, std::string_view full_name);
  std::vector<int64_t> Select(const ListFilter& filter);

  void WriteRet(std::string& out, const ListRecord& record, const RetOptions& options);
  // Writes <tag><ListID/><FullName/></tag> for a stored reference value.
  void WriteRef(std::string& out, std::string_view tag, std::string_view stored);
  // The ListID<US>FullName value of a ...Ref element, checked against the lists it may name.
  std::optional<std::string> ResolveRef(pugi::xml_node ref, const ListType* parent_list,
                                        const ListType& owner, Status& status);
  // Writes the children of a request aggregate in the order of the catalogue's aggregate,
  // resolving references on the way. False (with status) when a value or reference is bad.
  bool RenderAggregate(pugi::xml_node node, const qbxml::Aggregate& shape, const ListType& owner,
                       std::string& out, Status& status);

 private:
  bool MergeAggregate(const std::string& current, pugi::xml_node changes,
                      const qbxml::Aggregate& shape, const ListType& owner, std::string& out,
                      Status& status);
  Status ApplyFields(const ListType& type, pugi::xml_node source, bool modify, ListRecord& rec,
                     std::optional<ListRecord>& parent, bool& parent_given);
  void InsertNew(ListRecord& record);
  std::optional<ListRecord> ReadRow(Statement& st);
  std::string CurrentFullName(std::string_view list_id, std::string_view fallback);
  // Appends a stored aggregate with the references inside it named as their records are now:
  // they were stored with the full name of the time, and records get renamed.
  void AppendWithCurrentNames(std::string& out, std::string_view text);
  void AdjustAncestorTotals(std::string_view parent_id, int64_t delta);
  void Store(const ListRecord& rec, bool insert);
  bool NameTaken(const ListType& type, std::string_view full_name, std::string_view except_id);

  std::string NextListId(const SimulatorTime& now);

  CompanyDb& company_;
  int64_t next_list_seq_ = 0;  // 0: not read yet
  bool counter_changed_ = false;
  std::unordered_map<std::string, std::string> full_names_;
};

}  // namespace brennock::simulator
