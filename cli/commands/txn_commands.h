#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cli/app/global_options.h"
#include "cli/app/txn_kinds.h"
#include "cli/output/row_writer.h"

namespace brennock::cli {

// The transaction side of `list`, `show`, `add`, `delete` and `void`: raw qbXML requests built
// from the catalogue's shapes.

struct TxnListOptions {
  std::string from, to;  // TxnDate, inclusive
  std::string customer;  // the customer or vendor, with its jobs
  bool paid = false, unpaid = false;
  int32_t max = 0;
  int32_t pageSize = 500;
  std::vector<std::string> fields;
  OutputFormat format = OutputFormat::kTable;
};

struct TxnAddOptions {
  std::string customer;
  std::string date;
  std::string ref;
  std::string memo;
  std::vector<std::string> lines;     // ITEM:QTY[:RATE]
  std::vector<std::string> settings;  // Field=Value of the Add aggregate
};

int RunTxnList(const TxnWords& words, const TxnListOptions& options, const GlobalOptions& globals);
// key: the RefNumber, else the TxnID.
int RunTxnShow(const TxnWords& words, const std::string& key, OutputFormat format,
               const GlobalOptions& globals);
int RunTxnAdd(const TxnWords& words, const TxnAddOptions& options, const GlobalOptions& globals);
int RunTxnDelete(const TxnWords& words, const std::string& key, bool voidIt,
                 const GlobalOptions& globals);

// "Widget:3:12.50" -> item, quantity, rate; a colon inside an item's full name ("Parts:Widget")
// stays with the item. Raises UsageError for anything else.
struct LineSpec {
  std::string item, quantity, rate;
};
LineSpec ParseLineSpec(const std::string& text);

}  // namespace brennock::cli
