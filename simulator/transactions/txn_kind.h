#pragma once

#include <span>
#include <string_view>

#include "brennock/internal/qbxml/catalogue.h"

namespace brennock::simulator {

// One kind of transaction as QuickBooks takes it, read from the qbXML catalogue: the stem names
// its requests (stem + "AddRq", "ModRq", "QueryRq", "Ret") and is its TxnDelType/TxnVoidType.
struct TxnKind {
  std::string_view stem;
  std::string_view ret;                   // "InvoiceRet"
  std::span<const qbxml::Element> shape;  // children of the Ret aggregate, in order
  const qbxml::Aggregate* add = nullptr;  // "InvoiceAdd"; null when QuickBooks takes no Add
  const qbxml::Aggregate* mod = nullptr;
  bool can_query = false;
  bool can_delete = false;  // a TxnDelType value
  bool can_void = false;    // a TxnVoidType value

  int field_index(std::string_view field) const;  // -1 when absent
  // A line aggregate of the Ret shape ("InvoiceLineRet", "InvoiceLineGroupRet", "ItemLineRet",
  // "ItemGroupLineRet", "ExpenseLineRet"); the request forms end in "Add" and "Mod" instead. A
  // journal entry's "JournalDebitLine" and "JournalCreditLine" keep their names in an Add and are
  // "JournalLineMod" in a Mod.
  bool is_line(const qbxml::Element& e) const;
};

// Every kind the TxnDelRq or TxnVoidRq schema names, in the catalogue's order.
std::span<const TxnKind> AllTxnKinds();
const TxnKind* FindTxnKind(std::string_view stem);

// A group line aggregate ("InvoiceLineGroupRet", "ItemGroupLineRet").
bool IsGroupLine(std::string_view ret_name);

}  // namespace brennock::simulator
