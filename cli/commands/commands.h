#pragma once

#include "cli/app/command_table.h"

namespace brennock::cli {

// One function per file in cli/commands/, each adding its subcommand; see CommandTable.
CommandRun AttachCompanyCommand(CLI::App& app, const GlobalOptions& globals);
CommandRun AttachInfoCommand(CLI::App& app, const GlobalOptions& globals);
CommandRun AttachListCommand(CLI::App& app, const GlobalOptions& globals);
CommandRun AttachSendCommand(CLI::App& app, const GlobalOptions& globals);
CommandRun AttachAddCommand(CLI::App& app, const GlobalOptions& globals);
CommandRun AttachDeleteCommand(CLI::App& app, const GlobalOptions& globals);
CommandRun AttachVoidCommand(CLI::App& app, const GlobalOptions& globals);
CommandRun AttachDepositCommand(CLI::App& app, const GlobalOptions& globals);
CommandRun AttachShowCommand(CLI::App& app, const GlobalOptions& globals);
CommandRun AttachChangeCommand(CLI::App& app, const GlobalOptions& globals);
CommandRun AttachServeCommand(CLI::App& app, const GlobalOptions& globals);
CommandRun AttachExportCommand(CLI::App& app, const GlobalOptions& globals);
CommandRun AttachSubscribeCommand(CLI::App& app, const GlobalOptions& globals);
CommandRun AttachSubscriptionsCommand(CLI::App& app, const GlobalOptions& globals);
CommandRun AttachEventsCommand(CLI::App& app, const GlobalOptions& globals);
CommandRun AttachMenuCommand(CLI::App& app, const GlobalOptions& globals);
CommandRun AttachReportCommand(CLI::App& app, const GlobalOptions& globals);

}  // namespace brennock::cli
