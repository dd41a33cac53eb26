#include "cli/app/txn_kinds.h"

#include <algorithm>

#include "brennock/internal/qbxml/catalogue.h"

namespace brennock::cli {
namespace {

constexpr TxnWords kTxnWords[] = {
    {"invoice", "Invoice", "invoice", "CustomerRef",
     "RefNumber,TxnDate,CustomerRef,DueDate,Subtotal,SalesTaxTotal,BalanceRemaining,IsPaid"},
    {"salesreceipt", "SalesReceipt", "sales receipt", "CustomerRef",
     "RefNumber,TxnDate,CustomerRef,PaymentMethodRef,Subtotal,SalesTaxTotal,TotalAmount,"
     "DepositToAccountRef"},
    {"creditmemo", "CreditMemo", "credit memo", "CustomerRef",
     "RefNumber,TxnDate,CustomerRef,Subtotal,SalesTaxTotal,TotalAmount,CreditRemaining"},
    {"estimate", "Estimate", "estimate", "CustomerRef",
     "RefNumber,TxnDate,CustomerRef,DueDate,Subtotal,SalesTaxTotal,TotalAmount,IsActive"},
    {"salesorder", "SalesOrder", "sales order", "CustomerRef",
     "RefNumber,TxnDate,CustomerRef,ShipDate,TotalAmount,IsFullyInvoiced,IsManuallyClosed"},
    {"charge", "Charge", "statement charge", "CustomerRef",
     "RefNumber,TxnDate,CustomerRef,ItemRef,Quantity,Amount,BalanceRemaining,IsPaid"},
    {"payment", "ReceivePayment", "payment", "CustomerRef",
     "RefNumber,TxnDate,CustomerRef,PaymentMethodRef,TotalAmount,UnusedPayment,"
     "DepositToAccountRef"},
    {"deposit", "Deposit", "deposit", "", "TxnDate,DepositToAccountRef,DepositTotal,Memo"},
    {"salestaxcheck", "SalesTaxPaymentCheck", "sales tax payment check", "PayeeEntityRef",
     "RefNumber,TxnDate,PayeeEntityRef,BankAccountRef,Amount,Memo"},
    {"purchaseorder", "PurchaseOrder", "purchase order", "VendorRef",
     "RefNumber,TxnDate,VendorRef,ExpectedDate,TotalAmount,IsFullyReceived,IsManuallyClosed",
     TxnForm::kPurchase, "TotalAmount=amount"},
    {"itemreceipt", "ItemReceipt", "item receipt", "VendorRef",
     "RefNumber,TxnDate,VendorRef,TotalAmount,Memo", TxnForm::kPurchase, "TotalAmount=amount"},
    {"bill", "Bill", "bill", "VendorRef",
     "RefNumber,TxnDate,VendorRef,DueDate,OpenAmount,AmountDue,IsPaid", TxnForm::kPurchase,
     "OpenAmount=amount,AmountDue=due"},
    {"vendorcredit", "VendorCredit", "vendor credit", "VendorRef",
     "RefNumber,TxnDate,VendorRef,CreditAmount,OpenAmount", TxnForm::kPurchase,
     "CreditAmount=credit,OpenAmount=open"},
    {"check", "Check", "check", "PayeeEntityRef",
     "RefNumber,TxnDate,AccountRef,PayeeEntityRef,Amount,Memo", TxnForm::kPurchase, "Amount=amount",
     "AccountRef"},
    {"creditcardcharge", "CreditCardCharge", "credit card charge", "PayeeEntityRef",
     "RefNumber,TxnDate,AccountRef,PayeeEntityRef,Amount,Memo", TxnForm::kPurchase, "Amount=amount",
     "AccountRef"},
    {"creditcardcredit", "CreditCardCredit", "credit card credit", "PayeeEntityRef",
     "RefNumber,TxnDate,AccountRef,PayeeEntityRef,Amount,Memo", TxnForm::kPurchase, "Amount=amount",
     "AccountRef"},
    {"billpaymentcheck", "BillPaymentCheck", "bill payment check", "PayeeEntityRef",
     "RefNumber,TxnDate,PayeeEntityRef,BankAccountRef,Amount", TxnForm::kBillPayment, "Amount=paid",
     "BankAccountRef"},
    {"billpaymentcreditcard", "BillPaymentCreditCard", "bill payment by credit card",
     "PayeeEntityRef", "RefNumber,TxnDate,PayeeEntityRef,CreditCardAccountRef,Amount",
     TxnForm::kBillPayment, "Amount=paid", "CreditCardAccountRef"},
    {"journalentry", "JournalEntry", "journal entry", "EntityRef", "RefNumber,TxnDate,Memo",
     TxnForm::kJournal},
    {"timetracking", "TimeTracking", "time entry", "EntityRef",
     "TxnDate,EntityRef,CustomerRef,ItemServiceRef,Duration,BillableStatus", TxnForm::kTime,
     "Duration=duration,BillableStatus=status"},
    {"inventoryadjustment",
     "InventoryAdjustment",
     "inventory adjustment",
     "CustomerRef",
     "RefNumber,TxnDate,AccountRef,Memo",
     TxnForm::kAdjustment,
     {},
     "AccountRef"},
    {"buildassembly", "BuildAssembly", "assembly build", "",
     "RefNumber,TxnDate,ItemInventoryAssemblyRef,QuantityToBuild,IsPending", TxnForm::kBuild,
     "QuantityToBuild=built,IsPending=pending"},
};

bool InRequestEnum(std::string_view request, std::string_view element, std::string_view value) {
  const qbxml::Aggregate* rq = qbxml::FindAggregate(request);
  const qbxml::Element* e = rq ? qbxml::FindElement(*rq, element) : nullptr;
  if (!e) return false;
  auto values = qbxml::EnumValues(*e);
  return std::find(values.begin(), values.end(), value) != values.end();
}

}  // namespace

const TxnWords* FindTxnWords(std::string_view command) {
  for (const auto& words : kTxnWords)
    if (words.command == command) return &words;
  return nullptr;
}

std::string TxnCommandWords() {
  std::string out;
  for (const auto& words : kTxnWords) {
    if (!out.empty()) out += ", ";
    out += words.command;
  }
  return out;
}

bool CanDeleteTxn(const TxnWords& words) {
  return InRequestEnum("TxnDelRq", "TxnDelType", words.stem);
}

bool CanVoidTxn(const TxnWords& words) {
  return InRequestEnum("TxnVoidRq", "TxnVoidType", words.stem);
}

}  // namespace brennock::cli
