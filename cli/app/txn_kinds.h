#pragma once

#include <string>
#include <string_view>

namespace brennock::cli {

// What `add` asks for to write a kind's Add: a customer and item lines (sales forms), a vendor
// or payee with item and expense lines (the buying side), payments applied to bills, debits and
// credits, time worked, stock counted, assemblies built.
enum class TxnForm { kSale, kPurchase, kBillPayment, kJournal, kTime, kAdjustment, kBuild };

// The transactions the command works on, with the command's own facts about each: its word, how
// messages name it, the reference naming its customer or vendor, and the columns `list` shows.
// What QuickBooks takes of each (Add, Del, Void) comes from the qbXML catalogue.
struct TxnWords {
  std::string_view command;  // "invoice"
  std::string_view stem;     // "Invoice": InvoiceAddRq, InvoiceRet, the TxnDelType
  std::string_view label;    // "invoice"
  std::string_view entity;   // "CustomerRef"; empty for a kind without one (deposits)
  std::string_view columns;  // `list` without --fields
  TxnForm form = TxnForm::kSale;
  // The figures `add` prints from the answer, "Element=word,..." ("OpenAmount=amount").
  std::string_view summary = {};
  // The account `add --account` names ("AccountRef", "BankAccountRef" ...), if any.
  std::string_view account = {};
};

const TxnWords* FindTxnWords(std::string_view command);
// "invoice, ..." for messages and help.
std::string TxnCommandWords();
// Whether QuickBooks deletes or voids this kind (TxnDelType and TxnVoidType values).
bool CanDeleteTxn(const TxnWords& words);
bool CanVoidTxn(const TxnWords& words);

}  // namespace brennock::cli
