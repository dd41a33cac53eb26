#include "simulator/transactions/bill_payment_rule.h"
#include "simulator/transactions/charge_rule.h"
#include "simulator/transactions/credit_memo_rule.h"
#include "simulator/transactions/deposit_rule.h"
#include "simulator/transactions/estimate_rule.h"
#include "simulator/transactions/journal_entry_rule.h"
#include "simulator/transactions/purchase_rules.h"
#include "simulator/transactions/receive_payment_rule.h"
#include "simulator/transactions/sales_order_rule.h"
#include "simulator/transactions/sales_receipt_rule.h"
#include "simulator/transactions/sales_rule.h"
#include "simulator/transactions/sales_tax_payment_rule.h"
#include "simulator/transactions/stock_rules.h"
#include "simulator/transactions/time_tracking_rule.h"
#include "simulator/transactions/txn_rule.h"

namespace brennock::simulator {
namespace {

struct RuleRow {
  std::string_view stem;
  const TxnRule* rule;
};

}  // namespace

// The transaction kinds the simulator takes Add and Mod of, each with its rule.
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
  static const BillRule bill;
  static const ItemReceiptRule item_receipt;
  static const VendorCreditRule vendor_credit;
  static const CheckRule check;
  static const CreditCardChargeRule credit_card_charge;
  static const CreditCardCreditRule credit_card_credit;
  static const PurchaseOrderRule purchase_order;
  static const BillPaymentRule bill_payment_check("BankAccountRef", "Bank", true);
  static const BillPaymentRule bill_payment_card("CreditCardAccountRef", "CreditCard", false);
  static const JournalEntryRule journal_entry;
  static const TimeTrackingRule time_tracking;
  static const InventoryAdjustmentRule inventory_adjustment;
  static const BuildAssemblyRule build_assembly;
  static const RuleRow kRules[] = {
      {"Invoice", &sales_on_account},
      {"SalesReceipt", &sales_receipt},
      {"CreditMemo", &credit_memo},
      {"Estimate", &estimate},
      {"SalesOrder", &sales_order},
      {"Charge", &charge},
      {"ReceivePayment", &receive_payment},
      {"Deposit", &deposit},
      {"SalesTaxPaymentCheck", &sales_tax_payment},
      {"Bill", &bill},
      {"ItemReceipt", &item_receipt},
      {"VendorCredit", &vendor_credit},
      {"Check", &check},
      {"CreditCardCharge", &credit_card_charge},
      {"CreditCardCredit", &credit_card_credit},
      {"PurchaseOrder", &purchase_order},
      {"BillPaymentCheck", &bill_payment_check},
      {"BillPaymentCreditCard", &bill_payment_card},
      {"JournalEntry", &journal_entry},
      {"TimeTracking", &time_tracking},
      {"InventoryAdjustment", &inventory_adjustment},
      {"BuildAssembly", &build_assembly},
  };
  for (const auto& row : kRules)
    if (row.stem == stem) return row.rule;
  return nullptr;
}

}  // namespace brennock::simulator
