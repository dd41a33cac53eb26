// brennock delete TYPE NAME: deletes a record of a simple list by its full name.
#include <CLI/CLI.hpp>
#include <memory>
#include <string>

#include "brennock/company/company.h"
#include "brennock/errors/qc_error.h"
#include "brennock/errors/qc_errors.h"
#include "brennock/model/list_collection_core.h"
#include "brennock/model/qc_list_object.h"
#include "cli/app/cli_errors.h"
#include "cli/app/cli_session.h"
#include "cli/app/exit_codes.h"
#include "cli/app/global_options.h"
#include "cli/app/simple_lists.h"
#include "cli/commands/commands.h"
#include "cli/output/stdout_text.h"

namespace brennock::cli {
namespace {

struct DeleteOptions {
  std::string type;
  std::string name;
};

int RunDelete(const DeleteOptions& options, const GlobalOptions& globals) {
  const SimpleList* list = FindSimpleList(options.type);
  if (!list)
    throw UsageError("cannot delete from '" + options.type + "'; lists: " + SimpleListNames());

  CliSession session(globals);
  std::shared_ptr<ListCollectionCore> collection = list->collection(*session.Company());
  std::shared_ptr<qcListObject> record = collection->GetByFullName(options.name);
  if (!record) {
    std::string why = "not found";
    if (collection->Errors()->Count() > 0) why = collection->Errors()->Item(1)->Description();
    throw CommandFailure("no " + std::string(list->label) + " '" + options.name + "': " + why);
  }
  collection->Delete(record->ListID());  // a refusal raises QuickBooks' reason
  if (!globals.quiet)
    WriteOut("Deleted " + std::string(list->label) + " " + record->FullName() + "\n");
  return kExitOk;
}

}  // namespace

CommandRun AttachDeleteCommand(CLI::App& app, const GlobalOptions& globals) {
  CLI::App* remove = app.add_subcommand("delete", "Delete a record of a simple list by name");
  remove->footer("Lists: " + SimpleListNames() + R"(

Examples:
  brennock delete class "Wholesale:East"
  brennock delete paymentmethod "Visa")");
  auto options = std::make_shared<DeleteOptions>();
  remove->add_option("TYPE", options->type, "List to delete from")->required();
  remove->add_option("NAME", options->name, "Full name of the record")->required();
  return [options, &globals] { return RunDelete(*options, globals); };
}

}  // namespace brennock::cli
