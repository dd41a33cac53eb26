#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "simulator/transactions/txn_record.h"

namespace brennock::simulator {

class TxnStore;

// How transactions stand to each other. Two kinds of tie:
//   - a line billed from a line of another transaction (an invoice line from an estimate or sales
//     order line, kept on the line as kLineLinkField), mirrored into the txn_links table so that
//     the billed side finds what billed it; an order's open lines go to order_lines;
//   - a transaction that moves another's open balance (a payment or credit applied to an invoice,
//     a deposit of undeposited funds), which the ledger's postings already say.
// LinkedTxn answers both, from either side. One instance serves one request.
class TxnLinks {
 public:
  explicit TxnLinks(TxnStore& store) : store_(store) {}

  // After a transaction is stored (added, changed or voided): its line links and, for an order,
  // its open lines, as they are now. A voided transaction links to nothing.
  void Saved(const TxnRecord& txn);
  // A deleted transaction's links and open lines go with it.
  void Deleted(const TxnRecord& txn);
  // Why the transaction may not be voided or deleted: the transactions that bill its lines or
  // move its open balance. Empty when none does.
  std::string Dependents(const TxnRecord& txn);

  // What other transactions have billed of each line of an order or estimate, by TxnLineID, in
  // hundred-thousandths of a unit.
  const std::unordered_map<std::string, int64_t>& Billed(const std::string& txn_id);

  // The LinkedTxn elements of a transaction: what it bills and what bills it (LinkType
  // "QUANTYPE", the billed lines' amount), then what moved its open balance (LinkType "AMTTYPE",
  // by how much), in date order.
  void WriteLinkedTxns(std::string& out, const TxnRecord& txn);

 private:
  bool TablesExist();
  void EnsureTables();

  TxnStore& store_;
  std::optional<bool> tables_;
  std::pair<std::string, std::unordered_map<std::string, int64_t>> billed_;
};

// Whether a kind keeps open order lines (sales orders: lines with an "Invoiced" quantity).
bool IsOrderKind(const TxnKind& kind);

}  // namespace brennock::simulator
