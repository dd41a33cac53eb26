#include "simulator/transactions/sales_tax_payment_rule.h"

#include "simulator/clock.h"
#include "simulator/ledger/stock_figures.h"
#include "simulator/lists/field_values.h"
#include "simulator/transactions/txn_store.h"

namespace brennock::simulator {

Status SalesTaxPaymentRule::Complete(TxnStore& store, TxnRecord& txn,
                                     std::vector<LineInput>&) const {
  std::string_view stem = txn.kind->stem;
  auto refuse = [&](std::string why) {
    return MakeStatus(txn.txn_id.empty() ? kTxnCannotSave : kTxnCannotModify, {stem, why});
  };
  std::string_view payee_ref = txn.Field("PayeeEntityRef");
  auto payee = store.lists().LoadById(RefId(payee_ref));
  if (!payee || payee->type->name != "Vendor")
    return MakeStatus(kInvalidReference, {"Vendor", RefName(payee_ref), stem});
  std::string_view bank = txn.Field("BankAccountRef");
  auto account = store.lists().LoadById(RefId(bank));
  if (!account || account->account_type != "Bank")
    return MakeStatus(kInvalidReference, {"Account", RefName(bank), stem});
  if (txn.Field("TxnDate").empty()) txn.SetField("TxnDate", FormatDate(Now()));
  if (txn.Field("IsToBePrinted").empty()) txn.SetField("IsToBePrinted", "false");
  if (txn.Field("Address").empty() && !payee->Field("VendorAddress").empty())
    txn.SetField("Address", std::string(payee->Field("VendorAddress")));
  int64_t total = 0;
  for (auto& line : txn.lines) {
    const qbxml::Aggregate& shape = line.Shape(*txn.kind);
    std::string_view item_ref = LineField(line, shape, "ItemSalesTaxRef");
    const ItemFacts* item = item_ref.empty() ? nullptr : store.items().Find(RefId(item_ref));
    if (!item_ref.empty() && (!item || item->kind != "ItemSalesTax"))
      return MakeStatus(kInvalidReference, {"ItemSalesTax", RefName(item_ref), stem});
    auto amount = ParseCents(LineField(line, shape, "Amount"));
    if (!amount || *amount > kMaxCents - total || *amount < -kMaxCents - total)
      return refuse("The amount of a line is more than QuickBooks can keep.");
    total += *amount;
  }
  if (txn.lines.empty()) return refuse("A sales tax payment needs at least one line.");
  txn.SetField("Amount", FormatCents(total));
  return {};
}

std::vector<Posting> SalesTaxPaymentRule::Postings(TxnStore& store, const TxnRecord& txn) const {
  std::vector<Posting> out;
  std::string payee(RefId(txn.Field("PayeeEntityRef")));
  out.push_back(Posting::To(std::string(RefId(txn.Field("BankAccountRef"))),
                            -ParseCents(txn.Field("Amount")).value_or(0))
                    .Against(payee));
  const std::string payable = store.lists().SpecialAccount("SalesTaxPayable");
  for (const auto& line : txn.lines) {
    const qbxml::Aggregate& shape = line.Shape(*txn.kind);
    const ItemFacts* item = store.items().Find(RefId(LineField(line, shape, "ItemSalesTaxRef")));
    std::string agency = item && !item->tax_vendor.empty() ? item->tax_vendor : payee;
    out.push_back(Posting::To(payable, ParseCents(LineField(line, shape, "Amount")).value_or(0))
                      .Against(agency));
  }
  std::erase_if(out, [](const Posting& p) { return p.amount == 0; });
  return out;
}

bool SalesTaxPaymentRule::WriteFromLedger(TxnStore&, const TxnRecord&, std::string_view,
                                          std::string&) const {
  return false;
}

}  // namespace brennock::simulator
