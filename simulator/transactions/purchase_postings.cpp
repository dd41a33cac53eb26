#include <optional>
#include <unordered_map>

#include "simulator/ledger/stock_figures.h"
#include "simulator/lists/field_values.h"
#include "simulator/records/txn_link_index.h"
#include "simulator/transactions/item_facts.h"
#include "simulator/transactions/purchase_form.h"
#include "simulator/transactions/stock_moves.h"
#include "simulator/transactions/txn_store.h"

namespace brennock::simulator {
namespace {

// Posts the lines of a form (and the members of its group lines).
class Poster {
 public:
  Poster(TxnStore& store, const TxnRecord& txn, const PurchaseBook& book, std::vector<Posting>& out)
      : store_(store), txn_(txn), book_(book), out_(out), party_(RefId(txn.Field(book.party))) {}

  int64_t total = 0;

  void Lines(const std::vector<TxnLine>& lines, const qbxml::Aggregate* group) {
    for (const auto& line : lines) {
      const qbxml::Aggregate& shape =
          group ? *qbxml::Nested(group->elements[line.element]) : line.Shape(*txn_.kind);
      if (!line.members.empty()) {
        Lines(line.members, &shape);
        continue;
      }
      Line(line, shape);
    }
  }

 private:
  void Line(const TxnLine& line, const qbxml::Aggregate& shape) {
    const int64_t amount = ParseCents(LineField(line, shape, "Amount")).value_or(0);
    const int64_t debit = book_.sign * amount;
    total += amount;
    if (!line.link_txn.empty())
      if (auto receipt = Receipt(line.link_txn)) {
        // Billed from a receipt: its payable becomes the bill's, its stock stays received.
        out_.push_back(Posting::To(*receipt, debit).Against(party_).Opens(line.link_txn));
        return;
      }
    if (LineIndex(shape, "ItemRef") < 0) {
      std::string account(RefId(LineField(line, shape, "AccountRef")));
      if (account.empty()) account = store_.lists().SpecialAccount("CostOfGoodsSold");
      out_.push_back(Posting::To(account, debit)
                         .Against(std::string(RefId(LineField(line, shape, "CustomerRef")))));
      return;
    }
    const ItemFacts* item = store_.items().Find(RefId(LineField(line, shape, "ItemRef")));
    if (!item) return;
    if (item->stocked()) {
      std::string_view q = LineField(line, shape, "Quantity");
      int64_t units = ParseQuantity(q.empty() ? "1" : q).value_or(0);
      std::string asset = item->asset_account.empty()
                              ? store_.lists().SpecialAccount("InventoryAssets")
                              : item->asset_account;
      out_.push_back(Posting::To(asset, debit).Stock(item->list_id, book_.sign * units));
      return;
    }
    std::string account = item->expense_account.empty()
                              ? store_.lists().SpecialAccount("CostOfGoodsSold")
                              : item->expense_account;
    out_.push_back(Posting::To(account, debit));
  }

  // The A/P account of an item receipt a line was billed from; nothing for any other link.
  std::optional<std::string> Receipt(const std::string& txn_id) {
    auto it = receipts_.find(txn_id);
    if (it == receipts_.end()) {
      std::optional<std::string> account;
      if (auto t = store_.LoadById(txn_id); t && t->kind->stem == "ItemReceipt")
        account = t->account_id;
      it = receipts_.emplace(txn_id, account).first;
    }
    return it->second;
  }

  TxnStore& store_;
  const TxnRecord& txn_;
  const PurchaseBook& book_;
  std::vector<Posting>& out_;
  std::string party_;
  std::unordered_map<std::string, std::optional<std::string>> receipts_;
};

}  // namespace

std::vector<Posting> PostPurchaseForm(TxnStore& store, const TxnRecord& txn,
                                      const PurchaseBook& book) {
  std::vector<Posting> out;
  if (!book.posts) return out;
  Poster poster(store, txn, book, out);
  poster.Lines(txn.lines, nullptr);
  const std::string party(RefId(txn.Field(book.party)));
  Posting own = Posting::To(txn.account_id, -book.sign * poster.total).Against(party);
  // What a bill or receipt owes, and a vendor credit is owed, stays open under its own TxnID.
  if (book.account_type == "AccountsPayable") own = std::move(own).Opens(txn.txn_id);
  out.push_back(std::move(own));
  return out;
}

Status CheckNothingDependsOn(TxnStore& store, const TxnRecord& txn, bool void_it) {
  int64_t own = 0;
  for (const Posting& p : store.ledger().PostingsOf(txn.txn_id))
    if (p.open_id == txn.txn_id) own += p.amount;
  bool applied = store.ledger().OpenBalance(txn.txn_id) != own;
  bool linked = !TxnLinkIndex(store.company()).LinkedTo(txn.txn_id).empty();
  if (!applied && !linked) return {};
  // Named as the sales forms name what stands on them.
  std::string why = store.links().Dependents(txn);
  if (why.empty())
    why = "Payments, credits, receipts or bills are linked or applied to it; remove them first.";
  return MakeStatus(void_it ? kTxnCannotVoid : kTxnCannotDelete, {txn.kind->stem, why});
}

void WithoutOwnMoves(TxnStore& store, const TxnRecord& txn, StockMoves& stock) {
  if (txn.txn_id.empty()) return;
  for (const Posting& p : store.ledger().PostingsOf(txn.txn_id))
    if (!p.item_id.empty())
      if (const ItemFacts* item = store.items().Find(p.item_id))
        stock.Receive(*item, -p.quantity, -p.amount);
}

}  // namespace brennock::simulator
