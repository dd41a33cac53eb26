#pragma once

#include <string>
#include <string_view>

namespace brennock::simulator {

// What an event says about QuickBooks itself (HostInfo), and the qbXML version of the document.
struct EventHost {
  std::string product_name;
  std::string major_version;
  std::string minor_version;
  std::string country;
  std::string qbxml_version;
  // The company's last restore and condense (data events carry them when there are such times).
  std::string last_restore_time;
  std::string last_condense_time;
};

// The event's own part as it waits in the company file: compact, its fields joined by '\x1f'.
// A data event: family ("List", "Txn"), type, operation, ListID or TxnID, and AfterMergeListID
// or RefNumber; a company file event: its operation; a menu event: the item's EventTag.
std::string DataEventBody(std::string_view family, std::string_view type,
                          std::string_view operation, std::string_view id, std::string_view extra);

// One delivered event as QuickBooks writes it: the XML declaration, a qbxml processing
// instruction, QBXML/QBXMLEvents, and the event (DataEvent, UIEvent or UIExtensionEvent by the
// subscription kind) with SubscriberID, CompanyFilePath, HostInfo, EventTime, the queued body
// (ListEvent or TxnEvent, CompanyFileEvent or EventTag) and,
// for data events, the last restore and condense times and the time events were lost since (when
// there are such times).
struct EventParts {
  std::string_view subscription_kind;  // "Data", "UI", "UIExtension"
  std::string_view subscriber_id;
  std::string_view company_path;
  std::string_view event_time;
  std::string_view body;  // compact, as queued
  std::string_view recovery_time;
};
std::string EventDocument(const EventHost& host, const EventParts& parts);

}  // namespace brennock::simulator
