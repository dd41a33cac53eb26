#include "simulator/transactions/linked_txns.h"

#include <algorithm>
#include <vector>

#include "simulator/lists/field_values.h"
#include "simulator/records/txn_link_index.h"
#include "simulator/transactions/txn_store.h"
#include "simulator/xml_writer.h"

namespace brennock::simulator {

void WriteLinkedTxns(TxnStore& store, const TxnRecord& txn, std::string& out) {
  if (!store.writing().linked_txns) return;
  struct Entry {
    std::string txn_id;
    int64_t amount;
    bool from_ledger;
  };
  std::vector<Entry> entries;
  // What the others applied shows as what they took off the open amount: a bill's open amount
  // is a credit to payables, a vendor credit's a debit.
  int64_t own = 0;
  for (const Posting& p : store.ledger().PostingsOf(txn.txn_id))
    if (p.open_id == txn.txn_id) own += p.amount;
  for (auto& [source, amount] : store.ledger().AppliedBy(txn.txn_id))
    entries.push_back({source, own < 0 ? -amount : amount, true});
  // Linked lines add up per transaction, unless the ledger told its amount already.
  TxnLinkIndex links(store.company());
  for (const auto& list : {links.LinksFrom(txn.txn_id), links.LinkedTo(txn.txn_id)})
    for (const LinkedLine& l : list) {
      auto e = std::find_if(entries.begin(), entries.end(),
                            [&](const Entry& x) { return x.txn_id == l.txn_id; });
      if (e == entries.end())
        entries.push_back({l.txn_id, l.amount, false});
      else if (!e->from_ledger)
        e->amount += l.amount;
    }
  XmlWriter w(out);
  for (const Entry& e : entries) {
    auto other = store.LoadById(e.txn_id);
    if (!other) continue;
    std::string_view type = other->kind->stem;
    bool quantities = type == "PurchaseOrder" || txn.kind->stem == "PurchaseOrder";
    w.Open("LinkedTxn");
    w.Element("TxnID", other->txn_id);
    w.Element("TxnType", type);
    w.Element("TxnDate", other->txn_date);
    if (!other->ref_number.empty()) w.Element("RefNumber", other->ref_number);
    w.Element("LinkType", quantities ? "QUANTYPE" : "AMTTYPE");
    w.Element("Amount", FormatCents(e.amount));
    w.Close("LinkedTxn");
  }
}

}  // namespace brennock::simulator
