// brennock add TYPE NAME: a new record in one of the company's master lists, saved through the
// library's collection of the list (validation first, then an add request).
#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>
#include <string>

#include "brennock/company/company.h"
#include "brennock/errors/qc_error.h"
#include "brennock/errors/qc_errors.h"
#include "brennock/lists/list_registry.h"
#include "brennock/model/list_collection_core.h"
#include "brennock/model/qc_list_object.h"
#include "cli/app/cli_errors.h"
#include "cli/app/cli_session.h"
#include "cli/app/exit_codes.h"
#include "cli/app/global_options.h"
#include "cli/app/help_text.h"
#include "cli/app/list_kinds.h"
#include "cli/commands/commands.h"
#include "cli/output/stdout_text.h"

namespace brennock::cli {
namespace {

struct AddOptions {
  std::string type;
  std::string name;
  std::string parent;
  bool inactive = false;
};

bool CanAdd(const ListRecordKind& kind) noexcept {
  return IsMasterList(kind) && kind.Has(kCanAdd) && AddsByName(kind);
}

void PrintErrors(const qcErrors& errors) {
  for (const auto& error : errors)
    std::cerr << "  " << HexNumber(error->Number())
              << (error->Field().empty() ? "" : " " + error->Field()) << ": "
              << error->Description() << "\n";
}

int RunAdd(const AddOptions& options, const GlobalOptions& globals) {
  const ListRecordKind* list = FindListKindByCommand(options.type);
  if (!list || !CanAdd(*list))
    throw UsageError("cannot add to '" + options.type + "'; lists: " + ListWords(&CanAdd));
  if (!options.parent.empty() && !list->hierarchical())
    throw UsageError("a " + std::string(list->label) + " has no parent");

  CliSession session(globals);
  // Member errors are printed one by one rather than raised as one summary.
  session.Connection().SetErrorMode(false);
  std::shared_ptr<Company> company = session.Company();
  std::shared_ptr<ListCollectionCore> collection = company->Collection(list->objectType);
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
  add->footer(Wrapped("Lists: " + ListWords(&CanAdd), 96) + R"(

Examples:
  brennock add class "Wholesale"
  brennock add class "East" --parent "Wholesale"
  brennock add shipmethod "Pigeon" --inactive)");
  auto options = std::make_shared<AddOptions>();
  add->add_option("TYPE", options->type, "List to add to")->required();
  add->add_option("NAME", options->name, "Name of the new record")->required();
  add->add_option("--parent", options->parent, "Full name of the parent record");
  add->add_flag("--inactive", options->inactive, "Add it as inactive");
  return [options, &globals] { return RunAdd(*options, globals); };
}

}  // namespace brennock::cli
