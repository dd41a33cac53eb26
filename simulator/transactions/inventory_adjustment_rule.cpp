#include "simulator/clock.h"
#include "simulator/ledger/stock_figures.h"
#include "simulator/lists/field_values.h"
#include "simulator/transactions/purchase_form.h"
#include "simulator/transactions/stock_moves.h"
#include "simulator/transactions/stock_rules.h"
#include "simulator/transactions/txn_store.h"

namespace brennock::simulator {
namespace {

std::string Text(pugi::xml_node node) { return std::string(Trim(node.text().get())); }

std::string AssetOf(TxnStore& store, const ItemFacts& item) {
  return item.asset_account.empty() ? store.lists().SpecialAccount("InventoryAssets")
                                    : item.asset_account;
}

}  // namespace

Status InventoryAdjustmentRule::Complete(TxnStore& store, TxnRecord& txn,
                                         std::vector<LineInput>& inputs) const {
  if (txn.voided) return RefuseVoided(txn);
  std::string_view stem = txn.kind->stem;
  std::string_view account_ref = txn.Field("AccountRef");
  auto account = store.lists().LoadById(RefId(account_ref));
  if (!account || account->account_type == "AccountsReceivable" ||
      account->account_type == "AccountsPayable" || account->account_type == "NonPosting")
    return MakeStatus(kInvalidReference, {"Account", RefName(account_ref), stem});
  if (txn.Field("TxnDate").empty()) txn.SetField("TxnDate", FormatDate(Now()));
  StockMoves stock(store.ledger());
  WithoutOwnMoves(store, txn, stock);
  for (size_t i = 0; i < txn.lines.size(); ++i) {
    TxnLine& line = txn.lines[i];
    const qbxml::Aggregate& shape = line.Shape(*txn.kind);
    std::string_view item_ref = LineField(line, shape, "ItemRef");
    const ItemFacts* item = store.items().Find(RefId(item_ref));
    if (!item) return MakeStatus(kInvalidReference, {"Item", RefName(item_ref), stem});
    if (!item->stocked())
      return RefuseTxn(txn, "Only inventory parts and assemblies are adjusted; \"" +
                                std::string(RefName(item_ref)) + "\" is neither.");
    auto stored_quantity = [&] {
      std::string_view q = LineField(line, shape, "QuantityDifference");
      return q.empty() ? std::optional<int64_t>(0) : ParseQuantity(q);
    };
    auto stored_value = [&] {
      std::string_view v = LineField(line, shape, "ValueDifference");
      return v.empty() ? std::optional<int64_t>(0) : ParseCents(v);
    };
    pugi::xml_node source = inputs[i].source;
    std::optional<int64_t> quantity = 0, value;
    if (!source) {
      quantity = stored_quantity();  // a line the request leaves alone keeps its figures
      value = stored_value();
    } else if (source.child("SerialNumberAdjustment") || source.child("LotNumberAdjustment")) {
      return RefuseTxn(txn, "The company does not track serial or lot numbers.");
    } else if (auto by = source.child("QuantityAdjustment") ? source.child("QuantityAdjustment")
                                                            : source.child("ValueAdjustment")) {
      // A new quantity is what is on hand after the lines before; a new value likewise.
      auto [on_hand, worth] = stock.OnHand(*item);
      if (auto n = by.child("NewQuantity")) {
        auto target = ParseQuantity(Text(n));
        quantity = target ? std::optional<int64_t>(*target - on_hand) : std::nullopt;
      } else if (auto d = by.child("QuantityDifference")) {
        quantity = ParseQuantity(Text(d));
      }
      if (auto n = by.child("NewValue")) {
        auto target = ParseCents(Text(n));
        value = target ? std::optional<int64_t>(*target - worth) : std::nullopt;
        if (!target) quantity.reset();
      } else if (auto d = by.child("ValueDifference")) {
        value = ParseCents(Text(d));
        if (!value) quantity.reset();
      }
    } else {
      // A Mod's line names its differences itself.
      quantity = stored_quantity();
      if (source.child("ValueDifference")) value = stored_value();
    }
    if (!quantity || (value && (*value > kMaxCents || *value < -kMaxCents)))
      return RefuseTxn(txn,
                       "A line of the adjustment has a quantity or value QuickBooks cannot "
                       "keep.");
    if (value) {
      stock.Receive(*item, *quantity, *value);
    } else {
      // Units added or removed at the average cost.
      value = -stock.Take(*item, -*quantity);
    }
    SetLineField(line, shape, "QuantityDifference", FormatQuantity(*quantity));
    SetLineField(line, shape, "ValueDifference", FormatCents(*value));
  }
  return {};
}

std::vector<Posting> InventoryAdjustmentRule::Postings(TxnStore& store,
                                                       const TxnRecord& txn) const {
  std::vector<Posting> out;
  for (const TxnLine& line : txn.lines) {
    const qbxml::Aggregate& shape = line.Shape(*txn.kind);
    const ItemFacts* item = store.items().Find(RefId(LineField(line, shape, "ItemRef")));
    if (!item) continue;
    int64_t quantity = ParseQuantity(LineField(line, shape, "QuantityDifference")).value_or(0);
    int64_t value = ParseCents(LineField(line, shape, "ValueDifference")).value_or(0);
    out.push_back(Posting::To(AssetOf(store, *item), value).Stock(item->list_id, quantity));
    out.push_back(Posting::To(txn.account_id, -value));
  }
  return out;
}

bool InventoryAdjustmentRule::WriteFromLedger(TxnStore& store, const TxnRecord& txn,
                                              std::string_view element, std::string& out) const {
  (void)store, (void)txn, (void)element, (void)out;
  return false;
}

}  // namespace brennock::simulator
