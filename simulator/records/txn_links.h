#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "simulator/store/company_db.h"

namespace brennock::simulator {

// A line received or billed against a line of another transaction (an item receipt's line against
// a purchase order's, a bill's against an item receipt's).
struct LineLink {
  std::string line_id;
  std::string to_txn, to_line;
  int64_t quantity = 0;  // hundred-thousandths
  int64_t amount = 0;    // cents
};

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

// The company file's index of links between transaction lines and of open order lines, so that
// an order knows what was received against it and an item how much is on order without reading
// every transaction. The transaction store writes a transaction's rows with it, in the same
// SQLite transaction; they are derived from the stored lines and nothing else.
class TxnLinks {
 public:
  explicit TxnLinks(CompanyDb& company) : company_(company) {}

  // Replaces everything indexed for a transaction.
  void Store(std::string_view txn_id, std::string_view txn_type, const std::vector<LineLink>& links,
             const std::vector<OrderLine>& open_lines);
  void Forget(std::string_view txn_id);

  // Lines of other transactions linked to this one's, and this one's links to others.
  std::vector<LinkedLine> LinkedTo(std::string_view txn_id);
  std::vector<LinkedLine> LinksFrom(std::string_view txn_id);
  // What was received (billed) against one line, in hundred-thousandths.
  int64_t Received(std::string_view txn_id, std::string_view line_id);
  // The quantity of an item still to come on open orders of one kind ("PurchaseOrder"): what each
  // open line ordered less what was received against it, never below nothing.
  int64_t Outstanding(std::string_view item_id, std::string_view order_type);

 private:
  std::vector<LinkedLine> Read(std::string_view sql, std::string_view txn_id);

  CompanyDb& company_;
};

}  // namespace brennock::simulator
