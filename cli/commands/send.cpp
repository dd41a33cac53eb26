// brennock send REQUEST.xml|-: a qbXML request document sent as it is, the response printed.
#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>

#include "brennock/xml/xml_document.h"
#include "cli/app/cli_errors.h"
#include "cli/app/cli_session.h"
#include "cli/app/exit_codes.h"
#include "cli/app/global_options.h"
#include "cli/commands/commands.h"
#include "cli/output/stdout_text.h"
#include "cli/qbxml/response_status.h"

namespace brennock::cli {
namespace {

struct SendOptions {
  std::string request;
};

std::string ReadRequest(const std::string& path) {
  if (path == "-") {
    std::ostringstream text;
    text << std::cin.rdbuf();
    return std::move(text).str();
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) throw CommandFailure("cannot read " + path + ": " + std::strerror(errno));
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int RunSend(const SendOptions& options, const GlobalOptions& globals) {
  std::string request = ReadRequest(options.request);
  std::string response;
  {
    CliSession session(globals);
    response = session.SendRaw(request);
  }
  WriteOut(response);
  if (!response.empty() && response.back() != '\n') WriteOut("\n");

  XmlDocument document;
  if (!document.loadXML(response)) {
    std::cerr << "brennock: the response is not an XML document\n";
    return kExitFailed;
  }
  int errors = 0;
  for (const ResponseStatus& status : ReadStatuses(document)) {
    if (!status.IsError()) continue;
    ++errors;
    std::cerr << "brennock: " << status.element.nodeName();
    if (!status.requestID.empty()) std::cerr << " (requestID " << status.requestID << ")";
    std::cerr << ": status " << status.code << ": " << status.message << "\n";
  }
  return errors == 0 ? kExitOk : kExitFailed;
}

}  // namespace

CommandRun AttachSendCommand(CLI::App& app, const GlobalOptions& globals) {
  CLI::App* send = app.add_subcommand(
      "send", "Send a qbXML request document and print the response (exit 1 on an error status)");
  send->footer(R"(Examples:
  brennock send request.xml --company /tmp/sample.qbw
  echo '<?xml version="1.0"?><?qbxml version="13.0"?><QBXML><QBXMLMsgsRq onError="stopOnError"><HostQueryRq/></QBXMLMsgsRq></QBXML>' | brennock send -)");
  auto options = std::make_shared<SendOptions>();
  send->add_option("REQUEST", options->request, "Request file, or - for standard input")
      ->required();
  return [options, &globals] { return RunSend(*options, globals); };
}

}  // namespace brennock::cli
