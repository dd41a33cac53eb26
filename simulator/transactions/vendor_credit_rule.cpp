#include "simulator/lists/field_values.h"
#include "simulator/transactions/payables.h"
#include "simulator/transactions/purchase_rules.h"
#include "simulator/xml_writer.h"

namespace brennock::simulator {
namespace {

constexpr PurchaseBook kVendorCredit{.party = "VendorRef",
                                     .account = "APAccountRef",
                                     .account_type = "AccountsPayable",
                                     .total = "CreditAmount",
                                     .sign = -1};

}  // namespace

VendorCreditRule::VendorCreditRule() : PurchaseFormRule(kVendorCredit) {}

bool VendorCreditRule::WriteFromLedger(TxnStore& store, const TxnRecord& txn,
                                       std::string_view element, std::string& out) const {
  if (element != "OpenAmount") return PurchaseFormRule::WriteFromLedger(store, txn, element, out);
  XmlWriter(out).Element(element, FormatCents(txn.voided ? 0 : OpenToSettle(store, txn)));
  return true;
}

}  // namespace brennock::simulator
