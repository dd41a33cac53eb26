#include "brennock/events/qb_event.h"

#include <array>
#include <string_view>

#include "brennock/enums/enumeration_type.h"
#include "brennock/enums/enumerations.h"
#include "brennock/internal/util/text.h"
#include "brennock/values/convert_dtypes.h"
#include "brennock/xml/xml_document.h"

namespace brennock {
namespace {

// Elements QuickBooks writes into events that the event schema does not list.
bool IsUnlistedElement(const XmlNode& node) {
  if (node.nodeType() != NODE_ELEMENT) return false;
  std::string name = node.baseName();
  return name == "SubscriberID" || name == "EventTime";
}

// The n-th child of the event that the schema lists (0-based); Nothing past the last, so the
// next step through it raises the document's error.
XmlNode Position(const XmlNode& event, int32_t n) {
  for (XmlNode child : event.childNodes()) {
    if (IsUnlistedElement(child)) continue;
    if (n-- == 0) return child;
  }
  return {};
}

// "Add", "Modify", "Delete", "Merge" as 1..4; 0 for anything else.
int32_t OperationCode(std::string_view text) {
  constexpr std::array<std::string_view, 4> kOperations = {"Add", "Modify", "Delete", "Merge"};
  for (size_t i = 0; i < kOperations.size(); ++i)
    if (AsciiEqualsIgnoreCase(text, kOperations[i])) return static_cast<int32_t>(i) + 1;
  return 0;
}

qoEnumListObjectType ObjectTypeOfName(std::string_view name) {
  std::shared_ptr<QCEnum> table = ThreadEnumerations()->Item(qoeObjectType);
  int32_t position = table->PositionOfXmlText(name);
  if (position == 0) return static_cast<qoEnumListObjectType>(0);
  return static_cast<qoEnumListObjectType>(table->Item(position)->Code());
}

}  // namespace

qbEvent::qbEvent() = default;
qbEvent::~qbEvent() = default;

void qbEvent::ParseXML(const std::string& EventXML) {
  auto document = std::make_shared<XmlDocument>();
  document->loadXML(EventXML);  // a text that does not load leaves no nodes to walk
  document_ = document;

  XmlNode root = document->childNodes().item(2);
  XmlNode event = root.childNodes().item(0).childNodes().item(0);
  const std::string kind = event.nodeName();
  if (kind == "UIExtensionEvent") {
    eventType_ = qbEventUIExtension;
  } else if (kind == "UIEvent") {
    eventType_ = qbEventUI;
  } else if (kind == "DataEvent") {
    eventType_ = qbEventData;
  }
  for (XmlNode child : event.childNodes()) {
    if (!IsUnlistedElement(child)) continue;
    if (child.baseName() == "SubscriberID")
      subscriberID_ = child.text();
    else
      eventTime_ = ModConvertDtypes::TextToDate(child.text());
  }

  if (kind == "UIExtensionEvent") {
    eventTag_ = Position(event, 2).text();
  } else if (kind == "UIEvent") {
    XmlNode fileEvent = Position(event, 2);
    if (AsciiEqualsIgnoreCase(fileEvent.nodeName(), "CompanyFileEvent")) {
      for (XmlNode child : fileEvent.childNodes()) {
        // Names and the operation compare without regard to letter case.
        const std::string name = child.nodeName();
        if (AsciiEqualsIgnoreCase(name, "CompanyFileEventOperation"))
          companyfileOpened_ = AsciiEqualsIgnoreCase(child.text(), "Open");
        else if (AsciiEqualsIgnoreCase(name, "IsNewCompany"))
          newCompany_ = ModConvertDtypes::TextToBool(child.text());
        else if (AsciiEqualsIgnoreCase(name, "IsAutomaticLogin"))
          automaticLogin_ = ModConvertDtypes::TextToBool(child.text());
      }
    }
  } else if (kind == "DataEvent") {
    ReadDataEvent(event);
  }

  companyPath_ = Position(event, 0).text();
  XmlNodeList host = Position(event, 1).childNodes();
  productName_ = host.item(0).text();
  majorVersion_ = host.item(1).text();
  minorVersion_ = host.item(2).text();
}

void qbEvent::ReadDataEvent(const XmlNode& event) {
  for (XmlNode child : event.childNodes()) {
    if (child.nodeType() != NODE_ELEMENT) continue;
    const std::string name = child.baseName();
    if (name == "ListEvent" || name == "TxnEvent") {
      isTxnEvent_ = name == "TxnEvent";
      ReadChange(child);
    } else if (name == "LastRestoreTime") {
      lastRestoreTime_ = ModConvertDtypes::TextToDate(child.text());
    } else if (name == "LastCondenseTime") {
      lastCondenseTime_ = ModConvertDtypes::TextToDate(child.text());
    } else if (name == "DataEventRecoveryTime") {
      dataEventRecoveryTime_ = ModConvertDtypes::TextToDate(child.text());
    }
  }
}

void qbEvent::ReadChange(const XmlNode& change) {
  for (XmlNode child : change.childNodes()) {
    if (child.nodeType() != NODE_ELEMENT) continue;
    const std::string name = child.baseName();
    const std::string text = child.text();
    if (name == "ListEventType" || name == "TxnEventType") {
      dataEventType_ = text;
      dataEventObjectType_ = ObjectTypeOfName(text);
    } else if (name == "ListEventOperation") {
      if (int32_t code = OperationCode(text); code != 0)
        listEventOp_ = static_cast<qbListEventOperations>(code);
    } else if (name == "TxnEventOperation") {
      // Transactions are added, modified and deleted, never merged.
      if (int32_t code = OperationCode(text); code != 0 && code != qbEventMerge)
        txnEventOp_ = static_cast<qbTxnEventOperations>(code);
    } else if (name == "ListID") {
      listID_ = text;
    } else if (name == "AfterMergeListID") {
      afterMergeListID_ = text;
    } else if (name == "TxnID") {
      txnId_ = text;
    } else if (name == "RefNumber") {
      refNumber_ = text;
    }
  }
}

}  // namespace brennock
