// brennock show TYPE NAME: every field of one record, as field/value pairs or as JSON.
#include <CLI/CLI.hpp>
#include <memory>
#include <string>
#include <vector>

#include "brennock/internal/registry/record_registry.h"
#include "cli/app/cli_errors.h"
#include "cli/app/cli_session.h"
#include "cli/app/exit_codes.h"
#include "cli/app/global_options.h"
#include "cli/app/help_text.h"
#include "cli/app/list_kinds.h"
#include "cli/commands/commands.h"
#include "cli/commands/txn_commands.h"
#include "cli/output/row_writer.h"
#include "cli/output/stdout_text.h"
#include "cli/qbxml/record_fields.h"
#include "cli/qbxml/record_lookup.h"

namespace brennock::cli {
namespace {

struct ShowOptions {
  std::string type;
  std::string name;
  OutputFormat format = OutputFormat::kTable;
};

int RunShow(const ShowOptions& options, const GlobalOptions& globals) {
  if (const TxnWords* words = FindTxnWords(options.type))
    return RunTxnShow(*words, options.name, options.format, globals);
  const RecordKind* kind = FindListKindByCommand(options.type);
  if (!kind || !IsListable(*kind))
    throw UsageError("unknown list type '" + options.type +
                     "'; known types: " + ListWords(&IsListable));
  CliSession session(globals);
  FoundRecord found = FindRecord(session, *kind, options.name);
  std::string kindName = kind->Has(kMixed) ? RecordKindName(found.ret) : std::string();
  if (options.format == OutputFormat::kJson) {
    std::string json;
    AppendRecordJson(json, found.ret, kindName);
    json += '\n';
    WriteOut(json);
    return kExitOk;
  }
  std::unique_ptr<RowWriter> writer = MakeRowWriter(options.format);
  writer->Begin({"Field", "Value"});
  // A mixed list's record says which kind it is first, as `list` shows it.
  if (!kindName.empty()) writer->Row({"Type", kindName});
  for (auto& [field, value] : FlattenRecord(found.ret)) writer->Row({field, value});
  writer->End();
  WriteOut(writer->Take());
  return kExitOk;
}

}  // namespace

CommandRun AttachShowCommand(CLI::App& app, const GlobalOptions& globals) {
  CLI::App* show = app.add_subcommand("show", "Show every field of one record");
  show->footer(Wrapped("List types: " + ListWords(&IsListable), 96) + "\n" +
               Wrapped("Transactions: " + TxnCommandWords(), 96) + R"(

A transaction is named by its number (RefNumber) or TxnID; its header comes first, then its
lines (a group's members indented below it).

Fields below aggregates are dotted paths (BillAddress.City); a reference shows its ListID and
FullName; repeated fields are joined with ", ". JSON gives the record as `list` gives it.

Examples:
  brennock show customer "Kowalski, Anna"
  brennock show vendor "Acme Supplies" --format json
  brennock show account "Checking" --format csv
  brennock show invoice 1042)");
  auto options = std::make_shared<ShowOptions>();
  show->add_option("TYPE", options->type, "List of the record (see below)")->required();
  show->add_option("NAME", options->name,
                   "Full name of the record (a to-do's ListID; a transaction's number or TxnID)")
      ->required();
  show->add_option("--format", options->format, "table, json or csv")
      ->transform(CLI::CheckedTransformer(OutputFormatNames(), CLI::ignore_case).description(""))
      ->type_name("FORMAT")
      ->default_str("table");
  return [options, &globals] { return RunShow(*options, globals); };
}

}  // namespace brennock::cli
