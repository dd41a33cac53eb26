#include "simulator/events/event_document.h"

#include <array>

#include "simulator/xml_writer.h"

namespace brennock::simulator {
namespace {

std::string_view EventElement(std::string_view kind) {
  if (kind == "UI") return "UIEvent";
  if (kind == "UIExtension") return "UIExtensionEvent";
  return "DataEvent";
}

constexpr char kSeparator = '\x1f';

// The fields of a compact body, in order; missing ones are empty.
std::array<std::string_view, 5> Fields(std::string_view body) {
  std::array<std::string_view, 5> fields{};
  for (size_t i = 0; i < fields.size(); ++i) {
    const size_t end = body.find(kSeparator);
    fields[i] = body.substr(0, end);
    if (end == std::string_view::npos) break;
    body.remove_prefix(end + 1);
  }
  return fields;
}

void WriteBody(XmlWriter& w, std::string_view element, std::string_view body) {
  if (element == "UIEvent") {
    w.Open("CompanyFileEvent");
    w.Element("CompanyFileEventOperation", body);
    w.Close("CompanyFileEvent");
    return;
  }
  if (element == "UIExtensionEvent") {
    w.Element("EventTag", body);
    return;
  }
  const auto [family, type, operation, id, extra] = Fields(body);
  const std::string prefix(family);
  w.Open(prefix + "Event");
  w.Element(prefix + "EventType", type);
  w.Element(prefix + "EventOperation", operation);
  const bool list = family == "List";
  w.Element(list ? "ListID" : "TxnID", id);
  if (!extra.empty()) w.Element(list ? "AfterMergeListID" : "RefNumber", extra);
  w.Close(prefix + "Event");
}

}  // namespace

std::string DataEventBody(std::string_view family, std::string_view type,
                          std::string_view operation, std::string_view id, std::string_view extra) {
  std::string body;
  body.reserve(family.size() + type.size() + operation.size() + id.size() + extra.size() + 4);
  for (std::string_view field : {family, type, operation, id}) {
    body.append(field);
    body.push_back(kSeparator);
  }
  body.append(extra);
  return body;
}

std::string EventDocument(const EventHost& host, const EventParts& parts) {
  std::string out;
  out.reserve(512 + parts.body.size() + parts.company_path.size());
  out += "<?xml version=\"1.0\" ?>\n<?qbxml version=\"";
  XmlWriter::AppendEscaped(out, host.qbxml_version, true);
  out += "\" ?>\n";
  XmlWriter w(out);
  w.Open("QBXML");
  w.Open("QBXMLEvents");
  const std::string_view element = EventElement(parts.subscription_kind);
  w.Open(element);
  w.Element("SubscriberID", parts.subscriber_id);
  w.Element("CompanyFilePath", parts.company_path);
  w.Open("HostInfo");
  w.Element("ProductName", host.product_name);
  w.Element("MajorVersion", host.major_version);
  w.Element("MinorVersion", host.minor_version);
  w.Element("Country", host.country);
  w.Close("HostInfo");
  w.Element("EventTime", parts.event_time);
  WriteBody(w, element, parts.body);
  if (element == "DataEvent") {
    if (!host.last_restore_time.empty()) w.Element("LastRestoreTime", host.last_restore_time);
    if (!host.last_condense_time.empty()) w.Element("LastCondenseTime", host.last_condense_time);
    if (!parts.recovery_time.empty()) w.Element("DataEventRecoveryTime", parts.recovery_time);
  }
  w.Close(element);
  w.Close("QBXMLEvents");
  w.Close("QBXML");
  return out;
}

}  // namespace brennock::simulator
