#include "cli/app/command_table.h"

#include "cli/commands/commands.h"

namespace brennock::cli {

std::span<const CommandSpec> CommandTable() {
  // A plain array: a new command is one row, with no count to keep in step.
  static const CommandSpec kCommands[] = {
      {"company", AttachCompanyCommand},
      {"info", AttachInfoCommand},
      {"list", AttachListCommand},
      {"show", AttachShowCommand},
      {"send", AttachSendCommand},
      {"add", AttachAddCommand},
      {"change", AttachChangeCommand},
      {"delete", AttachDeleteCommand},
      {"void", AttachVoidCommand},
      {"deposit", AttachDepositCommand},
      {"serve", AttachServeCommand},
      {"report", AttachReportCommand},
      {"export", AttachExportCommand},
      {"subscribe", AttachSubscribeCommand},
      {"subscriptions", AttachSubscriptionsCommand},
      {"events", AttachEventsCommand},
      {"menu", AttachMenuCommand},
  };
  return kCommands;
}

}  // namespace brennock::cli
