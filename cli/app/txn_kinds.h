#pragma once

#include <string>
#include <string_view>

namespace brennock::cli {

// The transactions the command works on, with the command's own facts about each: its word, how
// messages name it, the reference naming its customer or vendor, and the columns `list` shows.
// What QuickBooks takes of each (Add, Del, Void) comes from the qbXML catalogue.
struct TxnWords {
  std::string_view command;  // "invoice"
  std::string_view stem;     // "Invoice": InvoiceAddRq, InvoiceRet, the TxnDelType
  std::string_view label;    // "invoice"
  std::string_view entity;   // "CustomerRef"; empty for a kind without one (deposits)
  std::string_view columns;  // `list` without --fields
};

const TxnWords* FindTxnWords(std::string_view command);
// "invoice, ..." for messages and help.
std::string TxnCommandWords();
// Whether QuickBooks deletes or voids this kind (TxnDelType and TxnVoidType values).
bool CanDeleteTxn(const TxnWords& words);
bool CanVoidTxn(const TxnWords& words);

}  // namespace brennock::cli
