#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/build_paths.h"

namespace brennock::testing {

// What one run of the built `brennock` program did.
struct CliResult {
  int status = -1;  // exit status; -1 when it did not exit normally
  std::string out;
  std::string err;
};

inline std::string ReadWhole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return std::move(text).str();
}

// Runs the program with args and input on standard input; output goes through files in folder so
// that large outputs cannot fill a pipe.
inline CliResult RunCli(const std::filesystem::path& folder, const std::vector<std::string>& args,
                        const std::string& input = {}) {
  const std::filesystem::path in = folder / "stdin", out = folder / "stdout",
                              err = folder / "stderr";
  std::ofstream(in, std::ios::binary) << input;
  std::vector<char*> argv;
  std::string program = CliPath();
  argv.push_back(program.data());
  std::vector<std::string> copies = args;
  for (auto& arg : copies) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t child = ::fork();
  if (child == 0) {
    ::dup2(::open(in.c_str(), O_RDONLY), 0);
    ::dup2(::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
    ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  int wait = 0;
  ::waitpid(child, &wait, 0);
  CliResult result;
  result.status = WIFEXITED(wait) ? WEXITSTATUS(wait) : -1;
  result.out = ReadWhole(out);
  result.err = ReadWhole(err);
  return result;
}

}  // namespace brennock::testing
