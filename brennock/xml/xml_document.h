#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "brennock/xml/xml_attributes.h"
#include "brennock/xml/xml_node.h"

namespace brennock {

// Why the last load failed (MSXML's parseError): errorCode is 0 after a successful load and 1
// after a failed one; filepos is the byte offset of the fault in the UTF-8 text that was parsed
// (-1 when there is no position, as for an unreadable file).
struct XmlParseError {
  int32_t errorCode = 0;
  std::string reason;
  int64_t filepos = -1;
};

// An XML document in the MSXML manner. The document is itself a node (nodeName "#document"):
// its childNodes are the XML declaration, DOCTYPE, processing instructions and comments in the
// order written, and the one root element. For the header the request builder writes,
//   <?xml version="1.0" ?><QBXML>...                       the root element is item(1);
//   <?xml ...?><!DOCTYPE QBXML PUBLIC '...' ><QBXML>...      item(1) is the DOCTYPE, the root
//   item(2);
//   <?xml ...?><?qbxml version="4.0"?><QBXML>...            item(1) is the processing instruction.
//
// Loading is always synchronous. A text that does not load leaves the document empty (no
// children), so positional access through it raises AutomationError 91.
//
// Text is UTF-8. A text that is not valid UTF-8 and declares encoding="ISO-8859-1" (or "latin1",
// "windows-1252") is decoded from that encoding; one that is valid UTF-8 is taken as UTF-8
// whatever it declares, as MSXML's loadXML takes a string that is already Unicode.
//
// Copies share the loaded tree; loading replaces the tree of this object only, and nodes taken
// from the earlier tree stay valid.
class XmlDocument : public XmlNode {
 public:
  XmlDocument();

  // Parses text (taken over and parsed in place); false when it is not a well-formed document.
  bool loadXML(std::string text);
  // Reads and parses a file; false when it cannot be read or does not parse.
  bool load(const std::filesystem::path& path);

  XmlParseError parseError() const;
  // The root element; Nothing for an empty document.
  XmlNode documentElement() const;
};

}  // namespace brennock
