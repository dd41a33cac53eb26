// The `brennock` command: QuickBooks company data from the shell, through the library.
#include "cli/app/command_line.h"

int main(int argc, char** argv) { return brennock::cli::RunCommandLine(argc, argv); }
