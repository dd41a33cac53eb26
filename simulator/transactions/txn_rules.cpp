#include "simulator/transactions/charge_rule.h"
#include "simulator/transactions/credit_memo_rule.h"
#include "simulator/transactions/deposit_rule.h"
#include "simulator/transactions/estimate_rule.h"
#include "simulator/transactions/receive_payment_rule.h"
#include "simulator/transactions/sales_order_rule.h"
#include "simulator/transactions/sales_receipt_rule.h"
#include "simulator/transactions/sales_rule.h"
#include "simulator/transactions/sales_tax_payment_rule.h"
#include "simulator/transactions/txn_rule.h"

namespace brennock::simulator {

// The transaction kinds the simulator takes Add and Mod of, each with its rule. Bills, checks and
// journal entries join here as their rules are written.
const TxnRule* FindTxnRule(std::string_view stem) {
  static const SalesOnAccountRule sales_on_account;
  static const SalesReceiptRule sales_receipt;
  static const CreditMemoRule credit_memo;
  static const EstimateRule estimate;
  static const SalesOrderRule sales_order;
  static const ChargeRule charge;
  static const ReceivePaymentRule receive_payment;
  static const DepositRule deposit;
  static const SalesTaxPaymentRule sales_tax_payment;
  if (stem == "Invoice") return &sales_on_account;
  if (stem == "SalesReceipt") return &sales_receipt;
  if (stem == "CreditMemo") return &credit_memo;
  if (stem == "Estimate") return &estimate;
  if (stem == "SalesOrder") return &sales_order;
  if (stem == "Charge") return &charge;
  if (stem == "ReceivePayment") return &receive_payment;
  if (stem == "Deposit") return &deposit;
  if (stem == "SalesTaxPaymentCheck") return &sales_tax_payment;
  return nullptr;
}

}  // namespace brennock::simulator
