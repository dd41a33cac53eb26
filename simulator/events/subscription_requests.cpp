#include "simulator/events/subscription_requests.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <span>
#include <vector>

#include "brennock/internal/qbxml/catalogue.h"
#include "brennock/internal/util/text.h"
#include "simulator/clock.h"
#include "simulator/events/event_kinds.h"
#include "simulator/events/event_queue.h"
#include "simulator/events/event_tables.h"
#include "simulator/lists/field_values.h"
#include "simulator/status_codes.h"
#include "simulator/xml_writer.h"

namespace brennock::simulator {
namespace {

// The subscription kinds, as SubscriptionType names them, with their qbXML stems.
struct Kind {
  std::string_view type;  // "Data", "UI", "UIExtension"
  std::string_view stem;  // "DataEventSubscription" ...
};
constexpr Kind kData{"Data", "DataEventSubscription"};
constexpr Kind kUI{"UI", "UIEventSubscription"};
constexpr Kind kUIExtension{"UIExtension", "UIExtensionSubscription"};
constexpr size_t kMaxCallbackLength = 128;  // AppName and ProgID
constexpr size_t kMaxMenuTextLength = 50;   // MenuText and EventTag

std::string Text(pugi::xml_node node, const char* child) {
  return std::string(Trim(node.child(child).text().get()));
}

// "{8-4-4-4-12}" in hexadecimal digits, as QuickBooks takes subscriber IDs.
bool IsGuid(std::string_view text) {
  constexpr std::string_view kShape = "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}";
  if (text.size() != kShape.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (kShape[i] != 'X') {
      if (c != kShape[i]) return false;
    } else if (!std::isxdigit(static_cast<unsigned char>(c))) {
      return false;
    }
  }
  return true;
}

// The enumeration values of an element of an aggregate in the qbXML catalogue.
std::span<const std::string_view> EnumOf(std::string_view aggregate, std::string_view element) {
  const qbxml::Aggregate* shape = qbxml::FindAggregate(aggregate);
  const qbxml::Element* found = shape ? qbxml::FindElement(*shape, element) : nullptr;
  return found ? qbxml::EnumValues(*found) : std::span<const std::string_view>();
}

bool OneOf(std::span<const std::string_view> values, std::string_view value) {
  return std::find(values.begin(), values.end(), value) != values.end();
}

Status BadValue(std::string_view value, std::string_view field) {
  return MakeStatus(kConversionError, {"enumerated", value, field});
}

void WriteResponse(std::string& out, pugi::xml_node rq, const Status& status,
                   std::string_view body) {
  std::string rs(rq.name());
  rs.back() = 's';
  XmlWriter w(out);
  w.OpenWithAttributes(rs);
  if (auto id = rq.attribute("requestID")) w.Attribute("requestID", id.value());
  w.Attribute("statusCode", std::to_string(status.code));
  w.Attribute("statusSeverity", status.severity);
  w.Attribute("statusMessage", status.message);
  if (body.empty()) {
    w.Raw(" />\n");
    return;
  }
  w.EndAttributes();
  w.Raw(body);
  w.Close(rs);
}

// What every Add carries before its own part.
struct Head {
  std::string subscriber_id;
  std::string app_name;
  std::string callback_element;  // "ProgID" or "CLSID"
  std::string callback;
};

std::optional<Head> ReadHead(pugi::xml_node add, const Kind& kind, Status& status) {
  Head head;
  head.subscriber_id = Text(add, "SubscriberID");
  if (!IsGuid(head.subscriber_id)) {
    status = MakeStatus(kInvalidId, {head.subscriber_id, "SubscriberID"});
    return std::nullopt;
  }
  pugi::xml_node callback = add.child("COMCallbackInfo");
  head.app_name = Text(callback, "AppName");
  head.callback_element = callback.child("ProgID") ? "ProgID" : "CLSID";
  head.callback = Text(callback, head.callback_element.c_str());
  if (head.app_name.empty() || head.callback.empty()) {
    status = MakeStatus(kCannotSave, {kind.stem, "COMCallbackInfo",
                                      "An AppName and a ProgID or CLSID are required."});
    return std::nullopt;
  }
  for (const std::string* text : {&head.app_name, &head.callback}) {
    if (Utf8Length(*text) > kMaxCallbackLength) {
      status = MakeStatus(kStringTooLong, {*text, text == &head.app_name ? "AppName" : "ProgID"});
      return std::nullopt;
    }
  }
  return head;
}

bool ReadDeliveryPolicy(pugi::xml_node add, bool& always, Status& status) {
  const std::string policy = Text(add, "DeliveryPolicy");
  if (policy != "DeliverAlways" && policy != "DeliverOnlyIfRunning") {
    status = BadValue(policy, "DeliveryPolicy");
    return false;
  }
  always = policy == "DeliverAlways";
  return true;
}

struct Interest {
  std::string family;  // "List", "Txn" or "CompanyFile"
  std::string type;
  std::string operation;
};

// A new subscription as it is stored.
struct NewSubscription {
  const Kind* kind;
  std::string menu;
  Head head;
  bool deliver_always = true;
  bool track_lost = false;
  std::string body;  // the answer's elements after COMCallbackInfo
  std::vector<Interest> interests;
};

// Every type with every operation of one ListEventSubscription or TxnEventSubscription, into
// interests, and the aggregate as the answer repeats it into body.
bool ReadEventSubscription(pugi::xml_node aggregate, std::string_view family, NewSubscription& s,
                           Status& status) {
  const std::string prefix(family);
  // The names outlive the loops: pugixml's named ranges keep a pointer to them.
  const std::string typeElement = prefix + "EventType";
  const std::string operationElement = prefix + "EventOperation";
  std::vector<std::string> types, operations;
  XmlWriter w(s.body);
  w.Open(prefix + "EventSubscription");
  for (pugi::xml_node type : aggregate.children(typeElement.c_str())) {
    types.emplace_back(Trim(type.text().get()));
    if (!IsEventType(family, types.back())) {
      status = BadValue(types.back(), typeElement);
      return false;
    }
    w.Element(typeElement, types.back());
  }
  for (pugi::xml_node operation : aggregate.children(operationElement.c_str())) {
    operations.emplace_back(Trim(operation.text().get()));
    if (!IsEventOperation(family, operations.back())) {
      status = BadValue(operations.back(), operationElement);
      return false;
    }
    w.Element(operationElement, operations.back());
  }
  w.Close(prefix + "EventSubscription");
  for (const std::string& type : types)
    for (const std::string& operation : operations)
      s.interests.push_back({prefix, type, operation});
  return true;
}

bool ReadDataSubscription(pugi::xml_node add, NewSubscription& s, Status& status) {
  if (!ReadDeliveryPolicy(add, s.deliver_always, status)) return false;
  const std::string track = Text(add, "TrackLostEvents");
  if (!track.empty() && track != "All" && track != "None") {
    status = BadValue(track, "TrackLostEvents");
    return false;
  }
  s.track_lost = track == "All";
  XmlWriter w(s.body);
  w.Element("DeliveryPolicy", s.deliver_always ? "DeliverAlways" : "DeliverOnlyIfRunning");
  w.Element("TrackLostEvents", s.track_lost ? "All" : "None");
  // The answer lists the list subscriptions before the transaction ones.
  for (std::string_view family : {"List", "Txn"}) {
    const std::string name = std::string(family) + "EventSubscription";
    for (pugi::xml_node aggregate : add.children(name.c_str()))
      if (!ReadEventSubscription(aggregate, family, s, status)) return false;
  }
  return true;
}

bool ReadUISubscription(pugi::xml_node add, NewSubscription& s, Status& status) {
  if (!ReadDeliveryPolicy(add, s.deliver_always, status)) return false;
  XmlWriter w(s.body);
  w.Element("DeliveryPolicy", s.deliver_always ? "DeliverAlways" : "DeliverOnlyIfRunning");
  w.Open("CompanyFileEventSubscription");
  for (pugi::xml_node operation :
       add.child("CompanyFileEventSubscription").children("CompanyFileEventOperation")) {
    const std::string text(Trim(operation.text().get()));
    if (text != "Open" && text != "Close") {
      status = BadValue(text, "CompanyFileEventOperation");
      return false;
    }
    w.Element("CompanyFileEventOperation", text);
    s.interests.push_back({"CompanyFile", "", text});
  }
  w.Close("CompanyFileEventSubscription");
  return true;
}

bool CopyDisplayCondition(pugi::xml_node condition, XmlWriter& w, Status& status) {
  if (!condition) return true;
  const auto values = EnumOf("DisplayCondition", "VisibleIf");
  w.Open("DisplayCondition");
  for (const char* element : {"VisibleIf", "VisibleIfNot", "EnabledIf", "EnabledIfNot"}) {
    for (pugi::xml_node value : condition.children(element)) {
      const std::string text(Trim(value.text().get()));
      if (!OneOf(values, text)) {
        status = BadValue(text, element);
        return false;
      }
      w.Element(element, text);
    }
  }
  w.Close("DisplayCondition");
  return true;
}

bool CopyMenuItem(pugi::xml_node item, XmlWriter& w, Status& status) {
  const std::string text = Text(item, "MenuText"), tag = Text(item, "EventTag");
  if (text.empty()) {
    status = MakeStatus(kCannotSave, {kUIExtension.stem, "MenuText", "A menu item needs a text."});
    return false;
  }
  for (const auto& [value, field] : {std::pair{&text, "MenuText"}, std::pair{&tag, "EventTag"}}) {
    if (Utf8Length(*value) > kMaxMenuTextLength) {
      status = MakeStatus(kStringTooLong, {*value, field});
      return false;
    }
  }
  w.Open("MenuItem");
  w.Element("MenuText", text);
  w.Element("EventTag", tag);
  if (!CopyDisplayCondition(item.child("DisplayCondition"), w, status)) return false;
  w.Close("MenuItem");
  return true;
}

bool ReadUIExtensionSubscription(pugi::xml_node add, NewSubscription& s, Status& status) {
  pugi::xml_node menu = add.child("MenuExtensionSubscription");
  s.menu = Text(menu, "AddToMenu");
  if (!OneOf(EnumOf("MenuExtensionSubscription", "AddToMenu"), s.menu)) {
    status = BadValue(s.menu, "AddToMenu");
    return false;
  }
  XmlWriter w(s.body);
  w.Open("MenuExtensionSubscription");
  w.Element("AddToMenu", s.menu);
  if (pugi::xml_node submenu = menu.child("Submenu")) {
    w.Open("Submenu");
    if (!CopyDisplayCondition(submenu.child("DisplayCondition"), w, status)) return false;
    for (pugi::xml_node item : submenu.children("MenuItem"))
      if (!CopyMenuItem(item, w, status)) return false;
    w.Close("Submenu");
  } else if (!CopyMenuItem(menu.child("MenuItem"), w, status)) {
    return false;
  }
  w.Close("MenuExtensionSubscription");
  return true;
}

// "<StemRet>" of a stored subscription (the current row of st, from SubscriptionColumns).
constexpr const char* kSubscriptionColumns =
    "subscriber_id, time_created, app_name, callback_element, callback, body";
void WriteRet(const Kind& kind, Statement& st, std::string& out) {
  XmlWriter w(out);
  const std::string ret = std::string(kind.stem) + "Ret";
  w.Open(ret);
  w.Element("SubscriberID", st.Text(0));
  w.Element("TimeCreated", st.Text(1));
  w.Open("COMCallbackInfo");
  w.Element("AppName", st.Text(2));
  w.Element(st.Text(3), st.Text(4));
  w.Close("COMCallbackInfo");
  w.Raw(st.Text(5));
  w.Close(ret);
}

Status Store(Database& db, const NewSubscription& s, std::string& ret) {
  auto& taken =
      db.Prepare("SELECT 1 FROM subscriptions WHERE subscriber_id = ? AND kind = ? AND menu = ?");
  taken.Bind(1, s.head.subscriber_id).Bind(2, s.kind->type).Bind(3, s.menu);
  const bool duplicate = taken.Step();
  taken.Reset();
  if (duplicate) return MakeStatus(kNameInUse, {s.head.subscriber_id});
  db.Prepare(
        "INSERT INTO subscriptions(subscriber_id, kind, menu, app_name, callback_element, "
        "callback, deliver_always, track_lost, time_created, body) VALUES(?,?,?,?,?,?,?,?,?,?)")
      .Bind(1, s.head.subscriber_id)
      .Bind(2, s.kind->type)
      .Bind(3, s.menu)
      .Bind(4, s.head.app_name)
      .Bind(5, s.head.callback_element)
      .Bind(6, s.head.callback)
      .Bind(7, int64_t{s.deliver_always})
      .Bind(8, int64_t{s.track_lost})
      .Bind(9, FormatDateTime(Now()))
      .Bind(10, s.body)
      .Run();
  for (const Interest& interest : s.interests) {
    db.Prepare(
          "INSERT OR IGNORE INTO event_interests(family, type, operation, subscriber_id) "
          "VALUES(?,?,?,?)")
        .Bind(1, interest.family)
        .Bind(2, interest.type)
        .Bind(3, interest.operation)
        .Bind(4, s.head.subscriber_id)
        .Run();
  }
  db.Prepare("INSERT OR IGNORE INTO event_queues(subscriber_id) VALUES(?)")
      .Bind(1, s.head.subscriber_id)
      .Run();
  auto& st = db.Prepare(std::string("SELECT ") + kSubscriptionColumns +
                        " FROM subscriptions WHERE subscriber_id = ? AND kind = ? AND menu = ?");
  st.Bind(1, s.head.subscriber_id).Bind(2, s.kind->type).Bind(3, s.menu);
  if (st.Step()) WriteRet(*s.kind, st, ret);
  st.Reset();
  return {};
}

Status AddRequest(Database& db, pugi::xml_node rq, const Kind& kind, std::string& body) {
  pugi::xml_node add = rq.child((std::string(kind.stem) + "Add").c_str());
  NewSubscription s;
  s.kind = &kind;
  Status status;
  std::optional<Head> head = ReadHead(add, kind, status);
  if (!head) return status;
  s.head = std::move(*head);
  bool read = &kind == &kData ? ReadDataSubscription(add, s, status)
              : &kind == &kUI ? ReadUISubscription(add, s, status)
                              : ReadUIExtensionSubscription(add, s, status);
  if (!read) return status;
  return Store(db, s, body);
}

Status QueryRequest(Database& db, pugi::xml_node rq, const Kind& kind, std::string& body) {
  if (!HasEventTables(db)) return MakeStatus(kNoMatch);
  const std::string subscriber = Text(rq, "SubscriberID");
  auto& st = db.Prepare(std::string("SELECT ") + kSubscriptionColumns +
                        " FROM subscriptions WHERE kind = ? AND (? = '' OR subscriber_id = ?) "
                        "ORDER BY subscriber_id, menu");
  st.Bind(1, kind.type).Bind(2, subscriber).Bind(3, subscriber);
  while (st.Step()) WriteRet(kind, st, body);
  return body.empty() ? MakeStatus(kNoMatch) : Status{};
}

Status DeleteRequest(Database& db, pugi::xml_node rq) {
  const std::string subscriber = Text(rq, "SubscriberID");
  const std::string type = Text(rq, "SubscriptionType");
  if (type != kData.type && type != kUI.type && type != kUIExtension.type)
    return BadValue(type, "SubscriptionType");
  db.Prepare("DELETE FROM subscriptions WHERE subscriber_id = ? AND kind = ?")
      .Bind(1, subscriber)
      .Bind(2, type)
      .Run();
  if (db.Changes() == 0) return MakeStatus(kObjectNotFound, {subscriber});
  // What the subscription asked for, and its events still waiting, go with it.
  db.Prepare(
        "DELETE FROM event_interests WHERE subscriber_id = ? AND "
        "(CASE family WHEN 'CompanyFile' THEN 'UI' ELSE 'Data' END) = ?")
      .Bind(1, subscriber)
      .Bind(2, type)
      .Run();
  // Counted as delivered, so the numbers of the subscriber's events keep growing.
  db.Prepare(
        "UPDATE event_queues SET acked_seq = max(acked_seq, coalesce((SELECT max(seq) FROM "
        "event_outbox o WHERE o.queue = event_queues.queue AND o.kind = ?2), 0)) "
        "WHERE subscriber_id = ?1")
      .Bind(1, subscriber)
      .Bind(2, type)
      .Run();
  db.Prepare(
        "DELETE FROM event_outbox WHERE kind = ?2 AND queue = "
        "(SELECT queue FROM event_queues WHERE subscriber_id = ?1)")
      .Bind(1, subscriber)
      .Bind(2, type)
      .Run();
  return {};
}

const Kind* KindOfRequest(std::string_view name, std::string_view suffix) {
  for (const Kind* kind : {&kData, &kUI, &kUIExtension})
    if (name.size() == kind->stem.size() + suffix.size() && name.starts_with(kind->stem) &&
        name.ends_with(suffix))
      return kind;
  // Applications built on the library name the UI event query "UISubscriptionQueryRq".
  if (suffix == "QueryRq" && name == "UISubscriptionQueryRq") return &kUI;
  return nullptr;
}

}  // namespace

void AnswerSubscriptionRequests(CompanyDb& company, pugi::xml_node message_set, std::string& out) {
  Database& db = company.db();
  bool writes = false;
  for (pugi::xml_node rq : message_set.children()) {
    const std::string_view name = rq.name();
    writes |=
        rq.type() == pugi::node_element && (name.ends_with("AddRq") || name == "SubscriptionDelRq");
  }
  const bool read_only = company.read_only();
  Transaction txn(db, writes && !read_only);
  if (writes && !read_only) CreateEventTables(db);
  for (pugi::xml_node rq : message_set.children()) {
    if (rq.type() != pugi::node_element) continue;
    const std::string_view name = rq.name();
    std::string body;
    Status status;
    const Kind* add = KindOfRequest(name, "AddRq");
    const Kind* query = KindOfRequest(name, "QueryRq");
    if ((add || name == "SubscriptionDelRq") && read_only) {
      status = MakeStatus(kFileReadOnly);
    } else if (add) {
      db.Exec("SAVEPOINT subscription");
      status = AddRequest(db, rq, *add, body);
      if (!status.ok()) db.Exec("ROLLBACK TO subscription");
      db.Exec("RELEASE subscription");
    } else if (query) {
      status = QueryRequest(db, rq, *query, body);
    } else if (name == "SubscriptionDelRq") {
      status = DeleteRequest(db, rq);
    } else {
      status = MakeStatus(kFeatureNotEnabled);
    }
    if (!status.ok()) body.clear();
    WriteResponse(out, rq, status, body);
  }
  txn.Commit();
}

}  // namespace brennock::simulator
