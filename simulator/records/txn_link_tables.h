#pragma once

#include <cstdint>
#include <string_view>

#include "simulator/store/company_db.h"
#include "simulator/store/sqlite.h"

namespace brennock::simulator {

// What ties transactions together without posting (the ledger keeps what posts: payments, credits
// and deposits move the open balances of what they apply to):
//   txn_links    a line billed from a line of another transaction (an invoice line from an
//                estimate or sales order line, a receipt's or bill's from a purchase order's or
//                a receipt's), with the quantity and amount it bills;
//   order_lines  the open lines of orders (sales and purchase orders): item and quantity
//                ordered, for the quantity on order of items.
// Both are rewritten from the transactions whenever one is saved, voided or deleted. New company
// files have them; older ones get them with their first change of a transaction.
void CreateTxnLinkTables(Database& db);
bool TxnLinkTablesExist(CompanyDb& company);

}  // namespace brennock::simulator
