#include "cli/app/command_table.h"

#include <array>

#include "cli/commands/commands.h"

namespace brennock::cli {

std::span<const CommandSpec> CommandTable() {
  static const std::array<CommandSpec, 16> kCommands = {{
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
  }};
  return kCommands;
}

}  // namespace brennock::cli
