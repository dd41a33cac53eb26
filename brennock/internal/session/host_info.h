#pragma once

#include <string>
#include <string_view>

#include "brennock/values/currency.h"

namespace brennock {

class XmlDocument;
struct SessionState;

// What the host query tells about the QuickBooks product on the other side.
struct HostInfo {
  std::string ProductName;
  std::string MajorVersion;  // texts as received
  std::string MinorVersion;
  std::string SupportedQBXMLVersion;  // the last one listed
  std::string Country;
  bool IsAutomaticLogin = false;
  std::string QBFileMode;
};

// Reads the children of the host record (the first element of the first response). Unknown
// children are skipped; a response without a host record gives empty values.
HostInfo ReadHostInfo(const XmlDocument& response);

// The leading decimal number of a text, as Val reads it: "3.0" of "3.0b", 0 when there is none.
Currency LeadingNumber(std::string_view text);

// Makes `version` the session's qbXML version: the header text, the number compared with minimum
// versions, and the edition flags its country prefix ("CA", "UK", "OZ", "AU") implies.
void ApplySessionQbxmlVersion(SessionState& session, const std::string& version);

}  // namespace brennock
