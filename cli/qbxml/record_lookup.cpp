#include "cli/qbxml/record_lookup.h"

#include "brennock/internal/qbxml/catalogue.h"
#include "brennock/internal/util/text.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/xml/xml_document.h"
#include "cli/app/cli_errors.h"
#include "cli/app/cli_session.h"
#include "cli/qbxml/response_status.h"

namespace brennock::cli {

std::string ChildText(const XmlNode& record, std::string_view name) {
  for (XmlNode child : record.childNodes())
    if (child.nodeType() == NODE_ELEMENT && child.nodeName() == name) return child.text();
  return {};
}

std::string RecordName(const XmlNode& record) {
  std::string name = ChildText(record, "FullName");
  return name.empty() ? ChildText(record, "Name") : name;
}

XmlNode FirstElement(const XmlNode& parent) {
  for (XmlNode child : parent.childNodes())
    if (child.nodeType() == NODE_ELEMENT) return child;
  return {};
}

FoundRecord FindRecord(CliSession& session, const RecordKind& kind, const std::string& name) {
  std::string query = std::string(kind.stem) + "QueryRq";
  const qbxml::Aggregate* shape = qbxml::FindAggregate(query);
  bool byName = shape && qbxml::FindElement(*shape, "FullName");
  std::string request = "<" + query + " requestID=\"1\"><";
  request += byName ? "FullName>" : "ListID>";
  AppendXmlEscaped(request, name, XmlEscaping::kText);
  request += byName ? "</FullName></" : "</ListID></";
  request += query + '>';
  xmlBldr& builder = session.NewRequest();
  builder.InsertRawXML(request);
  FoundRecord found;
  found.response = session.Send();
  std::vector<ResponseStatus> statuses = ReadStatuses(*found.response);
  if (statuses.empty()) throw CommandFailure("QuickBooks sent no response to the request");
  const ResponseStatus& status = statuses.front();
  // 1: nothing matched; 500: the named object is not there; 3000: not a ListID at all.
  bool missing = status.code == "1" || status.code == "500" || (!byName && status.code == "3000");
  if (!missing && status.IsError()) throw StatusError(status.code, status.message);
  if (!missing) found.ret = FirstElement(status.element);
  if (found.ret) return found;
  throw CommandFailure("no " + std::string(kind.label) + " '" + name + "'");
}

}  // namespace brennock::cli
