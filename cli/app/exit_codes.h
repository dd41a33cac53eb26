#pragma once

namespace brennock::cli {

// Exit statuses of the `brennock` command. 64 is the BSD "usage" status scripts already know.
inline constexpr int kExitOk = 0;
// The command ran and its answer says it failed (an error status in a sent document, a company
// file that already exists).
inline constexpr int kExitFailed = 1;
// The library raised an automation error, or QuickBooks refused a request the command wrote.
inline constexpr int kExitAutomation = 2;
// The command line itself was wrong.
inline constexpr int kExitUsage = 64;

}  // namespace brennock::cli
