// brennock list TYPE: the records of a QuickBooks list as a table, JSON or CSV.
//
// Output streams page by page: nothing is written until the first page has arrived, so a
// command that fails at once writes nothing to standard output. A failure on a later page (a
// dropped connection) stops the listing after the rows already written, with the error on
// standard error and a non-zero exit status; JSON output is then left without its closing bracket,
// so a consumer cannot take it for a complete answer.
#include <CLI/CLI.hpp>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "brennock/internal/registry/record_registry.h"
#include "brennock/xml/xml_node.h"
#include "cli/app/cli_errors.h"
#include "cli/app/cli_session.h"
#include "cli/app/exit_codes.h"
#include "cli/app/global_options.h"
#include "cli/app/help_text.h"
#include "cli/app/list_kinds.h"
#include "cli/commands/commands.h"
#include "cli/commands/txn_commands.h"
#include "cli/output/progress_bar.h"
#include "cli/output/row_writer.h"
#include "cli/output/stdout_text.h"
#include "cli/qbxml/list_pager.h"
#include "cli/qbxml/record_fields.h"

namespace brennock::cli {
namespace {

struct ListOptions {
  std::string type;
  std::string itemKind;  // --type of `list item`
  bool active = false;
  std::string nameMatch;
  std::string startsWith;
  std::string since;
  int32_t max = 0;
  std::vector<std::string> fields;
  OutputFormat format = OutputFormat::kTable;
  int32_t pageSize = ListPager::kDefaultPageSize;
  // Transactions only.
  std::string from, to, customer, vendor;
  bool paid = false, unpaid = false;
};

int RunTxnListing(const TxnWords& words, const ListOptions& options, const GlobalOptions& globals) {
  if (options.active || !options.nameMatch.empty() || !options.startsWith.empty() ||
      !options.since.empty() || !options.itemKind.empty())
    throw UsageError("a " + std::string(words.label) +
                     " listing takes --from, --to, --customer, --vendor, --paid or --unpaid");
  TxnListOptions txn;
  txn.from = options.from;
  txn.to = options.to;
  // The name a transaction is with: a customer, a vendor or payee, whose time it is.
  txn.customer = options.customer.empty() ? options.vendor : options.customer;
  txn.paid = options.paid;
  txn.unpaid = options.unpaid;
  txn.max = options.max;
  txn.pageSize = options.pageSize;
  txn.fields = options.fields;
  txn.format = options.format;
  return RunTxnList(words, txn, globals);
}

std::vector<std::string> SplitFields(std::string_view list) {
  std::vector<std::string> fields;
  size_t start = 0;
  while (start < list.size()) {
    size_t comma = list.find(',', start);
    if (comma == std::string_view::npos) comma = list.size();
    if (comma > start) fields.emplace_back(list.substr(start, comma - start));
    start = comma + 1;
  }
  return fields;
}

// qbXML dates: 2024-03-01, or a date and time with an optional offset (2024-03-01T08:30:00-05:00).
void CheckDate(const std::string& text) {
  static const std::regex kDate(
      R"((\d{4})-(0[1-9]|1[0-2])-(0[1-9]|[12]\d|3[01])(T([01]\d|2[0-3]):[0-5]\d:[0-5]\d([+-]\d\d:\d\d)?)?)");
  if (!std::regex_match(text, kDate))
    throw UsageError("--since wants a date like 2024-03-01 or 2024-03-01T08:30:00, not '" + text +
                     "'");
}

// The kinds `list item --type` takes: the item lists' words without "item" ("inventory",
// "salestax"), and "assembly" for inventory assemblies.
const RecordKind* ItemKind(const std::string& word) {
  std::string folded = word == "assembly" ? "inventoryassembly" : word;
  const RecordKind* kind = FindListKindByCommand("item" + folded);
  return kind && kind->nameSpace == "Item" && !kind->Has(kMixed) ? kind : nullptr;
}

const RecordKind& ChosenType(const ListOptions& options) {
  const RecordKind* type = FindListKindByCommand(options.type);
  if (type != nullptr && !IsListable(*type)) type = nullptr;
  if (!type)
    throw UsageError("unknown list type '" + options.type +
                     "'; known types: " + ListWords(&IsListable));
  if (!options.itemKind.empty()) {
    if (type->stem != "Item") throw UsageError("--type chooses a kind of item: list item --type");
    type = ItemKind(options.itemKind);
    if (!type)
      throw UsageError("unknown kind of item '" + options.itemKind +
                       "'; known kinds: service, inventory, noninventory, othercharge, subtotal, "
                       "group, discount, payment, salestax, salestaxgroup, assembly, fixedasset");
  }
  bool filtered = options.active || !options.nameMatch.empty() || !options.startsWith.empty() ||
                  !options.since.empty();
  if (filtered && !type->Has(kFilters))
    throw UsageError("the " + std::string(type->command) + " list takes no filters");
  return *type;
}

int RunList(const ListOptions& options, const GlobalOptions& globals) {
  if (const TxnWords* words = FindTxnWords(options.type))
    return RunTxnListing(*words, options, globals);
  if (!options.from.empty() || !options.to.empty() || !options.customer.empty() || options.paid ||
      options.unpaid)
    throw UsageError("--from, --to, --customer, --paid and --unpaid choose transactions (" +
                     TxnCommandWords() + ")");
  const RecordKind& type = ChosenType(options);
  if (!options.since.empty()) CheckDate(options.since);
  ListCriteria criteria;
  criteria.maxRecords = options.max;
  criteria.activeOnly = options.active;
  criteria.nameMatch = options.startsWith.empty() ? options.nameMatch : options.startsWith;
  criteria.startsWith = !options.startsWith.empty();
  criteria.since = options.since;

  std::vector<std::string> fields = options.fields;
  bool wholeRecords = options.format == OutputFormat::kJson && fields.empty();
  if (fields.empty()) fields = SplitFields(type.defaultFields);
  FieldReader reader(fields);
  std::unique_ptr<RowWriter> writer = MakeRowWriter(options.format);
  writer->Begin(fields);

  CliSession session(globals);
  // Iterators came with qbXML 5.0.
  bool iterators = session.Connection().qbXMLVersionNumber() >= 5.0f && options.pageSize > 0;
  ListPager pager(session.NewRequest(), type, criteria, iterators, options.pageSize);
  CountProgress progress(std::string(type.command), !globals.quiet);
  std::vector<XmlNode> records;
  std::vector<std::string> values;
  std::string json;
  while (pager.NextPage(records)) {
    for (const XmlNode& record : records) {
      if (wholeRecords) {
        json.clear();
        // A mixed list's records say which kind they are first.
        AppendRecordJson(json, record, type.Has(kMixed) ? RecordKindName(record) : std::string());
        writer->RecordJson(json);
      } else {
        reader.Read(record, values);
        writer->Row(values);
      }
    }
    records.clear();  // lets the page's document go before the next one arrives
    WriteOut(writer->Take());
    if (pager.Total() > 0) progress.Show(pager.Delivered(), pager.Total());
  }
  progress.Finish();
  writer->End();
  WriteOut(writer->Take());
  return kExitOk;
}

}  // namespace

CommandRun AttachListCommand(CLI::App& app, const GlobalOptions& globals) {
  CLI::App* list = app.add_subcommand("list", "List the records of a QuickBooks list");
  list->footer(Wrapped("List types: " + ListWords(&IsListable), 96) + "\n" +
               Wrapped("Transactions: " + TxnCommandWords(), 96) + R"(

A transaction listing takes --from and --to (transaction dates), --customer (with its jobs) or
--vendor (a vendor or payee; for time, whose time it is), --paid or --unpaid.

Fields are qbXML element names, dotted below aggregates (BillAddress.City); a reference such as
ParentRef shows its full name, and Type the record kind of mixed lists (item, entity, terms).
JSON without --fields gives whole records. Long lists are read and written page by page
(--page-size records a request, 0 for one answer), with "n of N" on standard error when it is a
terminal (not with --quiet).

Examples:
  brennock list class --company /tmp/sample.qbw
  brennock list customer --starts-with Baker --fields FullName,BillAddress.City --format csv
  brennock list item --active --format json
  brennock list item --type inventory --fields FullName,QuantityOnHand,AverageCost
  brennock list account --since 2024-01-01 --max 10
  brennock list invoice --from 2024-01-01 --to 2024-03-31 --unpaid
  brennock list bill --vendor "Acme Supply" --unpaid)");
  auto options = std::make_shared<ListOptions>();
  list->add_option("TYPE", options->type, "List to read (see below)")->required();
  list->add_option("--type", options->itemKind, "With item: one kind of item (inventory ...)")
      ->type_name("KIND");
  list->add_flag("--active", options->active, "Active records only");
  CLI::Option* match =
      list->add_option("--name-match", options->nameMatch, "Names containing this text")
          ->type_name("TEXT");
  list->add_option("--starts-with", options->startsWith, "Names starting with this text")
      ->excludes(match);
  list->add_option("--since", options->since, "Records modified on or after this date")
      ->type_name("DATE");
  list->add_option("--max", options->max, "At most this many records")
      ->check(CLI::Range(1, 2147483647).description(""))
      ->type_name("N");
  list->add_option("--fields", options->fields, "Columns to show, comma-separated")
      ->delimiter(',')
      ->type_name("a,b,c");
  list->add_option("--page-size", options->pageSize,
                   "Records a request for lists read with an iterator (0: all in one answer)")
      ->check(CLI::Range(0, 2147483647).description(""))
      ->type_name("N")
      ->default_str(std::to_string(ListPager::kDefaultPageSize));
  list->add_option("--from", options->from, "Transactions dated on or after this day")
      ->type_name("DATE");
  list->add_option("--to", options->to, "Transactions dated on or before this day")
      ->type_name("DATE");
  CLI::Option* customer = list->add_option("--customer", options->customer,
                                           "Transactions of this customer and its jobs")
                              ->type_name("NAME");
  list->add_option("--vendor", options->vendor,
                   "Transactions with this vendor or payee (time: of this person)")
      ->type_name("NAME")
      ->excludes(customer);
  CLI::Option* paid = list->add_flag("--paid", options->paid, "Paid transactions only");
  list->add_flag("--unpaid", options->unpaid, "Transactions still open only")->excludes(paid);
  list->add_option("--format", options->format, "table, json or csv")
      ->transform(CLI::CheckedTransformer(OutputFormatNames(), CLI::ignore_case).description(""))
      ->type_name("FORMAT")
      ->default_str("table");
  return [options, &globals] { return RunList(*options, globals); };
}

}  // namespace brennock::cli
