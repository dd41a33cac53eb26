// brennock add TYPE NAME: a new record in a list. A record made from its name alone (classes,
// ship methods ...) is saved through the library's collection of the list, validation first; one
// with fields (--set) is written as an add request from the qbXML catalogue's shape of the list's
// Add aggregate, so QuickBooks checks what the catalogue cannot.
#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "brennock/company/company.h"
#include "brennock/errors/qc_error.h"
#include "brennock/errors/qc_errors.h"
#include "brennock/internal/model/list_collection_core.h"
#include "brennock/internal/qbxml/catalogue.h"
#include "brennock/internal/registry/record_registry.h"
#include "brennock/internal/util/text.h"
#include "brennock/model/qc_list_object.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/xml/xml_document.h"
#include "cli/app/cli_errors.h"
#include "cli/app/cli_session.h"
#include "cli/app/exit_codes.h"
#include "cli/app/global_options.h"
#include "cli/app/help_text.h"
#include "cli/app/list_kinds.h"
#include "cli/commands/commands.h"
#include "cli/commands/txn_commands.h"
#include "cli/output/stdout_text.h"
#include "cli/qbxml/record_body.h"
#include "cli/qbxml/record_lookup.h"
#include "cli/qbxml/response_status.h"

namespace brennock::cli {
namespace {

struct AddOptions {
  std::string type;
  std::string name;
  std::string parent;
  bool inactive = false;
  std::vector<std::string> settings;  // --set Field=Value
  TxnAddOptions txn;                  // transactions: --customer, --line ...
};

bool AddsByCollection(const RecordKind& kind) noexcept {
  return IsMasterList(kind) && kind.Has(kCanAdd) && AddsByName(kind);
}

// Lists an add request of their own is written for: QuickBooks takes adds of one record kind.
bool AddsByRequest(const RecordKind& kind) noexcept {
  return kind.Has(kCanAdd) && !kind.Has(kMixed) &&
         qbxml::FindAggregate(std::string(kind.stem) + "Add") != nullptr;
}

bool CanAdd(const RecordKind& kind) noexcept {
  return AddsByCollection(kind) || AddsByRequest(kind);
}

void PrintErrors(const qcErrors& errors) {
  for (const auto& error : errors)
    std::cerr << "  " << HexNumber(error->Number())
              << (error->Field().empty() ? "" : " " + error->Field()) << ": "
              << error->Description() << "\n";
}

int AddByRequest(const AddOptions& options, const GlobalOptions& globals, const RecordKind& list) {
  const qbxml::Aggregate& shape = *qbxml::FindAggregate(std::string(list.stem) + "Add");
  RecordBody body(shape, std::string(list.label));
  // Records without a name (to-dos) take it as their notes.
  body.Set(qbxml::FindElement(shape, "Name") ? "Name" : "Notes", options.name);
  if (!options.parent.empty()) body.Set("ParentRef", options.parent);
  if (options.inactive) body.Set("IsActive", "false");
  for (const std::string& setting : options.settings) body.SetAssignment(setting);

  CliSession session(globals);
  std::string request =
      "<" + std::string(list.stem) + "AddRq requestID=\"1\"><" + std::string(list.stem) + "Add>";
  body.AppendXml(request);
  request += "</" + std::string(list.stem) + "Add></" + std::string(list.stem) + "AddRq>";
  session.NewRequest().InsertRawXML(request);
  std::shared_ptr<XmlDocument> response = session.Send();
  ResponseStatus status = RequireSuccess(*response);  // a refusal exits 2 with QuickBooks' reason
  XmlNode ret = FirstElement(status.element);
  std::string shown = RecordName(ret);
  if (shown.empty()) shown = options.name;
  if (!globals.quiet)
    WriteOut("Added " + std::string(list.label) + " " + shown + " (ListID " +
             ChildText(ret, "ListID") + ")\n");
  return kExitOk;
}

int RunAdd(const AddOptions& options, const GlobalOptions& globals) {
  if (const TxnWords* words = FindTxnWords(options.type)) {
    if (!options.name.empty() || !options.parent.empty() || options.inactive)
      throw UsageError("a " + std::string(words->label) +
                       " takes no NAME, --parent or --inactive: see `brennock add --help`");
    TxnAddOptions txn = options.txn;
    txn.settings = options.settings;
    if (words->form != TxnForm::kSale) return RunOtherTxnAdd(*words, txn, globals);
    return RunTxnAdd(*words, txn, globals);
  }
  if (options.name.empty()) throw UsageError("NAME is required");
  if (!options.txn.customer.empty() || !options.txn.lines.empty() || !options.txn.amount.empty() ||
      !options.txn.apply.empty() || options.txn.autoApply)
    throw UsageError("--customer, --line and the payment options make transactions (" +
                     TxnCommandWords() + ")");
  const RecordKind* list = FindListKindByCommand(options.type);
  if (!list || !CanAdd(*list))
    throw UsageError("cannot add to '" + options.type + "'; lists: " + ListWords(&CanAdd));
  if (!options.parent.empty() && !list->hierarchical())
    throw UsageError("a " + std::string(list->label) + " has no parent");
  if (!options.settings.empty() || !AddsByCollection(*list))
    return AddByRequest(options, globals, *list);

  CliSession session(globals);
  // Member errors are printed one by one rather than raised as one summary.
  session.Connection().SetErrorMode(false);
  std::shared_ptr<Company> company = session.Company();
  std::shared_ptr<ListCollectionCore> collection = company->ListCollection(list->objectType);
  // The parent is read into the collection first: validation then finds it there instead of
  // sending a lookup of its own in the middle of writing the add request.
  if (!options.parent.empty() && !collection->GetByFullName(options.parent)) {
    std::string why = "not found";
    if (collection->Errors()->Count() > 0) why = collection->Errors()->Item(1)->Description();
    throw CommandFailure("no parent " + std::string(list->label) + " '" + options.parent +
                         "': " + why);
  }
  std::shared_ptr<qcListObject> record =
      AddRecord(*collection, *list, options.name, !options.inactive, options.parent);
  if (collection->Commit(record) != 0 || record->ObjectState() != qoObjectStateClean) {
    std::cerr << "brennock: cannot add " << list->label << " '" << options.name << "':\n";
    PrintErrors(*record->Errors());
    if (record->Errors()->Count() == 0) PrintErrors(*collection->Errors());
    return kExitAutomation;
  }
  // A to-do has no name; its notes stand for it.
  std::string shown = record->FullName().empty() ? options.name : record->FullName();
  if (!globals.quiet)
    WriteOut("Added " + std::string(list->label) + " " + shown + " (ListID " + record->ListID() +
             ")\n");
  return kExitOk;
}

}  // namespace

CommandRun AttachAddCommand(CLI::App& app, const GlobalOptions& globals) {
  CLI::App* add = app.add_subcommand("add", "Add a record to a list");
  add->footer(Wrapped("Lists: " + ListWords(&CanAdd), 96) + "\n" +
              Wrapped("Transactions: " + TxnCommandWords(), 96) + R"(

Examples:
  brennock add class "Wholesale"
  brennock add class "East" --parent "Wholesale"
  brennock add shipmethod "Pigeon" --inactive
  brennock add customer "Byrne Bakery" --set BillAddress.City=Cork --set Phone=555-0100
  brennock add customer "Kitchen" --parent "Byrne Bakery" --set TermsRef="Net 30"
  brennock add account "Petty Cash" --set AccountType=Bank --set AccountNumber=1090
  brennock add invoice --customer "Byrne Bakery" --line Consulting:2 --line Widget:10:11.50
  brennock add salesorder --customer "Byrne Bakery" --line Widget:40 --ref SO-7
  brennock add charge --customer "Byrne Bakery" --line Delivery:2
  brennock add payment --customer "Byrne Bakery" --amount 500 --apply 1042:420 --apply 1043:80
  brennock add payment --customer "Byrne Bakery" --amount 250 --auto-apply --set PaymentMethodRef=Check
  brennock add salestaxcheck --customer "State Board of Equalization" --line "State Tax:310.25"
      --set BankAccountRef=Checking
  brennock add purchaseorder --vendor "Acme Supply" --line Widget:40:7.00
  brennock add itemreceipt --vendor "Acme Supply" --link 1042
  brennock add bill --vendor "Acme Supply" --link 1042 --expense "Job Materials:35.00"
  brennock add billpaymentcheck --vendor "Acme Supply" --account Checking --apply INV-4117:315.00
  brennock add check --payee "Landlord" --account Checking --expense Rent:950.00
  brennock add journalentry --debit "Other Expenses:104.17" --credit "Furniture and Equipment:104.17"
  brennock add timetracking --name "Ada Baker" --customer "Byrne Bakery" --item Installation --duration 2:30
  brennock add inventoryadjustment --account "Cost of Goods Sold" --line Bracket:-3
  brennock add buildassembly --item "Widget Kit" --quantity 4 --pending

An invoice (sales receipt, credit memo, estimate, sales order) takes its customer, one --line
ITEM:QUANTITY[:RATE] per line, and optionally --date, --ref (its number), --memo and --set for
other fields of the Add; QuickBooks computes the amounts, tax and due date, and the command
prints the totals it answered with. A statement charge takes one --line; a sales tax payment
check is made out to the tax agency named by --customer, one --line TAX-ITEM:AMOUNT per item.
A payment takes --amount (its total), and --apply INVOICE:AMOUNT for each invoice it pays (by
number or TxnID; the total is their sum without --amount) or --auto-apply to let QuickBooks
apply it to the customer's oldest invoices; without either it stays the customer's credit.
Deposits are made with `brennock deposit`.

Bills, item receipts, vendor credits and purchase orders take --vendor; checks and card charges
and credits --payee and --account; all of them --line ITEM:QUANTITY[:COST] and (but orders)
--expense ACCOUNT:AMOUNT. --link names a purchase order (by number or TxnID) whose open lines are
received, or for a bill an item receipt it takes over. Bill payments take --vendor, --account
(the bank or card) and --apply BILL:AMOUNT per bill (its number or TxnID). A journal entry takes
--debit and --credit ACCOUNT:AMOUNT, with :NAME after it for accounts receivable and payable;
time --name, --duration, and --customer and --item; an inventory adjustment --account and
--line ITEM:QUANTITY-DIFFERENCE; an assembly build --item, --quantity and --pending.

Fields (--set) are qbXML element names of the list's Add aggregate, dotted below aggregates
(BillAddress.City); a reference (TermsRef) takes the full name of the record it names. Values
are checked against the element's type before anything is sent.)");
  auto options = std::make_shared<AddOptions>();
  add->add_option("TYPE", options->type, "List to add to")->required();
  add->add_option("NAME", options->name, "Name of the new record (not for transactions)");
  add->add_option("--parent", options->parent, "Full name of the parent record");
  add->add_flag("--inactive", options->inactive, "Add it as inactive");
  add->add_option("--set", options->settings, "A field of the new record, Field=Value (repeatable)")
      ->type_name("FIELD=VALUE")
      ->allow_extra_args(false);
  add->add_option("--customer", options->txn.customer,
                  "Transactions: the customer (or job), or a tax check's agency")
      ->type_name("NAME");
  add->add_option("--line", options->txn.lines, "Transactions: a line ITEM:QTY[:RATE] (repeatable)")
      ->type_name("ITEM:QTY[:RATE]")
      ->allow_extra_args(false);
  add->add_option("--date", options->txn.date, "Transactions: the date")->type_name("DATE");
  add->add_option("--ref", options->txn.ref, "Transactions: the number (RefNumber)")
      ->type_name("TEXT");
  add->add_option("--memo", options->txn.memo, "Transactions: a memo")->type_name("TEXT");
  add->add_option("--vendor,--payee", options->txn.vendor,
                  "Buying: the vendor, or a check's or card charge's payee")
      ->type_name("NAME");
  add->add_option("--account", options->txn.account,
                  "Buying: the bank or card account paid from; adjustments: the account")
      ->type_name("ACCOUNT");
  add->add_option("--expense", options->txn.expenses, "Buying: an expense line (repeatable)")
      ->type_name("ACCOUNT:AMOUNT")
      ->allow_extra_args(false);
  add->add_option("--link", options->txn.links,
                  "Buying: the purchase order received or billed, or the item receipt billed")
      ->type_name("NUMBER")
      ->allow_extra_args(false);
  add->add_option("--debit", options->txn.debits, "Journal entries: a debit line (repeatable)")
      ->type_name("ACCOUNT:AMOUNT[:NAME]")
      ->allow_extra_args(false);
  add->add_option("--credit", options->txn.credits, "Journal entries: a credit line (repeatable)")
      ->type_name("ACCOUNT:AMOUNT[:NAME]")
      ->allow_extra_args(false);
  add->add_option("--name", options->txn.name, "Time: whose time it is")->type_name("NAME");
  add->add_option("--duration", options->txn.duration, "Time: how long (1:30, 1.5 or PT1H30M)")
      ->type_name("TIME");
  add->add_option("--item", options->txn.item, "Time: the service; builds: the assembly")
      ->type_name("ITEM");
  add->add_option("--quantity", options->txn.quantity, "Builds: how many to build")->type_name("N");
  add->add_flag("--pending", options->txn.pending,
                "Builds: wait, pending, when the parts on hand do not cover it");
  add->add_option("--amount", options->txn.amount, "Payments: the total received")
      ->type_name("AMOUNT");
  add->add_option("--apply", options->txn.apply,
                  "Payments: pay an invoice, INVOICE:AMOUNT; bill payments: a bill paid, "
                  "BILL:AMOUNT (repeatable)")
      ->type_name("REF:AMOUNT")
      ->allow_extra_args(false);
  add->add_flag("--auto-apply", options->txn.autoApply,
                "Payments: apply to the oldest open invoices, as QuickBooks does");
  return [options, &globals] { return RunAdd(*options, globals); };
}

}  // namespace brennock::cli
