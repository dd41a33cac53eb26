#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "simulator/transactions/txn_rule.h"

namespace brennock::simulator {

class StockMoves;

// How one kind of vendor-side form is booked: who it is with, the account it owes or pays from,
// where its amount shows, and which way its lines go.
struct PurchaseBook {
  std::string_view party = {};         // "VendorRef" or "PayeeEntityRef"
  std::string_view account = {};       // "APAccountRef", "AccountRef"; empty: none (an order)
  std::string_view account_type = {};  // the account's AccountType: "AccountsPayable", "Bank" ...
  std::string_view total = {};         // the Ret element of the form's amount
  int sign = 1;                        // +1: the lines are debits (bills, checks); -1: credits
  bool posts = true;                   // an order posts nothing
  bool numbered = false;               // QuickBooks numbers it (RefNumber) unless told otherwise
  bool receives_orders = false;        // takes LinkToTxnID / LinkToTxn of purchase order lines
  bool bills_receipts = false;         // takes LinkToTxnID of an item receipt (a bill)
};

// The rule of a vendor-side form, by its book; each kind adds the figures it shows.
class PurchaseFormRule : public TxnRule {
 public:
  explicit PurchaseFormRule(const PurchaseBook& book) : book_(book) {}
  Status Complete(TxnStore& store, TxnRecord& txn, std::vector<LineInput>& inputs) const override;
  std::vector<Posting> Postings(TxnStore& store, const TxnRecord& txn) const override;
  // LinkedTxn; a kind's own figures in its override.
  bool WriteFromLedger(TxnStore& store, const TxnRecord& txn, std::string_view element,
                       std::string& out) const override;
  Status CheckRemove(TxnStore& store, const TxnRecord& txn, bool void_it) const override;

 protected:
  PurchaseBook book_;
};

// A refusal of the transaction being saved (3180) or changed (3170), with QuickBooks' reason.
Status RefuseTxn(const TxnRecord& txn, std::string why);

// The refusal of a change to a void transaction, which QuickBooks keeps as it was voided.
Status RefuseVoided(const TxnRecord& txn);

// The stored reference value ("ListID<US>FullName") of a list record.
std::string RefTo(TxnStore& store, std::string_view list_id);

// Completes a vendor-side form (bill, item receipt, vendor credit, check, credit card charge and
// credit, purchase order): QuickBooks' defaults from the vendor (terms, due date, address), the
// account the form owes or pays from, lines copied from a purchase order or item receipt it is
// linked to, and the lines' descriptions, costs and amounts from their items; its total.
Status CompletePurchaseForm(TxnStore& store, TxnRecord& txn, std::vector<LineInput>& inputs,
                            const PurchaseBook& book);

// The double entry of a vendor-side form: each line's account (the item's stock, its purchase
// account, an expense line's account) for its amount, the form's account (A/P, bank, card) for
// the total; a line billed from an item receipt moves the receipt's payable instead of stock.
std::vector<Posting> PostPurchaseForm(TxnStore& store, const TxnRecord& txn,
                                      const PurchaseBook& book);

// A bill, receipt or credit that others applied to or billed may not be deleted or voided;
// and the refusal of a change that would leave less than they took.
Status CheckNothingDependsOn(TxnStore& store, const TxnRecord& txn, bool void_it);

// Starts the stock of a changed transaction from the books without its own moves, so that what
// it costs is figured as if it had not been there (the store takes them back after completing).
void WithoutOwnMoves(TxnStore& store, const TxnRecord& txn, StockMoves& stock);

}  // namespace brennock::simulator
