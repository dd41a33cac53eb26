#pragma once

#include <string>
#include <vector>

#include "brennock/xml/xml_node.h"

namespace brennock {
class XmlDocument;
}

namespace brennock::cli {

// The status attributes of one response element of a qbXML response document.
struct ResponseStatus {
  XmlNode element;
  std::string requestID;
  std::string code;
  std::string severity;  // "Info", "Warn" or "Error"
  std::string message;

  bool IsError() const { return severity == "Error"; }
  // Status 1 is "no object matched the query": an empty answer, not a failure.
  bool NothingFound() const { return code == "1"; }
};

// The response elements of every message set in the document, in order. Empty when the document
// is not a qbXML response.
std::vector<ResponseStatus> ReadStatuses(const XmlDocument& response);

// The status of the first response; raises StatusError when it is an error and
// CommandFailure when the document holds no response at all.
ResponseStatus RequireSuccess(const XmlDocument& response);

}  // namespace brennock::cli
