#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "brennock/session/qb_connection.h"
#include "brennock/session/xml_bldr.h"

namespace brennock {
class Company;
class XmlDocument;
}  // namespace brennock

namespace brennock::cli {

struct GlobalOptions;

// A command's conversation with QuickBooks: connects on construction with the global options
// (processor, trace, qbXML version, company file) and closes the session on destruction.
class CliSession {
 public:
  explicit CliSession(const GlobalOptions& options);
  ~CliSession();
  CliSession(const CliSession&) = delete;
  CliSession& operator=(const CliSession&) = delete;

  QBConnection& Connection() noexcept { return connection_; }
  // The session's company object with its master list collections.
  std::shared_ptr<brennock::Company> Company();
  // A builder holding a fresh request document (header, QBXML, message set).
  xmlBldr& NewRequest();
  // Closes and sends the document of NewRequest; the response is returned unchecked.
  std::shared_ptr<XmlDocument> Send();
  // Sends a complete document as it is and returns the response text; statuses are not read.
  std::string SendRaw(std::string_view document);

 private:
  QBConnection connection_;
  xmlBldr builder_;
};

}  // namespace brennock::cli
