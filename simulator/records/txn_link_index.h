#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "simulator/store/company_db.h"

namespace brennock::simulator {

// A line of an order that is still open: what others may receive or bill against it.
struct OrderLine {
  std::string line_id;
  std::string item_id;
  int64_t quantity = 0;  // ordered, hundred-thousandths
};

// One transaction's side of a link, with the other transaction's row for naming it.
struct LinkedLine {
  std::string txn_id;  // the other transaction
  std::string line_id, other_line_id;
  int64_t quantity = 0, amount = 0;
};

// Reads the company file's index of links between transaction lines and of open order lines
// (txn_link_tables.h), so that an order knows what was received against it and an item how much
// is on order without reading every transaction. A file without the tables has no links.
class TxnLinkIndex {
 public:
  // tables: whether the file has the tables, when the caller knows it already.
  explicit TxnLinkIndex(CompanyDb& company, std::optional<bool> tables = std::nullopt)
      : company_(company), tables_(tables) {}

  // Lines of other transactions linked to this one's, and this one's links to others.
  std::vector<LinkedLine> LinkedTo(std::string_view txn_id);
  std::vector<LinkedLine> LinksFrom(std::string_view txn_id);
  // What was received (billed) against one line, in hundred-thousandths.
  int64_t Received(std::string_view txn_id, std::string_view line_id);
  // The quantity of an item still to come on open orders of one kind ("PurchaseOrder",
  // "SalesOrder"): what each open line ordered less what was received (billed) against it,
  // never below nothing.
  int64_t Outstanding(std::string_view item_id, std::string_view order_type);
  // The open orders of one kind with some of the item still to come.
  std::vector<std::string> OrdersAwaiting(std::string_view item_id, std::string_view order_type);

 private:
  bool TablesExist();
  std::vector<LinkedLine> Read(std::string_view sql, std::string_view txn_id);

  CompanyDb& company_;
  std::optional<bool> tables_;
};

}  // namespace brennock::simulator
