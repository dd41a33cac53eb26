// brennock export TYPE... --to FILE.sqlite | --odbc "DSN=...": copies QuickBooks lists and
// transactions into the tables of a database, optionally creating them first.
//
// Each list or transaction kind is one query whose answer goes through the library's database
// export, so the tables, modes, history and value rules are the library's. With transactions on
// (the default) a list whose rows cannot all be written leaves its tables as they were, and the
// command stops with the database's message.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "brennock/company/brennock_globals.h"
#include "brennock/database/database_export.h"
#include "brennock/database/sql_connection.h"
#include "brennock/enums/database_enums.h"
#include "brennock/internal/database/export_rules.h"
#include "brennock/internal/database/schema.h"
#include "brennock/internal/qbxml/catalogue.h"
#include "brennock/internal/registry/record_registry.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/xml/xml_document.h"
#include "cli/app/cli_errors.h"
#include "cli/app/cli_session.h"
#include "cli/app/exit_codes.h"
#include "cli/app/global_options.h"
#include "cli/app/help_text.h"
#include "cli/app/list_kinds.h"
#include "cli/app/txn_kinds.h"
#include "cli/commands/commands.h"
#include "cli/output/stdout_text.h"

namespace brennock::cli {
namespace {

struct ExportOptions {
  std::vector<std::string> types;
  std::string to;
  std::string odbc;
  std::string mode = "overwrite";
  bool createSchema = false;
  bool noTransactions = false;
  bool keepText = false;
};

// Lists of one kind, and items: every kind of item goes to one table, as the library's Items
// collection exports them.
bool IsExportable(const RecordKind& kind) noexcept {
  return IsListable(kind) && (!kind.Has(kMixed) || kind.objectType == qoObjectTypeItem);
}

// One kind to export: its qbXML stem, the word the summary names it by, and whether it is a list
// (queried with every record, active or not) or a transaction (queried with its lines).
struct ExportKind {
  std::string_view stem;
  std::string_view word;
  bool listFilters = false;
  bool transaction = false;
};

std::string ExportWords() { return ListWords(&IsExportable) + ", terms, " + TxnCommandWords(); }

// The query of a kind: everything it holds, with lines, links and public custom fields where
// its query can ask for them.
void WriteExportQuery(xmlBldr& builder, const ExportKind& kind) {
  const std::string query = std::string(kind.stem) + "QueryRq";
  const qbxml::Aggregate* shape = qbxml::FindAggregate(query);
  auto has = [shape](std::string_view element) {
    return shape != nullptr && qbxml::FindElement(*shape, element) != nullptr;
  };
  builder.OpenAggregateOnly(query);
  if (kind.listFilters) builder.CreateElement("ActiveStatus", "All");
  if (kind.transaction && has("IncludeLineItems")) builder.CreateElement("IncludeLineItems", "1");
  if (kind.transaction && has("IncludeLinkedTxns")) builder.CreateElement("IncludeLinkedTxns", "1");
  if (has("OwnerID")) builder.CreateElement("OwnerID", "0");
  builder.EndAggregate(query);
}

qoEnumDatabaseMode ChosenMode(const std::string& mode) {
  if (mode == "overwrite") return qoDBOverwrite;
  if (mode == "append") return qoDBappend;
  if (mode == "update") return qoDBUpdate;
  if (mode == "resynch") return qoDBReSynch;
  throw UsageError("--mode is overwrite, append, update or resynch, not '" + mode + "'");
}

// "customer [#########.........] 1500/3000  12345 records/s", redrawn on a terminal.
class ExportProgress {
 public:
  explicit ExportProgress(bool wanted) : enabled_(wanted && ::isatty(2) == 1) {}

  void Start(std::string label) {
    label_ = std::move(label);
    start_ = std::chrono::steady_clock::now();
    last_ = {};
  }
  void Show(int32_t done, int32_t total) {
    if (!enabled_) return;
    auto now = std::chrono::steady_clock::now();
    if (done < total && now - last_ < std::chrono::milliseconds(100)) return;
    last_ = now;
    constexpr int kWidth = 30;
    int filled = total > 0 ? static_cast<int>(static_cast<int64_t>(done) * kWidth / total) : 0;
    double seconds = std::chrono::duration<double>(now - start_).count();
    std::string bar(static_cast<size_t>(filled), '#');
    bar.append(static_cast<size_t>(kWidth - filled), '.');
    std::fprintf(stderr, "\r%s [%s] %d/%d  %.0f records/s\x1b[K", label_.c_str(), bar.c_str(), done,
                 total, seconds > 0 ? done / seconds : 0.0);
    std::fflush(stderr);
    shown_ = true;
  }
  void Finish() {
    if (shown_) std::fputs("\r\x1b[K", stderr);
    shown_ = false;
  }

 private:
  bool enabled_;
  bool shown_ = false;
  std::string label_;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point last_;
};

int RunExport(const ExportOptions& options, const GlobalOptions& globals) {
  if (options.to.empty() == options.odbc.empty())
    throw UsageError("say where to export: --to FILE.sqlite or --odbc CONNECTION-STRING");
  qoEnumDatabaseMode mode = ChosenMode(options.mode);
  std::vector<ExportKind> kinds;
  auto addList = [&kinds](const RecordKind& kind) {
    kinds.push_back({kind.stem, kind.command, kind.Has(kFilters), false});
  };
  for (const std::string& word : options.types) {
    if (const TxnWords* txn = FindTxnWords(word)) {
      kinds.push_back({txn->stem, txn->command, false, true});
      continue;
    }
    const RecordKind* kind = FindListKindByCommand(word);
    if (kind && kind->Has(kMixed) && !IsExportable(*kind)) {
      // Terms export each of their kinds to its own tables.
      const size_t before = kinds.size();
      for (const RecordKind& member : ListRegistry()) {
        if (&member != kind && member.listType == kind->listType && IsExportable(member))
          addList(member);
      }
      if (kinds.size() > before) continue;
    }
    if (!kind || !IsExportable(*kind))
      throw UsageError("unknown type '" + word + "'; exportable types: " + ExportWords());
    addList(*kind);
  }

  std::shared_ptr<SqlConnection> db;
  try {
    db = options.odbc.empty() ? OpenSqliteDatabase(options.to) : OpenOdbcDatabase(options.odbc);
  } catch (const SqlError& error) {
    throw CommandFailure("cannot open the database: " + std::string(error.what()));
  }
  if (options.createSchema) {
    std::vector<std::string> stems;
    for (const ExportKind& kind : kinds) stems.emplace_back(kind.stem);
    try {
      CreateExportSchema(*db, stems);
    } catch (const SqlError& error) {
      throw CommandFailure("cannot create the tables: " + std::string(error.what()));
    }
  }

  CliSession session(globals);
  SessionState& state = Session();
  state.databaseMode = mode;
  state.dbUseTxns = !options.noTransactions;
  state.dbKeepExactText = options.keepText;
  ExportProgress progress(!globals.quiet);
  std::shared_ptr<QBConnection> events = GlobalQBConnection();
  events->OnRecordProcessed2 = [&progress](int32_t current, int32_t total, bool&) {
    progress.Show(current, total);
  };
  auto started = std::chrono::steady_clock::now();
  std::string summary;
  int64_t records = 0;
  for (const ExportKind& kind : kinds) {
    xmlBldr& builder = session.NewRequest();
    WriteExportQuery(builder, kind);
    std::shared_ptr<XmlDocument> response = session.Send();
    int32_t status = builder.ErrNumber();
    if (status != 0 && status != 1)  // 1: nothing of that kind
      throw StatusError(std::to_string(status), builder.ErrMsg());
    ExportRequest request;
    request.databasePath = options.odbc.empty() ? options.to : "ADOCON";
    request.table = ExportTableOf(kind.stem);
    progress.Start(std::string(kind.word));
    ExportOutcome outcome;
    try {
      outcome = ExportResponseElement(FirstResponseElement(*response), request, *db);
    } catch (...) {
      progress.Finish();
      events->OnRecordProcessed2 = nullptr;
      throw;
    }
    progress.Finish();
    records += outcome.written;
    if (!summary.empty()) summary += ", ";
    summary += std::to_string(outcome.written) + " " + std::string(kind.word);
  }
  events->OnRecordProcessed2 = nullptr;
  double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  char rate[64];
  std::snprintf(rate, sizeof rate, " (%.2f s, %.0f records/s)\n", seconds,
                seconds > 0 ? static_cast<double>(records) / seconds : 0.0);
  WriteOut("exported " + summary + " to " +
           (options.odbc.empty() ? options.to : "the ODBC database") + rate);
  return kExitOk;
}

}  // namespace

CommandRun AttachExportCommand(CLI::App& app, const GlobalOptions& globals) {
  CLI::App* command =
      app.add_subcommand("export", "Copy QuickBooks lists and transactions into database tables");
  command->footer(Wrapped("Types: " + ExportWords(), 96) + R"(

Each list goes into the table of its qbXML name in lower case (customer); "item" puts every kind
of item into the table "items" (its column ItemType says the kind), "iteminventory" and the
other kinds one kind into its own table; "terms" both kinds of terms into their own tables. A
transaction kind goes into its table with its lines (invoice: invoicelinedetail, and
invoicelinegroupdetail for group lines, whose member lines carry the group's GroupIDKey). Child
aggregates go into
detail tables (contactsdetail, with IDKey), references into <Ref>_ListID and <Ref>_FullName
columns; "history" keeps the time of each table's last export. --create-schema first creates the
tables that are missing, typed from the qbXML schema. Modes: overwrite (empty the table first),
append, update (replace the records QuickBooks sends and remove those deleted since the last
export) and resynch (update without touching the history). A progress bar with records per second
shows on a terminal (not with --quiet); a summary line follows.

Examples:
  brennock export customer class --to books.sqlite --create-schema
  brennock export customer --to books.sqlite --mode update
  brennock export invoice bill --to books.sqlite --create-schema
  brennock export vendor --odbc "Driver=PostgreSQL Unicode;Server=db;Database=books" --create-schema)");
  auto options = std::make_shared<ExportOptions>();
  command->add_option("TYPE", options->types, "Lists and transactions to export (see below)")
      ->required();
  command->add_option("--to", options->to, "SQLite database file")->type_name("FILE");
  command->add_option("--odbc", options->odbc, "ODBC connection string")->type_name("CONNECTION");
  command->add_option("--mode", options->mode, "overwrite, append, update or resynch")
      ->type_name("MODE")
      ->default_str("overwrite");
  command->add_flag("--create-schema", options->createSchema, "Create the missing tables first");
  command->add_flag("--no-transactions", options->noTransactions,
                    "Write each row on its own instead of one transaction per list");
  command->add_flag("--keep-text", options->keepText,
                    "Store text exactly as received (no '?' blanking, no cutting)");
  return [options, &globals] { return RunExport(*options, globals); };
}

}  // namespace brennock::cli
