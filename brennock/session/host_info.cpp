#include "brennock/internal/session/host_info.h"

#include "brennock/internal/session/session_state.h"
#include "brennock/internal/util/text.h"
#include "brennock/xml/xml_document.h"

namespace brennock {
namespace {

bool TrueText(std::string_view text) {
  if (text == "1") return true;
  return AsciiEqualsIgnoreCase(text, "true");
}

// QBXML -> message-set response -> first response -> its first element, or Nothing.
XmlNode HostRecord(const XmlDocument& response) {
  XmlNode node = response.documentElement();
  for (int step = 0; step < 3 && node; ++step) node = node.childNodes().item(0);
  return node;
}

}  // namespace

HostInfo ReadHostInfo(const XmlDocument& response) {
  HostInfo host;
  XmlNode record = HostRecord(response);
  if (!record || record.nodeType() != NODE_ELEMENT) return host;
  for (XmlNode child : record.childNodes()) {
    if (child.nodeType() != NODE_ELEMENT) continue;
    std::string name = child.baseName();
    if (name == "ProductName") {
      host.ProductName = child.text();
    } else if (name == "MajorVersion") {
      host.MajorVersion = child.text();
    } else if (name == "MinorVersion") {
      host.MinorVersion = child.text();
    } else if (name == "SupportedQBXMLVersion") {
      host.SupportedQBXMLVersion = child.text();
    } else if (name == "Country") {
      host.Country = child.text();
    } else if (name == "IsAutomaticLogin") {
      host.IsAutomaticLogin = TrueText(child.text());
    } else if (name == "QBFileMode") {
      host.QBFileMode = child.text();
    }
  }
  return host;
}

Currency LeadingNumber(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
  std::size_t start = at;
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) ++at;
  bool digits = false, point = false;
  for (; at < text.size(); ++at) {
    char c = text[at];
    if (c >= '0' && c <= '9') {
      digits = true;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  Currency value;
  if (!digits || !Currency::TryParse(text.substr(start, at - start), value)) return Currency();
  return value;
}

void ApplySessionQbxmlVersion(SessionState& session, const std::string& version) {
  std::string_view prefix = std::string_view(version).substr(0, 2);
  bool ca = prefix == "CA", uk = prefix == "UK", au = prefix == "OZ" || prefix == "AU";
  session.qbxmlVersion = version;
  session.nonUSEdition = ca || uk || au;
  session.ukEdition = uk;
  session.australianEdition = au;
  session.qbxmlVersionNumber =
      LeadingNumber(session.nonUSEdition ? std::string_view(version).substr(2) : version);
}

}  // namespace brennock
