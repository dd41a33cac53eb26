#pragma once

#include <string>

namespace brennock::cli {

// Options every command accepts, before or after the command name.
struct GlobalOptions {
  std::string processor;     // --processor, else BRENNOCK_PROCESSOR; empty: the library's choice
  std::string trace;         // --trace: request trace file
  std::string qbxmlVersion;  // --qbxml-version: header version written into requests
  std::string company;       // --company, else BRENNOCK_COMPANY; empty: the open company
  bool quiet = false;        // -q: no progress or confirmations on standard error
};

}  // namespace brennock::cli
