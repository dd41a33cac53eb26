#include "simulator/transactions/purchase_rules.h"

namespace brennock::simulator {
namespace {

constexpr PurchaseBook kCheck{.party = "PayeeEntityRef",
                              .account = "AccountRef",
                              .account_type = "Bank",
                              .total = "Amount",
                              .numbered = true,
                              .receives_orders = true};

}  // namespace

CheckRule::CheckRule() : PurchaseFormRule(kCheck) {}

}  // namespace brennock::simulator
