// brennock subscriptions list|delete: the subscriptions a company file keeps, of every subscriber.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "brennock/internal/util/text.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/xml/xml_document.h"
#include "cli/app/cli_errors.h"
#include "cli/app/cli_session.h"
#include "cli/app/event_subscriber.h"
#include "cli/app/exit_codes.h"
#include "cli/app/global_options.h"
#include "cli/commands/commands.h"
#include "cli/output/stdout_text.h"
#include "cli/qbxml/record_lookup.h"

namespace brennock::cli {
namespace {

// A kind as SubscriptionType names it, and the query that lists it.
struct Kind {
  std::string_view type;
  std::string_view query;
};
constexpr std::array<Kind, 3> kKinds = {{{"Data", "DataEventSubscriptionQueryRq"},
                                         {"UI", "UIEventSubscriptionQueryRq"},
                                         {"UIExtension", "UIExtensionSubscriptionQueryRq"}}};

struct SubscriptionsOptions {
  std::string subscriber;
  std::string url;
  std::string type = "all";
};

// What a subscription asks for, in a few words: "Customer Add,Delete; Invoice Add" for data (the
// operations of each type together, types in the order they were first named), "CompanyFile
// Open,Close" for company file events, "Customers: Send to CRM" for menus.
std::string Interests(const XmlNode& ret) {
  std::vector<std::pair<std::string, std::string>> byType;  // type, its operations
  std::string out;
  auto append = [](std::string& to, std::string_view part, std::string_view separator) {
    if (!to.empty()) to += separator;
    to += part;
  };
  for (XmlNode child : ret.childNodes()) {
    const std::string name = child.nodeName();
    if (name == "ListEventSubscription" || name == "TxnEventSubscription") {
      std::vector<std::string> types, operations;
      for (XmlNode part : child.childNodes())
        (part.nodeName().ends_with("Type") ? types : operations).push_back(part.text());
      for (const std::string& type : types) {
        auto at = std::find_if(byType.begin(), byType.end(),
                               [&](const auto& entry) { return entry.first == type; });
        if (at == byType.end()) at = byType.insert(byType.end(), {type, ""});
        for (const std::string& operation : operations) append(at->second, operation, ",");
      }
    } else if (name == "CompanyFileEventSubscription") {
      std::string operations;
      for (XmlNode part : child.childNodes()) append(operations, part.text(), ",");
      append(out, "CompanyFile " + operations, "; ");
    } else if (name == "MenuExtensionSubscription") {
      std::string items;
      for (XmlNode part : child.childNodes()) {
        if (part.nodeName() == "MenuItem") append(items, ChildText(part, "MenuText"), ",");
        if (part.nodeName() != "Submenu") continue;
        for (XmlNode item : part.childNodes())
          if (item.nodeName() == "MenuItem") append(items, ChildText(item, "MenuText"), ",");
      }
      append(out, ChildText(child, "AddToMenu") + ": " + items, "; ");
    }
  }
  for (const auto& [type, operations] : byType) append(out, type + " " + operations, "; ");
  return out;
}

std::string SendSubscriptionRequest(xmlBldr& builder, std::string_view element,
                                    const std::vector<std::pair<std::string, std::string>>& fields,
                                    XmlDocument& answer) {
  builder.NewClearSubscriptions();
  builder.OpenAggregate(element, "requestID", "1");
  for (const auto& [name, value] : fields) builder.CreateElement(name, value);
  builder.EndAggregate(element);
  answer = *builder.NewSendSubscriptionRequest();
  return std::to_string(builder.ErrNumber());
}

int RunList(const SubscriptionsOptions& o, const GlobalOptions& globals) {
  std::vector<std::pair<std::string, std::string>> filter;
  if (!o.subscriber.empty()) filter.emplace_back("SubscriberID", o.subscriber);
  CliSession session(globals);
  xmlBldr builder;
  std::string table = "subscriber\tkind\tapp\tcallback\tdelivery\tevents\n";
  size_t rows = 0;
  for (const Kind& kind : kKinds) {
    XmlDocument answer;
    const std::string code = SendSubscriptionRequest(builder, kind.query, filter, answer);
    if (code != "0") throw StatusError(code, builder.ErrMsg());
    XmlNode response = answer.documentElement().childNodes().item(0).childNodes().item(0);
    for (XmlNode ret : response.childNodes()) {
      if (ret.nodeType() != NODE_ELEMENT) continue;
      XmlNode callback;
      for (XmlNode child : ret.childNodes())
        if (child.nodeName() == "COMCallbackInfo") callback = child;
      std::string target = ChildText(callback, "ProgID");
      if (target.empty()) target = ChildText(callback, "CLSID");
      std::string delivery = ChildText(ret, "DeliveryPolicy");
      table += ChildText(ret, "SubscriberID") + "\t" + std::string(kind.type) + "\t" +
               ChildText(callback, "AppName") + "\t" + target + "\t" +
               (delivery.empty() ? "-" : delivery) + "\t" + Interests(ret) + "\n";
      ++rows;
    }
  }
  WriteOut(table);
  return kExitOk;
}

int RunDelete(const SubscriptionsOptions& o, const GlobalOptions& globals) {
  if (!o.subscriber.empty() && !o.url.empty())
    throw UsageError("give --subscriber or --url, not both");
  const std::string subscriber = !o.subscriber.empty() ? o.subscriber
                                 : !o.url.empty()      ? SubscriberOfUrl(o.url)
                                                       : std::string(kCommandSubscriber);
  std::vector<std::string_view> types;
  for (const Kind& kind : kKinds)
    if (o.type == "all" || AsciiEqualsIgnoreCase(o.type, kind.type)) types.push_back(kind.type);
  if (types.empty()) throw UsageError("--type takes data, ui, uiextension or all");

  CliSession session(globals);
  xmlBldr builder;
  int deleted = 0;
  for (std::string_view type : types) {
    XmlDocument answer;
    const std::string code = SendSubscriptionRequest(
        builder, "SubscriptionDelRq",
        {{"SubscriberID", subscriber}, {"SubscriptionType", std::string(type)}}, answer);
    if (code == "0") {
      ++deleted;
      if (!globals.quiet)
        std::cerr << "brennock: deleted the " << type << " subscription of " << subscriber << "\n";
    } else if (types.size() == 1 || code != "3120") {
      throw StatusError(code, builder.ErrMsg());
    }
  }
  if (deleted == 0) throw CommandFailure("subscriber " + subscriber + " has no subscriptions");
  return kExitOk;
}

}  // namespace

CommandRun AttachSubscriptionsCommand(CLI::App& app, const GlobalOptions& globals) {
  CLI::App* subscriptions =
      app.add_subcommand("subscriptions", "List or delete the subscriptions a company file keeps");
  subscriptions->require_subcommand(1);
  subscriptions->footer(R"(Examples:
  brennock subscriptions list
  brennock subscriptions delete --url https://crm.example.com/quickbooks
  brennock subscriptions delete --subscriber {7C1A4E52-3B1D-4F6A-9E0B-2D54A1C0E9F3} --type data)");
  auto o = std::make_shared<SubscriptionsOptions>();
  auto mode = std::make_shared<std::string>();
  CLI::App* list = subscriptions->add_subcommand(
      "list",
      "Every subscription, one a line, tab-separated: subscriber, kind, app, callback, "
      "delivery, events");
  list->callback([mode] { *mode = "list"; });
  list->add_option("--subscriber", o->subscriber,
                   "Only this subscriber's (QuickBooks itself answers only queries that name one)");
  CLI::App* remove = subscriptions->add_subcommand(
      "delete", "Delete a subscriber's subscriptions (default: the command's own)");
  remove->callback([mode] { *mode = "delete"; });
  remove->add_option("--subscriber", o->subscriber, "Subscriber ID");
  remove->add_option("--url", o->url, "The subscriber `subscribe data --url URL` made");
  remove->add_option("--type", o->type, "data, ui, uiextension or all")->capture_default_str();
  return [o, mode, &globals] {
    return *mode == "list" ? RunList(*o, globals) : RunDelete(*o, globals);
  };
}

}  // namespace brennock::cli
