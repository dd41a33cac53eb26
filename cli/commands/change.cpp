// brennock change TYPE NAME --set Field=Value: a modify request of one record with the fields
// given and nothing else, made with the record's current EditSequence.
#include <CLI/CLI.hpp>
#include <memory>
#include <string>
#include <vector>

#include "brennock/internal/qbxml/catalogue.h"
#include "brennock/internal/registry/record_registry.h"
#include "brennock/internal/util/text.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/xml/xml_document.h"
#include "cli/app/cli_errors.h"
#include "cli/app/cli_session.h"
#include "cli/app/exit_codes.h"
#include "cli/app/global_options.h"
#include "cli/app/help_text.h"
#include "cli/app/list_kinds.h"
#include "cli/commands/commands.h"
#include "cli/output/stdout_text.h"
#include "cli/qbxml/record_body.h"
#include "cli/qbxml/record_lookup.h"
#include "cli/qbxml/response_status.h"

namespace brennock::cli {
namespace {

struct ChangeOptions {
  std::string type;
  std::string name;
  std::vector<std::string> settings;
};

// QuickBooks modifies these lists; accounts, terms and the simple lists it refuses to are left
// out, as the library leaves them.
bool CanChange(const RecordKind& kind) noexcept {
  return kind.Has(kCanModify) && kind.modifyRefusal.empty() && !kind.Has(kMixed) &&
         qbxml::FindAggregate(std::string(kind.stem) + "Mod") != nullptr;
}

int RunChange(const ChangeOptions& options, const GlobalOptions& globals) {
  const RecordKind* list = FindListKindByCommand(options.type);
  if (!list || !CanChange(*list)) {
    std::string what =
        list ? "QuickBooks does not modify records of the " + std::string(list->label) + " list"
             : "unknown list type '" + options.type + "'";
    throw UsageError(what + "; lists that change: " + ListWords(&CanChange));
  }
  if (options.settings.empty()) throw UsageError("nothing to change: give --set Field=Value");
  const qbxml::Aggregate& shape = *qbxml::FindAggregate(std::string(list->stem) + "Mod");
  // Checked before anything is sent; the record's own fields come after the lookup.
  RecordBody changes(shape, std::string(list->label));
  for (const std::string& setting : options.settings) {
    changes.SetAssignment(setting);
    if (changes.Has("ListID") || changes.Has("EditSequence"))
      throw UsageError("ListID and EditSequence are the record's own; the command sends them");
  }

  CliSession session(globals);
  FoundRecord found = FindRecord(session, *list, options.name);
  RecordBody body(shape, std::string(list->label));
  body.Set("ListID", ChildText(found.ret, "ListID"));
  body.Set("EditSequence", ChildText(found.ret, "EditSequence"));
  for (const std::string& setting : options.settings) body.SetAssignment(setting);

  std::string stem(list->stem);
  std::string request = "<" + stem + "ModRq requestID=\"1\"><" + stem + "Mod>";
  body.AppendXml(request);
  request += "</" + stem + "Mod></" + stem + "ModRq>";
  session.NewRequest().InsertRawXML(request);
  std::shared_ptr<XmlDocument> response = session.Send();
  ResponseStatus status = RequireSuccess(*response);  // a refusal exits 2 with QuickBooks' reason
  std::string shown = RecordName(FirstElement(status.element));
  if (!globals.quiet)
    WriteOut("Changed " + std::string(list->label) + " " + (shown.empty() ? options.name : shown) +
             "\n");
  return kExitOk;
}

}  // namespace

CommandRun AttachChangeCommand(CLI::App& app, const GlobalOptions& globals) {
  CLI::App* change = app.add_subcommand("change", "Change fields of one record");
  change->footer(Wrapped("Lists: " + ListWords(&CanChange), 96) + R"(

Only the fields given are sent, with the record's current EditSequence; QuickBooks refuses the
change (exit status 2) when someone saved the record in between or a value breaks its rules.
Fields are named as for add (BillAddress.City, TermsRef); --set Name=... renames the record.

Examples:
  brennock change customer "Byrne Bakery" --set Phone=555-0101 --set BillAddress.City=Cork
  brennock change vendor "Acme Supplies" --set TermsRef="Net 30"
  brennock change customer "Byrne Bakery" --set Name="Byrne's Bakery")");
  auto options = std::make_shared<ChangeOptions>();
  change->add_option("TYPE", options->type, "List of the record")->required();
  change->add_option("NAME", options->name, "Full name of the record")->required();
  change->add_option("--set", options->settings, "A field to change, Field=Value (repeatable)")
      ->type_name("FIELD=VALUE")
      ->allow_extra_args(false);
  return [options, &globals] { return RunChange(*options, globals); };
}

}  // namespace brennock::cli
