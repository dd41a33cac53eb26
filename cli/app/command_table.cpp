#include "cli/app/command_table.h"

#include <array>

#include "cli/commands/commands.h"

namespace brennock::cli {

std::span<const CommandSpec> CommandTable() {
  static const std::array<CommandSpec, 6> kCommands = {{
      {"company", AttachCompanyCommand},
      {"info", AttachInfoCommand},
      {"list", AttachListCommand},
      {"send", AttachSendCommand},
      {"add", AttachAddCommand},
      {"delete", AttachDeleteCommand},
  }};
  return kCommands;
}

}  // namespace brennock::cli
