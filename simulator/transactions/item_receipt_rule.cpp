#include "simulator/transactions/purchase_rules.h"

namespace brennock::simulator {
namespace {

constexpr PurchaseBook kItemReceipt{.party = "VendorRef",
                                    .account = "APAccountRef",
                                    .account_type = "AccountsPayable",
                                    .total = "TotalAmount",
                                    .receives_orders = true};

}  // namespace

ItemReceiptRule::ItemReceiptRule() : PurchaseFormRule(kItemReceipt) {}

}  // namespace brennock::simulator
