#pragma once

#include <functional>
#include <span>

namespace CLI {
class App;
}

namespace brennock::cli {

struct GlobalOptions;

// What runs a command once the command line parsed; returns the exit status.
using CommandRun = std::function<int()>;

// One top-level command: attach adds its subcommand (with options, help and examples) to the
// application and returns what runs it.
struct CommandSpec {
  const char* name;
  CommandRun (*attach)(CLI::App& app, const GlobalOptions& globals);
};

// Every command of `brennock`, in the order --help lists them.
std::span<const CommandSpec> CommandTable();

}  // namespace brennock::cli
