#include "cli/qbxml/response_status.h"

#include "brennock/xml/xml_attributes.h"
#include "brennock/xml/xml_document.h"
#include "cli/app/cli_errors.h"

namespace brennock::cli {
namespace {

ResponseStatus StatusOf(const XmlNode& element) {
  ResponseStatus status;
  status.element = element;
  XmlAttributes attributes = element.attributes();
  for (int32_t i = 0, count = attributes.length(); i < count; ++i) {
    XmlAttribute attribute = attributes.item(i);
    std::string name = attribute.nodeName();
    if (name == "requestID")
      status.requestID = attribute.text();
    else if (name == "statusCode")
      status.code = attribute.text();
    else if (name == "statusSeverity")
      status.severity = attribute.text();
    else if (name == "statusMessage")
      status.message = attribute.text();
  }
  return status;
}

}  // namespace

std::vector<ResponseStatus> ReadStatuses(const XmlDocument& response) {
  std::vector<ResponseStatus> statuses;
  XmlNode root = response.documentElement();
  if (!root || root.nodeName() != "QBXML") return statuses;
  for (XmlNode messageSet : root.childNodes()) {
    if (messageSet.nodeType() != NODE_ELEMENT) continue;
    for (XmlNode element : messageSet.childNodes()) {
      if (element.nodeType() == NODE_ELEMENT) statuses.push_back(StatusOf(element));
    }
  }
  return statuses;
}

ResponseStatus RequireSuccess(const XmlDocument& response) {
  std::vector<ResponseStatus> statuses = ReadStatuses(response);
  if (statuses.empty()) throw CommandFailure("QuickBooks sent no response to the request");
  ResponseStatus& first = statuses.front();
  if (first.IsError()) throw StatusError(first.code, first.message);
  return std::move(first);
}

}  // namespace brennock::cli
