// brennock delete TYPE NAME: deletes a record of one of the company's master lists by full name.
#include <CLI/CLI.hpp>
#include <memory>
#include <string>

#include "brennock/company/company.h"
#include "brennock/errors/qc_error.h"
#include "brennock/errors/qc_errors.h"
#include "brennock/internal/model/list_collection_core.h"
#include "brennock/internal/model/list_record_core.h"
#include "brennock/internal/registry/record_registry.h"
#include "brennock/items/items.h"
#include "brennock/lists/terms.h"
#include "brennock/model/qc_list_object.h"
#include "cli/app/cli_errors.h"
#include "cli/app/cli_session.h"
#include "cli/app/exit_codes.h"
#include "cli/app/global_options.h"
#include "cli/app/help_text.h"
#include "cli/app/list_kinds.h"
#include "cli/commands/commands.h"
#include "cli/commands/txn_commands.h"
#include "cli/output/stdout_text.h"

namespace brennock::cli {
namespace {

// Entities, terms and items delete each record through the ListDelType of its own kind.
bool CanDelete(const RecordKind& kind) noexcept {
  return IsMasterList(kind) && (kind.Has(kCanDelete) || kind.Has(kMixed));
}

struct DeleteOptions {
  std::string type;
  std::string name;
};

int RunDelete(const DeleteOptions& options, const GlobalOptions& globals) {
  if (const TxnWords* words = FindTxnWords(options.type))
    return RunTxnDelete(*words, options.name, false, globals);
  const RecordKind* list = FindListKindByCommand(options.type);
  if (!list || !CanDelete(*list))
    throw UsageError("cannot delete from '" + options.type + "'; lists: " + ListWords(&CanDelete));

  CliSession session(globals);
  std::shared_ptr<ListCollectionCore> collection =
      session.Company()->ListCollection(list->objectType);
  std::shared_ptr<qcListObject> record = collection->GetByFullName(options.name);
  std::string why = "not found";
  if (collection->Errors()->Count() > 0) why = collection->Errors()->Item(1)->Description();
  // Records without a name (to-dos) are found by their ListID.
  if (!record) record = collection->GetByListID(options.name);
  if (!record)
    throw CommandFailure("no " + std::string(list->label) + " '" + options.name + "': " + why);
  // A refusal raises QuickBooks' reason.
  if (auto* terms = dynamic_cast<Terms*>(collection.get())) {
    bool standard = dynamic_cast<StandardTerm*>(record.get()) != nullptr;
    terms->Delete(record->ListID(), standard ? qbStandardTerms : qbDateDrivenTerms);
  } else if (auto* items = dynamic_cast<Items*>(collection.get())) {
    // By the item's own kind (the library refuses assemblies and fixed assets).
    items->Delete(record->ListID(), std::dynamic_pointer_cast<qcItem>(record)->ItemType());
  } else if (auto* named = dynamic_cast<ListRecordCore*>(record.get());
             named && list->Has(kMixed)) {
    // An entity's own list (customer, vendor ...) knows its ListDelType.
    session.Company()->ListCollection(named->ObjectType())->Delete(record->ListID());
  } else {
    collection->Delete(record->ListID());
  }
  std::string shown = record->FullName().empty() ? options.name : record->FullName();
  if (!globals.quiet) WriteOut("Deleted " + std::string(list->label) + " " + shown + "\n");
  return kExitOk;
}

}  // namespace

CommandRun AttachDeleteCommand(CLI::App& app, const GlobalOptions& globals) {
  CLI::App* remove = app.add_subcommand("delete", "Delete a record of a list by name (or ListID)");
  remove->footer(Wrapped("Lists: " + ListWords(&CanDelete), 96) + "\n" +
                 Wrapped("Transactions (by number or TxnID): " + TxnCommandWords(), 96) + R"(

Examples:
  brennock delete class "Wholesale:East"
  brennock delete paymentmethod "Visa"
  brennock delete todo 80000080-1796524912
  brennock delete vendor "Acme Supplies"
  brennock delete entity "Acme Supplies"
  brennock delete item "Delivery"
  brennock delete invoice 1042)");
  auto options = std::make_shared<DeleteOptions>();
  remove->add_option("TYPE", options->type, "List to delete from")->required();
  remove->add_option("NAME", options->name, "Full name of the record, or its ListID")->required();
  return [options, &globals] { return RunDelete(*options, globals); };
}

}  // namespace brennock::cli
