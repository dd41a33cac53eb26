#pragma once

#include <memory>
#include <string>

#include "brennock/internal/model/record_kind.h"
#include "brennock/xml/xml_node.h"

namespace brennock {
class XmlDocument;
}

namespace brennock::cli {

class CliSession;

// One record read by name: its ...Ret element, alive as long as the response is held.
struct FoundRecord {
  std::shared_ptr<XmlDocument> response;
  XmlNode ret;
};

// Reads the record of kind with this full name (ListID for lists without names, such as to-dos).
// No such record raises CommandFailure ("no customer 'X'"); other refusals raise StatusError.
FoundRecord FindRecord(CliSession& session, const RecordKind& kind, const std::string& name);

// The first element child (a response's record), or a null node.
XmlNode FirstElement(const XmlNode& parent);

// How a record is named in messages: its FullName, else its Name.
std::string RecordName(const XmlNode& record);

// The text of a child element of a record, or empty.
std::string ChildText(const XmlNode& record, std::string_view name);

}  // namespace brennock::cli
