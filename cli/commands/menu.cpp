// brennock menu click "Menu:Item": the user of the simulated company chooses a menu item an
// application added.
#include <CLI/CLI.hpp>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>

#include "cli/app/cli_errors.h"
#include "cli/app/exit_codes.h"
#include "cli/app/global_options.h"
#include "cli/commands/commands.h"
#include "simulator/events/data_events.h"

namespace brennock::cli {
namespace {

int RunClick(const std::string& path, const GlobalOptions& globals) {
  if (path.find(':') == std::string::npos)
    throw UsageError("name the menu and the item: \"Customers:Send to CRM\"");
  if (globals.company.empty())
    throw UsageError("the menu belongs to a company file: --company FILE or $BRENNOCK_COMPANY");
  const int told = simulator::ChooseMenuItem(globals.company, path);
  if (told == 0) throw CommandFailure("no application added \"" + path + "\"");
  if (!globals.quiet)
    std::cerr << "brennock: chose " << path << "; " << told << " event" << (told == 1 ? "" : "s")
              << " queued\n";
  return kExitOk;
}

}  // namespace

CommandRun AttachMenuCommand(CLI::App& app, const GlobalOptions& globals) {
  CLI::App* menu = app.add_subcommand("menu", "Use the menus of the simulated company");
  menu->require_subcommand(1);
  CLI::App* click = menu->add_subcommand(
      "click", "Choose a menu item an application added: its subscribers get a UIExtensionEvent");
  click->footer(R"(Examples:
  brennock menu click "Customers:Send to CRM"
  brennock menu click "Banking:Books Sync:Import statements"   (an item of an application's submenu))");
  auto path = std::make_shared<std::string>();
  click->add_option("ITEM", *path, "Menu and item, separated by ':'")->required();
  return [path, &globals] { return RunClick(*path, globals); };
}

}  // namespace brennock::cli
