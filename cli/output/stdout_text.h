#pragma once

#include <string_view>

namespace brennock::cli {

// Writes text to standard output at once (no buffering behind the caller's back); a failed write
// (a full disk) raises CommandFailure.
void WriteOut(std::string_view text);

}  // namespace brennock::cli
