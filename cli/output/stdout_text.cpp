#include "cli/output/stdout_text.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/app/cli_errors.h"

namespace brennock::cli {

void WriteOut(std::string_view text) {
  if (text.empty()) return;
  if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0)
    throw CommandFailure(std::string("cannot write the output: ") + std::strerror(errno));
}

}  // namespace brennock::cli
