#pragma once

#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "simulator/ledger/ledger.h"
#include "simulator/records/txn_link_index.h"
#include "simulator/status_codes.h"
#include "simulator/transactions/txn_record.h"

namespace brennock::simulator {

class TxnStore;

// What a request said about one line, beyond its stored fields: the store fills it while it reads
// the request, the rule reads it to complete the line.
struct LineInput {
  bool new_line = true;          // added by this request (an Add, or "-1" in a Mod)
  bool amount_given = false;     // the request names the amount
  bool pricing_changed = false;  // the request names the item, quantity or rate
  bool expand = false;           // a group line whose members are made from its item group
  std::vector<LineInput> members;
  // The request's line aggregate, for what it says beyond the Ret's fields (LinkToTxn ...);
  // empty for a line the request leaves as it is.
  pugi::xml_node source;

  // A stored line the request leaves as it is.
  static LineInput Kept() {
    LineInput input;
    input.new_line = false;
    return input;
  }
};

// What one kind of transaction adds to the generic store: QuickBooks' defaults and computed
// figures, and its postings. Adding a kind (sales receipts, bills, checks, journal entries ...) is
// writing its rule and registering it in txn_rules.cpp.
class TxnRule {
 public:
  virtual ~TxnRule() = default;

  // Fills in what QuickBooks fills in (from the customer or vendor, the terms, the items) and
  // computes line amounts and totals of a new or changed transaction; inputs parallel its lines.
  // A status that is not OK refuses the request.
  virtual Status Complete(TxnStore& store, TxnRecord& txn,
                          std::vector<LineInput>& inputs) const = 0;
  // The double entry of a stored transaction that is not void, against the books as they stand.
  virtual std::vector<Posting> Postings(TxnStore& store, const TxnRecord& txn) const = 0;
  // Writes a Ret field the books decide (BalanceRemaining, IsPaid ...); false for any other.
  virtual bool WriteFromLedger(TxnStore& store, const TxnRecord& txn, std::string_view element,
                               std::string& out) const = 0;

  // The same for a field of a line, given the line's aggregate (what a sales order line has
  // invoiced, a purchase order line's ReceivedQuantity ...).
  virtual bool WriteLineFromLedger(TxnStore& /*store*/, const TxnRecord& /*txn*/,
                                   const TxnLine& /*line*/, const qbxml::Aggregate& /*shape*/,
                                   std::string_view /*element*/, std::string& /*out*/) const {
    return false;
  }
  // Whether the transaction may be deleted (void_it: voided) as the books stand; QuickBooks
  // refuses to take away what other transactions stand on. Anything goes by default.
  virtual Status CheckRemove(TxnStore& store, const TxnRecord& txn, bool void_it) const {
    (void)store, (void)txn, (void)void_it;
    return {};
  }
  // The lines of a purchase order still open for receiving or billing (ListID of the item,
  // quantity), which the store keeps in the company file's order book; none by default.
  virtual std::vector<OrderLine> OpenOrderLines(const TxnRecord& txn) const {
    (void)txn;
    return {};
  }
};

// The rule of a transaction kind; null while the simulator takes no Add or Mod of that kind.
const TxnRule* FindTxnRule(std::string_view stem);

}  // namespace brennock::simulator
