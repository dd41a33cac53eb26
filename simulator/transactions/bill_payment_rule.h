#pragma once

#include <string_view>

#include "simulator/transactions/txn_rule.h"

namespace brennock::simulator {

// A payment of a vendor's bills by check (BillPaymentCheck, from a bank account) or by credit card
// (BillPaymentCreditCard): each bill it is applied to is settled by what is paid, a discount and
// vendor credits (AppliedToTxnAdd with SetCredit), and the account pays what is paid. A check is
// numbered unless it is to be printed.
class BillPaymentRule final : public TxnRule {
 public:
  // account: "BankAccountRef" or "CreditCardAccountRef"; account_type: "Bank" or "CreditCard".
  BillPaymentRule(std::string_view account, std::string_view account_type, bool numbered)
      : account_(account), account_type_(account_type), numbered_(numbered) {}

  Status Complete(TxnStore& store, TxnRecord& txn, std::vector<LineInput>& inputs) const override;
  std::vector<Posting> Postings(TxnStore& store, const TxnRecord& txn) const override;
  bool WriteFromLedger(TxnStore& store, const TxnRecord& txn, std::string_view element,
                       std::string& out) const override;

 private:
  std::string_view account_, account_type_;
  bool numbered_;
};

}  // namespace brennock::simulator
