// ReceivePaymentToDepositQueryRq: what waits in Undeposited Funds for a deposit.
#include <algorithm>

#include "simulator/handlers/handler_table.h"
#include "simulator/lists/field_values.h"
#include "simulator/transactions/txn_store.h"
#include "simulator/transactions/undeposited_funds.h"
#include "simulator/xml_writer.h"

namespace brennock::simulator {
namespace {

// Payments and sales receipts with money in Undeposited Funds, by date, each with what it has
// there (all of it: QuickBooks deposits a payment whole).
Status ReceivePaymentToDepositQuery(RequestContext& ctx) {
  std::vector<std::string> include;
  for (auto e : ctx.request.children("IncludeRetElement"))
    include.emplace_back(Trim(e.text().get()));
  auto wanted = [&](std::string_view name) {
    return include.empty() || std::find(include.begin(), include.end(), name) != include.end();
  };
  TxnStore store(ctx.lists);
  std::vector<std::pair<TxnRecord, int64_t>> waiting;
  for (const auto& [id, amount] : AllUndeposited(store))
    if (auto txn = store.LoadById(id)) waiting.emplace_back(std::move(*txn), amount);
  std::stable_sort(waiting.begin(), waiting.end(), [](const auto& a, const auto& b) {
    return a.first.txn_date != b.first.txn_date ? a.first.txn_date < b.first.txn_date
                                                : a.first.row < b.first.row;
  });
  if (waiting.empty()) return ctx.Respond(MakeStatus(kNoMatch));
  Status status;
  ctx.OpenResponse(status);
  XmlWriter w(ctx.out);
  for (const auto& [txn, amount] : waiting) {
    w.Open("ReceivePaymentToDepositRet");
    if (wanted("TxnID")) w.Element("TxnID", txn.txn_id);
    if (wanted("TxnType")) w.Element("TxnType", txn.kind->stem);
    if (wanted("CustomerRef") && !txn.entity_id.empty())
      store.refs().Write(ctx.out, "CustomerRef", txn.Field("CustomerRef"));
    if (wanted("TxnDate")) w.Element("TxnDate", txn.txn_date);
    if (wanted("RefNumber") && !txn.ref_number.empty()) w.Element("RefNumber", txn.ref_number);
    if (wanted("Amount")) w.Element("Amount", FormatCents(amount));
    w.Close("ReceivePaymentToDepositRet");
  }
  ctx.CloseResponse();
  return status;
}

}  // namespace

void RegisterDepositHandlers(HandlerTable& table) {
  table.Add("ReceivePaymentToDepositQueryRq", ReceivePaymentToDepositQuery, false);
}

}  // namespace brennock::simulator
