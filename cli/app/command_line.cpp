#include "cli/app/command_line.h"

#include <CLI/CLI.hpp>
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "brennock/version.h"
#include "cli/app/cli_errors.h"
#include "cli/app/command_table.h"
#include "cli/app/exit_codes.h"
#include "cli/app/global_options.h"

namespace brennock::cli {
namespace {

constexpr const char* kExamples = R"(Examples:
  brennock company create /tmp/sample.qbw --sample
  brennock info --company /tmp/sample.qbw
  brennock list customer --company /tmp/sample.qbw --max 20
  brennock list item --format json --fields Type,Name,IsActive
  brennock send request.xml --company /tmp/sample.qbw
  brennock add class "East" --parent "Wholesale"

Exit status: 0 success, 1 failure explained on standard error, 2 automation error or
QuickBooks refusal, 64 usage error.)";

// "brennock list": the deepest command the parser reached, for the usage hint.
std::string CommandPath(CLI::App& app) {
  std::string path = "brennock";
  CLI::App* at = &app;
  for (;;) {
    std::vector<CLI::App*> parsed = at->get_subcommands();
    if (parsed.empty()) break;
    at = parsed.front();
    path += ' ';
    path += at->get_name();
  }
  return path;
}

}  // namespace

int RunCommandLine(int argc, char** argv) {
  GlobalOptions globals;
  CLI::App app{"Brennock: read and change QuickBooks company data in qbXML.", "brennock"};
  app.set_version_flag("--version", std::string("brennock ") + kBrennockVersion);
  app.require_subcommand(1);
  app.fallthrough();  // global options may follow the command name
  app.footer(kExamples);
  app.add_option("--company", globals.company,
                 "Company file to open (default: $BRENNOCK_COMPANY, else the open company)")
      ->envname("BRENNOCK_COMPANY");
  app.add_option("--processor", globals.processor,
                 "Request processor ProgID (default: $BRENNOCK_PROCESSOR, else the simulator)")
      ->envname("BRENNOCK_PROCESSOR");
  app.add_option("--trace", globals.trace, "Write every request and response to this file");
  app.add_option("--qbxml-version", globals.qbxmlVersion,
                 "qbXML version written into request headers (e.g. 13.0)");
  app.add_flag("-q,--quiet", globals.quiet, "No progress or confirmations on standard error");

  std::vector<std::pair<std::string, CommandRun>> runs;
  for (const CommandSpec& command : CommandTable())
    runs.emplace_back(command.name, command.attach(app, globals));

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    if (error.get_exit_code() == 0) return app.exit(error);  // --help, --version
    std::string message = error.what();
    // "brennock frobnicate" reads as a missing command to the parser; say what is wrong.
    std::vector<std::string> extra = app.remaining();
    if (app.get_subcommands().empty() && !extra.empty() && extra.front().rfind('-', 0) != 0)
      message = "unknown command '" + extra.front() + "'";
    return ReportFailure(std::make_exception_ptr(UsageError(message)), CommandPath(app));
  }

  std::string chosen = app.get_subcommands().front()->get_name();
  for (auto& [name, run] : runs) {
    if (name != chosen) continue;
    try {
      return run();
    } catch (...) {
      return ReportFailure(std::current_exception(), CommandPath(app));
    }
  }
  return kExitUsage;
}

}  // namespace brennock::cli
