#include "simulator/events/event_document.h"

#include "simulator/xml_writer.h"

namespace brennock::simulator {
namespace {

std::string_view EventElement(std::string_view kind) {
  if (kind == "UI") return "UIEvent";
  if (kind == "UIExtension") return "UIExtensionEvent";
  return "DataEvent";
}

}  // namespace

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
  w.Raw(parts.body);
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
