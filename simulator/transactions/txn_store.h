#pragma once

#include <cstdint>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "simulator/clock.h"
#include "simulator/lists/list_store.h"
#include "simulator/store/txn_counters.h"
#include "simulator/transactions/item_facts.h"
#include "simulator/transactions/txn_links.h"
#include "simulator/transactions/txn_record.h"
#include "simulator/transactions/txn_rule.h"

namespace brennock::simulator {

// Which transactions of one kind a query selects.
struct TxnFilter {
  const TxnKind* kind = nullptr;
  std::vector<std::string> txn_ids;
  std::vector<std::string> ref_numbers;  // any letter case
  std::vector<std::string> ref_numbers_exact;
  std::optional<int64_t> from_modified, to_modified;  // Unix seconds, inclusive
  std::optional<std::string> from_date, to_date;      // "2024-03-05", inclusive
  std::vector<std::string> entity_ids;                // with their sub-records when asked
  std::vector<std::string> account_ids;
  std::vector<std::string> item_ids;  // a line (or the header) names one of them
  std::string ref_like;               // SQL LIKE pattern with '\' as escape
  std::optional<std::string> ref_from, ref_to;
  std::vector<std::string> currency_ids;
  enum class Paid { kAll, kPaidOnly, kNotPaidOnly } paid = Paid::kAll;
  std::vector<std::string> named_ids;  // records named by the header or a line (any of them)
  std::optional<bool> pending;         // IsPending of a build
};

struct DeletedTxn {
  std::string txn_type, txn_id, ref_number, time_deleted;
};

// Stores, changes, finds and writes transactions of every kind from the catalogue's shapes, as
// the list store does list records; the kind's rule computes figures and postings, the ledger
// keeps them. One store serves one request.
class TxnStore {
 public:
  explicit TxnStore(ListStore& lists) : lists_(lists) {}

  ListStore& lists() { return lists_; }
  References& refs() { return lists_.refs(); }
  Ledger& ledger() { return lists_.ledger(); }
  CompanyDb& company() { return lists_.company(); }
  // Items read once per request, for the rule's completing and posting alike.
  ItemCatalog& items() { return items_; }
  // What a transaction still has open (the ledger's answer, remembered while it is written).
  int64_t OpenBalance(const std::string& txn_id);
  // How transactions stand to each other (billed lines, applications, deposits).
  TxnLinks& links() { return links_; }
  // The Add or Mod aggregate being applied, for a rule that reads what the Ret does not keep
  // (LinkToTxnID, applications, deposited payments); empty outside Add and Modify.
  pugi::xml_node request() const { return request_; }
  // How the Ret being written is answered (IncludeLinkedTxns, line items ...).
  const RetOptions& writing() const { return *writing_; }

  Status Add(const TxnKind& kind, const TxnRule& rule, pugi::xml_node add, TxnRecord& out);
  Status Modify(const TxnKind& kind, const TxnRule& rule, pugi::xml_node mod, TxnRecord& out);
  // Void keeps the transaction with every amount zero and "VOID: " before its memo, and takes
  // back its postings; delete removes it and its postings.
  Status Void(const TxnKind& kind, std::string_view txn_id, TxnRecord& out);
  Status Delete(const TxnKind& kind, std::string_view txn_id, DeletedTxn& out);

  std::optional<TxnRecord> LoadById(std::string_view txn_id);
  std::optional<TxnRecord> LoadByRow(int64_t row);
  std::vector<int64_t> Select(const TxnFilter& filter);

  void WriteRet(std::string& out, const TxnRecord& txn, const RetOptions& options);

  // A TxnID or TxnLineID as QuickBooks makes them, "1A-1700000000": a hex counter shared by
  // transactions and their lines, then the time.
  std::string NextId();
  // QuickBooks numbers forms one after the last number it gave a form of the kind.
  std::string NextRefNumber();

 private:
  Status ApplyHeader(const TxnKind& kind, pugi::xml_node source, bool modify, TxnRecord& txn);
  Status ApplyLine(const TxnKind& kind, const qbxml::Aggregate& shape, pugi::xml_node source,
                   TxnLine& line, LineInput& input);
  Status ApplyLines(const TxnKind& kind, pugi::xml_node source, bool modify, TxnRecord& txn,
                    std::vector<LineInput>& inputs);
  void AssignLineIds(std::vector<TxnLine>& lines);
  void FillColumns(TxnRecord& txn);
  std::optional<TxnRecord> ReadRow(Statement& st);
  void Store(const TxnRecord& txn, bool insert);
  // The counters of TxnIDs, TxnNumbers and RefNumbers, read once and stored once per request.
  void ReadCounters(const TxnKind& kind);
  void StoreCounters();
  void WriteLine(std::string& out, const TxnRecord& txn, const TxnLine& line,
                 const qbxml::Aggregate& shape, const RetOptions& options);

  ListStore& lists_;
  ItemCatalog items_{lists_};
  TxnLinks links_{*this};
  pugi::xml_node request_;
  bool counters_read_ = false;
  std::string ref_key_;  // the setting of the kind's last RefNumber
  TxnCounters counters_;
  std::pair<std::string, int64_t> open_;  // the last open balance asked for
  SimulatorTime now_{};
  RetOptions default_options_;
  const RetOptions* writing_ = &default_options_;
};

}  // namespace brennock::simulator
