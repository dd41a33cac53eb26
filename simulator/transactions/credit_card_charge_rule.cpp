#include "simulator/transactions/purchase_rules.h"

namespace brennock::simulator {
namespace {

constexpr PurchaseBook kCreditCardCharge{.party = "PayeeEntityRef",
                                         .account = "AccountRef",
                                         .account_type = "CreditCard",
                                         .total = "Amount",
                                         .receives_orders = true};

}  // namespace

CreditCardChargeRule::CreditCardChargeRule() : PurchaseFormRule(kCreditCardCharge) {}

}  // namespace brennock::simulator
