#include "cli/app/cli_session.h"

#include "brennock/company/company.h"
#include "brennock/internal/session/session_state.h"
#include "cli/app/global_options.h"

namespace brennock::cli {
namespace {

constexpr const char* kAppID = "";
constexpr const char* kAppName = "Brennock command line";

}  // namespace

CliSession::CliSession(const GlobalOptions& options) {
  connection_.SetRequestProcessorProgId(options.processor);
  // Before Connect, so the host, company and preferences queries are traced too.
  if (!options.trace.empty()) connection_.SetDebugLogPath(options.trace);
  connection_.Connect(kAppID, kAppName, qbOpenModeDontCare, options.company);
  if (!options.qbxmlVersion.empty()) connection_.qbxmlVersionOverride(options.qbxmlVersion);
}

CliSession::~CliSession() {
  try {
    connection_.CloseConnection();
  } catch (...) {
    // The command's own outcome is what matters; a failing close has nothing left to lose.
  }
}

std::shared_ptr<brennock::Company> CliSession::Company() {
  if (auto company = connection_.Company()) return company;
  // A session whose company query loaded nothing still needs the master collections to add and
  // delete records; they read everything else from QuickBooks themselves.
  Session().company = std::make_shared<brennock::Company>();
  return Session().company;
}

xmlBldr& CliSession::NewRequest() {
  builder_.NewClear();
  return builder_;
}

std::shared_ptr<XmlDocument> CliSession::Send() { return builder_.NewSendRequest(); }

std::string CliSession::SendRaw(std::string_view document) {
  builder_.Clear();
  builder_.InsertRawXML(document);
  return builder_.XMLSendToQB();
}

}  // namespace brennock::cli
