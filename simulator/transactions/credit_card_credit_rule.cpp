#include "simulator/transactions/purchase_rules.h"

namespace brennock::simulator {
namespace {

// A refund to the card: the lines are credited (returned stock leaves), the card account debited.
constexpr PurchaseBook kCreditCardCredit{.party = "PayeeEntityRef",
                                         .account = "AccountRef",
                                         .account_type = "CreditCard",
                                         .total = "Amount",
                                         .sign = -1};

}  // namespace

CreditCardCreditRule::CreditCardCreditRule() : PurchaseFormRule(kCreditCardCredit) {}

}  // namespace brennock::simulator
