// BillToPayQueryRq: a vendor's open bills (BillToPay) and the vendor credits it has left to apply
// (CreditToApply), as QuickBooks lists them for paying bills.
#include "simulator/handlers/handler_table.h"
#include "simulator/lists/field_values.h"
#include "simulator/transactions/payables.h"
#include "simulator/transactions/txn_store.h"

namespace brennock::simulator {
namespace {

Status BillToPayQuery(RequestContext& ctx) {
  Status status;
  auto payee =
      ctx.lists.refs().Resolve(ctx.request.child("PayeeEntityRef"), "BillToPay query", status);
  if (!payee) return ctx.Respond(status);
  std::string account;
  if (pugi::xml_node ref = ctx.request.child("APAccountRef")) {
    auto found = ctx.lists.refs().Resolve(ref, "BillToPay query", status);
    if (!found) return ctx.Respond(status);
    account = RefId(*found);
  }
  std::string due_by(Trim(ctx.request.child_value("DueDate")));
  if (!due_by.empty() && !NormalizeValue(qbxml::ValueType::kDate, due_by))
    return ctx.Respond(MakeStatus(kConversionError, {"date", due_by, "DueDate"}));
  TxnStore store(ctx.lists);
  std::string body;
  size_t count = WriteBillsToPay(store, RefId(*payee), account, due_by, body);
  // A payee with nothing to pay is answered with status 0 and no records, as QuickBooks does.
  ctx.OpenResponse(status, {}, count == 0);
  if (count == 0) return status;
  ctx.out += body;
  ctx.CloseResponse();
  return status;
}

}  // namespace

void RegisterPayablesHandlers(HandlerTable& table) {
  table.Add("BillToPayQueryRq", BillToPayQuery, false);
}

}  // namespace brennock::simulator
