#pragma once

#include <cstdint>
#include <string_view>

#include "simulator/store/sqlite.h"

namespace brennock::simulator {

// What ties transactions together without posting (the ledger keeps what posts: payments, credits
// and deposits move the open balances of what they apply to):
//   txn_links    a line billed from a line of another transaction (an invoice line from an
//                estimate or sales order line), with the quantity and amount it bills;
//   order_lines  the open lines of orders (sales orders): item and quantity ordered, for the
//                quantity on order of items.
// Both are rewritten from the transactions whenever one is saved, voided or deleted. New company
// files have them; older ones get them with their first change of a transaction.
void CreateTxnLinkTables(Database& db);
bool TxnLinkTablesExist(Database& db);

// An item's quantity on sales orders, in hundred-thousandths of a unit: what the open lines of
// open sales orders have not yet invoiced.
int64_t QuantityOnSalesOrder(Database& db, std::string_view item_id);

}  // namespace brennock::simulator
