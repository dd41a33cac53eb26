#pragma once

#include <cstdint>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "simulator/ledger/ledger.h"
#include "simulator/lists/list_record.h"
#include "simulator/records/references.h"
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
  bool line_items = true;    // a transaction's lines
  bool linked_txns = false;  // a transaction's LinkedTxn elements
};

struct DeletedRecord {
  std::string list_type;
  std::string list_id;
  std::string full_name;
  std::string time_deleted;
};

// Stores, changes, finds and writes list records of every kind from the list descriptors. One
// store serves one request document; it caches full names of referenced records meanwhile. The
// balances a record shows come from the ledger, which it hands on to the transaction handlers.
class ListStore {
 public:
  explicit ListStore(CompanyDb& company) : company_(company), refs_(company), ledger_(company) {}

  CompanyDb& company() { return company_; }
  References& refs() { return refs_; }
  Ledger& ledger() { return ledger_; }
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
  void WriteRef(std::string& out, std::string_view tag, std::string_view stored) {
    refs_.Write(out, tag, stored);
  }
  // QuickBooks' special account of a kind ("AccountsReceivable", "OpeningBalanceEquity",
  // "SalesTaxPayable" ...): the account marked so, else one of its type and usual name; QuickBooks
  // makes it when the company has none, and so does the store. Returns its ListID.
  std::string SpecialAccount(std::string_view special);

 private:
  Status ApplyFields(const ListType& type, pugi::xml_node source, bool modify, ListRecord& rec,
                     std::optional<ListRecord>& parent, bool& parent_given);
  void InsertNew(ListRecord& record);
  std::optional<ListRecord> ReadRow(Statement& st);
  // The opening balance of a new account, customer or vendor, or the opening stock of an
  // inventory part or assembly, posted against Opening Balance Equity.
  Status PostOpening(const ListRecord& rec, pugi::xml_node add);
  void WriteLedgerField(std::string& out, const ListRecord& rec, std::string_view name);
  bool InUse(std::string_view list_id);
  void Store(const ListRecord& rec, bool insert);
  bool NameTaken(const ListType& type, std::string_view full_name, std::string_view except_id);

  std::string NextListId(const SimulatorTime& now);

  CompanyDb& company_;
  int64_t next_list_seq_ = 0;  // 0: not read yet
  bool counter_changed_ = false;
  References refs_;
  Ledger ledger_;
  std::optional<bool> order_tables_;  // whether the file has the order tables yet
};

}  // namespace brennock::simulator
