#include <algorithm>

#include "simulator/clock.h"
#include "simulator/ledger/stock_figures.h"
#include "simulator/lists/field_values.h"
#include "simulator/records/txn_link_index.h"
#include "simulator/transactions/purchase_form.h"
#include "simulator/transactions/stock_moves.h"
#include "simulator/transactions/stock_rules.h"
#include "simulator/transactions/txn_store.h"
#include "simulator/xml_writer.h"

namespace brennock::simulator {
namespace {

bool Flag(pugi::xml_node request, const char* name) {
  return NormalizeValue(qbxml::ValueType::kBool, request.child_value(name)) == "true";
}

std::string AssetOf(TxnStore& store, const ItemFacts& item) {
  return item.asset_account.empty() ? store.lists().SpecialAccount("InventoryAssets")
                                    : item.asset_account;
}

// What one component takes for the build: its quantity per assembly times the quantity built.
int64_t Needed(int64_t per, int64_t to_build) {
  return RoundedDivide(__int128{per} * to_build, kQuantityScale);
}

int64_t ToBuild(const TxnRecord& txn) {
  return ParseQuantity(txn.Field("QuantityToBuild")).value_or(0);
}

}  // namespace

Status BuildAssemblyRule::Complete(TxnStore& store, TxnRecord& txn,
                                   std::vector<LineInput>& inputs) const {
  (void)inputs;
  const bool fresh = txn.txn_id.empty();
  std::string_view ref = txn.Field("ItemInventoryAssemblyRef");
  const ItemFacts* assembly = store.items().Find(RefId(ref));
  if (!assembly || assembly->kind != "ItemInventoryAssembly")
    return MakeStatus(kInvalidReference, {"ItemInventoryAssembly", RefName(ref), txn.kind->stem});
  if (txn.Field("TxnDate").empty()) txn.SetField("TxnDate", FormatDate(Now()));
  if (fresh && txn.Field("RefNumber").empty()) txn.SetField("RefNumber", store.NextRefNumber());
  const int64_t to_build = ToBuild(txn);
  if (to_build <= 0) return RefuseTxn(txn, "The quantity to build must be more than 0.");
  // Bounded, so that what the components give cannot overflow the books.
  for (const auto& [component, per] : assembly->components)
    if (__int128{per} * to_build > __int128{kMaxCents} * kQuantityScale)
      return RefuseTxn(txn, "The quantity to build is more than QuickBooks can keep.");
  StockMoves stock(store.ledger());
  WithoutOwnMoves(store, txn, stock);
  std::string short_of;
  for (const auto& [component, per] : assembly->components) {
    const ItemFacts* item = store.items().Find(component);
    if (item && stock.OnHand(*item).first < Needed(per, to_build) && short_of.empty())
      short_of = store.refs().CurrentFullName(component, component);
  }
  pugi::xml_node request = store.request();
  bool pending = !short_of.empty();
  if (!fresh && txn.Field("IsPending") == "true" && !Flag(request, "RemovePending"))
    pending = true;  // a pending build stays pending until asked to be built
  else if (pending && (fresh || !Flag(request, "RemovePending")) &&
           !Flag(request, "MarkPendingIfRequired"))
    return RefuseTxn(
        txn, "There are not enough components on hand to build it: \"" + short_of + "\" is short.");
  else if (pending && Flag(request, "RemovePending"))
    return RefuseTxn(txn, "The build stays pending: \"" + short_of + "\" is short.");
  txn.SetField("IsPending", pending ? "true" : "false");
  return {};
}

std::vector<Posting> BuildAssemblyRule::Postings(TxnStore& store, const TxnRecord& txn) const {
  std::vector<Posting> out;
  if (txn.Field("IsPending") == "true") return out;
  const ItemFacts* assembly = store.items().Find(RefId(txn.Field("ItemInventoryAssemblyRef")));
  if (!assembly) return out;
  const int64_t to_build = ToBuild(txn);
  StockMoves stock(store.ledger());
  int64_t cost = 0;
  for (const auto& [component, per] : assembly->components) {
    const ItemFacts* item = store.items().Find(component);
    if (!item) continue;
    int64_t units = Needed(per, to_build);
    int64_t taken = stock.Take(*item, units);
    out.push_back(Posting::To(AssetOf(store, *item), -taken).Stock(item->list_id, -units));
    cost += taken;
  }
  out.push_back(Posting::To(AssetOf(store, *assembly), cost).Stock(assembly->list_id, to_build));
  return out;
}

bool BuildAssemblyRule::WriteFromLedger(TxnStore& store, const TxnRecord& txn,
                                        std::string_view element, std::string& out) const {
  const bool lines = element == "ComponentItemLineRet";
  if (!lines && element != "QuantityCanBuild" && element != "QuantityOnHand" &&
      element != "QuantityOnSalesOrder")
    return false;
  XmlWriter w(out);
  std::string id(RefId(txn.Field("ItemInventoryAssemblyRef")));
  const ItemFacts* assembly = store.items().Find(id);
  if (element == "QuantityOnHand") {
    w.Element(element, FormatQuantity(store.ledger().Of(id).quantity));
  } else if (element == "QuantityOnSalesOrder") {
    w.Element(element, FormatQuantity(TxnLinkIndex(store.company()).Outstanding(id, "SalesOrder")));
  } else if (element == "QuantityCanBuild") {
    // Whole assemblies the components on hand make now.
    int64_t can = 0;
    bool first = true;
    for (const auto& [component, per] :
         assembly ? assembly->components : decltype(assembly->components){}) {
      if (per <= 0) continue;
      int64_t whole = std::max<int64_t>(store.ledger().Of(component).quantity, 0) / per;
      can = first ? whole : std::min(can, whole);
      first = false;
    }
    w.Element(element, FormatQuantity(can * kQuantityScale));
  } else if (assembly && store.writing().line_items) {
    const int64_t to_build = ToBuild(txn);
    for (const auto& [component, per] : assembly->components) {
      const ItemFacts* item = store.items().Find(component);
      if (!item) continue;
      w.Open(element);
      store.refs().Write(out, "ItemRef", item->ref);
      const std::string& desc =
          item->purchase_desc.empty() ? item->sales_desc : item->purchase_desc;
      if (!desc.empty()) w.Element("Desc", desc);
      w.Element("QuantityOnHand", FormatQuantity(store.ledger().Of(component).quantity));
      w.Element("QuantityNeeded", FormatQuantity(Needed(per, to_build)));
      w.Close(element);
    }
  }
  return true;
}

}  // namespace brennock::simulator
