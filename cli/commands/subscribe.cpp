// brennock subscribe data: a data event subscription whose events go to a URL (posted by
// `brennock serve`) or to `brennock events listen`.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "brennock/enums/enumeration_type.h"
#include "brennock/enums/enumerations.h"
#include "brennock/events/data_event_subscription.h"
#include "brennock/internal/qbxml/catalogue.h"
#include "brennock/internal/registry/record_registry.h"
#include "brennock/internal/util/text.h"
#include "brennock/session/xml_bldr.h"
#include "cli/app/cli_errors.h"
#include "cli/app/cli_session.h"
#include "cli/app/event_subscriber.h"
#include "cli/app/exit_codes.h"
#include "cli/app/global_options.h"
#include "cli/commands/commands.h"
#include "cli/output/stdout_text.h"

namespace brennock::cli {
namespace {

constexpr size_t kMaxCallbackLength = 128;

struct SubscribeOptions {
  std::vector<std::string> types;
  std::string url;
  bool print = false;
  std::string subscriber;
  std::string appName = "Brennock command line";
  std::vector<std::string> operations = {"add", "modify", "delete"};
  bool always = false;
  bool trackLost = false;
};

// Whether QuickBooks raises data events for the type, in the family the library writes it in.
bool RaisesEvents(qoEnumListObjectType type) {
  const std::string name = EnumCodeToXmlText(qoeObjectType, static_cast<int16_t>(type));
  const bool txn = IsTxnEventObjectType(type);
  const qbxml::Aggregate* shape =
      qbxml::FindAggregate(txn ? "TxnEventSubscription" : "ListEventSubscription");
  const qbxml::Element* element =
      shape ? qbxml::FindElement(*shape, txn ? "TxnEventType" : "ListEventType") : nullptr;
  if (element == nullptr) return false;
  for (std::string_view value : qbxml::EnumValues(*element))
    if (value == name) return true;
  return false;
}

// A --types word: a qbXML object name ("invoice", "ItemService") or a list's command word.
qoEnumListObjectType TypeOf(const std::string& word) {
  for (const auto& entry : *ThreadEnumerations()->Item(qoeObjectType)) {
    if (AsciiEqualsIgnoreCase(entry->CollectionKey(), word) ||
        AsciiEqualsIgnoreCase(entry->XMLTag(), word)) {
      auto type = static_cast<qoEnumListObjectType>(entry->Code());
      if (RaisesEvents(type)) return type;
    }
  }
  if (const RecordKind* kind = FindListKindByCommand(word); kind && RaisesEvents(kind->objectType))
    return kind->objectType;
  throw UsageError("QuickBooks raises no data events for '" + word +
                   "'; name a list or transaction kind such as customer, itemservice, invoice");
}

int RunSubscribe(const SubscribeOptions& o, const GlobalOptions& globals) {
  if (o.print == !o.url.empty()) throw UsageError("give either --url URL or --print");
  if (!o.url.empty() && !AsciiLowered(o.url).starts_with("http://") &&
      !AsciiLowered(o.url).starts_with("https://"))
    throw UsageError("--url takes an http:// or https:// URL");
  if (Utf8Length(o.url) > kMaxCallbackLength)
    throw UsageError("--url is longer than QuickBooks' 128 characters for a callback");
  bool add = false, modify = false, remove = false, merge = false;
  for (const std::string& operation : o.operations) {
    const std::string word = AsciiLowered(operation);
    if (word == "add")
      add = true;
    else if (word == "modify")
      modify = true;
    else if (word == "delete")
      remove = true;
    else if (word == "merge")
      merge = true;
    else
      throw UsageError("--ops takes add, modify, delete and merge, not '" + operation + "'");
  }
  const std::string subscriber =
      !o.subscriber.empty() ? o.subscriber
                            : (o.print ? std::string(kCommandSubscriber) : SubscriberOfUrl(o.url));

  CliSession session(globals);
  auto subscription = std::make_shared<DataEventSubcription>();
  subscription->SetSubscriberId(subscriber);
  subscription->SetAppName(o.appName);
  subscription->SetProgId(o.print ? std::string(kPrinterProgID) : o.url);
  subscription->SetDeliveryAlways(o.always);
  subscription->SetTrackLostEvents(o.trackLost);
  // QuickBooks takes the list subscriptions before the transaction ones.
  std::vector<qoEnumListObjectType> types;
  for (const std::string& word : o.types) types.push_back(TypeOf(word));
  std::stable_partition(types.begin(), types.end(),
                        [](qoEnumListObjectType type) { return !IsTxnEventObjectType(type); });
  for (qoEnumListObjectType type : types)
    subscription->EventDescriptors()->Add(type, add, modify, remove, merge);

  xmlBldr builder;
  builder.NewClearSubscriptions();
  builder.InsertAddRq(*subscription, 1);
  builder.NewSendSubscriptionRequest();
  if (builder.ErrNumber() != 0)
    throw StatusError(std::to_string(builder.ErrNumber()), builder.ErrMsg());
  WriteOut(subscriber + "\n");
  if (!globals.quiet) {
    std::cerr << "brennock: subscribed " << subscriber << "; events go to "
              << (o.print ? std::string("brennock events listen") : o.url) << "\n";
  }
  return kExitOk;
}

}  // namespace

CommandRun AttachSubscribeCommand(CLI::App& app, const GlobalOptions& globals) {
  CLI::App* subscribe =
      app.add_subcommand("subscribe", "Subscribe to changes of lists and transactions");
  subscribe->require_subcommand(1);
  CLI::App* data = subscribe->add_subcommand(
      "data", "A data event subscription: prints its subscriber ID on standard output");
  data->footer(R"(Examples:
  brennock subscribe data --types customer,invoice --url https://crm.example.com/quickbooks
  brennock subscribe data --types customer,vendor --print --always
  brennock subscribe data --types itemservice --ops add,delete --url http://127.0.0.1:9000/

Events of a --url subscription are posted to the URL by `brennock serve --company FILE`; those of
a --print subscription are printed by `brennock events listen`. Without --always they reach only a
running listener; with it they wait in the company file until one comes. --track-lost has events
carry DataEventRecoveryTime after events were lost.)");
  auto o = std::make_shared<SubscribeOptions>();
  data->add_option("--types", o->types, "List or transaction kinds, comma-separated")
      ->required()
      ->delimiter(',');
  data->add_option("--url", o->url, "Post events to this http(s) URL");
  data->add_flag("--print", o->print, "Events go to `brennock events listen`");
  data->add_option("--subscriber", o->subscriber,
                   "Subscriber ID (a GUID; default: the command's own, or one made from the URL)");
  data->add_option("--app-name", o->appName, "AppName of the subscription")->capture_default_str();
  data->add_option("--ops", o->operations, "Operations: add, modify, delete, merge")
      ->delimiter(',')
      ->capture_default_str();
  data->add_flag("--always", o->always, "DeliverAlways: keep events while nobody listens");
  data->add_flag("--track-lost", o->trackLost, "Report lost events (TrackLostEvents All)");
  return [o, &globals] { return RunSubscribe(*o, globals); };
}

}  // namespace brennock::cli
