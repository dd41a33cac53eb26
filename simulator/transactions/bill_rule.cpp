#include "simulator/lists/field_values.h"
#include "simulator/transactions/payables.h"
#include "simulator/transactions/purchase_rules.h"
#include "simulator/xml_writer.h"

namespace brennock::simulator {
namespace {

constexpr PurchaseBook kBill{.party = "VendorRef",
                             .account = "APAccountRef",
                             .account_type = "AccountsPayable",
                             .total = "OpenAmount",
                             .receives_orders = true,
                             .bills_receipts = true};

}  // namespace

BillRule::BillRule() : PurchaseFormRule(kBill) {}

bool BillRule::WriteFromLedger(TxnStore& store, const TxnRecord& txn, std::string_view element,
                               std::string& out) const {
  if (element != "AmountDue" && element != "IsPaid")
    return PurchaseFormRule::WriteFromLedger(store, txn, element, out);
  int64_t due = txn.voided ? 0 : OpenToSettle(store, txn);
  XmlWriter(out).Element(element,
                         element == "IsPaid" ? (due == 0 ? "true" : "false") : FormatCents(due));
  return true;
}

}  // namespace brennock::simulator
