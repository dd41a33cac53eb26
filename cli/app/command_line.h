#pragma once

namespace brennock::cli {

// The whole `brennock` command: parses argv, runs the chosen command and returns its exit
// status. Output goes to standard output and standard error.
int RunCommandLine(int argc, char** argv);

}  // namespace brennock::cli
