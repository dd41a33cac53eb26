// brennock void TYPE KEY: voids a transaction, which QuickBooks keeps with every amount zero.
#include <CLI/CLI.hpp>
#include <memory>
#include <string>

#include "cli/app/cli_errors.h"
#include "cli/app/help_text.h"
#include "cli/commands/commands.h"
#include "cli/commands/txn_commands.h"

namespace brennock::cli {
namespace {

struct VoidOptions {
  std::string type;
  std::string key;
};

int RunVoid(const VoidOptions& options, const GlobalOptions& globals) {
  const TxnWords* words = FindTxnWords(options.type);
  if (!words)
    throw UsageError("cannot void '" + options.type + "'; transactions: " + TxnCommandWords());
  return RunTxnDelete(*words, options.key, true, globals);
}

}  // namespace

CommandRun AttachVoidCommand(CLI::App& app, const GlobalOptions& globals) {
  CLI::App* voids = app.add_subcommand("void", "Void a transaction by number or TxnID");
  voids->footer(Wrapped("Transactions: " + TxnCommandWords(), 96) + R"(

A voided transaction stays in the company with every amount zero and "VOID: " before its memo;
its postings are taken back, so the balances it moved return.

Examples:
  brennock void invoice 1042
  brennock void invoice 1A-1700000000)");
  auto options = std::make_shared<VoidOptions>();
  voids->add_option("TYPE", options->type, "Kind of transaction")->required();
  voids->add_option("KEY", options->key, "Its number (RefNumber) or TxnID")->required();
  return [options, &globals] { return RunVoid(*options, globals); };
}

}  // namespace brennock::cli
