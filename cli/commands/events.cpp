// brennock events listen: prints a subscriber's events as they arrive.
#include <CLI/CLI.hpp>
#include <atomic>
#include <chrono>
#include <csignal>
#include <memory>
#include <string>

#include "brennock/events/event_listener.h"
#include "brennock/events/qb_event.h"
#include "cli/app/cli_errors.h"
#include "cli/app/event_subscriber.h"
#include "cli/app/exit_codes.h"
#include "cli/app/global_options.h"
#include "cli/commands/commands.h"
#include "cli/output/stdout_text.h"

namespace brennock::cli {
namespace {

std::atomic<bool> interrupted{false};

extern "C" void StopListening(int) { interrupted = true; }

struct ListenOptions {
  std::string subscriber;
  std::string format = "text";
  int count = 0;    // 0: no limit
  double idle = 0;  // seconds without events before stopping; 0: never
};

std::string_view OperationName(int32_t code) {
  switch (code) {
    case 1:
      return "Add";
    case 2:
      return "Modify";
    case 3:
      return "Delete";
    case 4:
      return "Merge";
    default:
      return "?";
  }
}

// One line per event: "DataEvent Customer Add ListID=80000005-1700000000",
// "UIEvent CompanyFile Open", "UIExtensionEvent EventTag=crm-send".
std::string Line(const std::string& xml) {
  qbEvent event;
  event.ParseXML(xml);
  switch (event.EventType()) {
    case qbEventData:
      if (event.IsTxnEvent()) {
        std::string line = "DataEvent " + event.DataEventType() + " " +
                           std::string(OperationName(event.qbTxnEventOp())) +
                           " TxnID=" + event.TxnId();
        if (!event.RefNumber().empty()) line += " RefNumber=" + event.RefNumber();
        return line;
      } else {
        std::string line = "DataEvent " + event.DataEventType() + " " +
                           std::string(OperationName(event.qbListEventOp())) +
                           " ListID=" + event.ListID();
        if (event.qbListEventOp() == qbEventMerge)
          line += " AfterMergeListID=" + event.AfterMergeListID();
        return line;
      }
    case qbEventUI:
      return std::string("UIEvent CompanyFile ") + (event.CompanyfileOpened() ? "Open" : "Close");
    case qbEventUIExtension:
      return "UIExtensionEvent EventTag=" + event.EventTag();
  }
  return "Event";
}

int RunListen(const ListenOptions& o, const GlobalOptions& globals) {
  if (o.format != "text" && o.format != "xml") throw UsageError("--format takes text or xml");
  EventListener listener;
  int received = 0;
  listener.OnEventReceived = [&](const std::string& xml) {
    WriteOut(o.format == "xml" ? xml : Line(xml) + "\n");
    ++received;
  };
  listener.Open(o.subscriber.empty() ? std::string(kCommandSubscriber) : o.subscriber,
                globals.company);
  std::signal(SIGINT, StopListening);
  std::signal(SIGTERM, StopListening);
  auto lastEvent = std::chrono::steady_clock::now();
  while (!interrupted && (o.count == 0 || received < o.count)) {
    if (listener.Deliver(200) > 0) lastEvent = std::chrono::steady_clock::now();
    if (o.idle > 0 &&
        std::chrono::steady_clock::now() - lastEvent > std::chrono::duration<double>(o.idle))
      break;
  }
  return kExitOk;
}

}  // namespace

CommandRun AttachEventsCommand(CLI::App& app, const GlobalOptions& globals) {
  CLI::App* events = app.add_subcommand("events", "Receive the events of subscriptions");
  events->require_subcommand(1);
  CLI::App* listen = events->add_subcommand(
      "listen", "Print each event of a subscriber as it arrives, until interrupted");
  listen->footer(R"(Examples:
  brennock subscribe data --types customer --print && brennock events listen
  brennock events listen --subscriber {7C1A4E52-3B1D-4F6A-9E0B-2D54A1C0E9F3} --format xml
  brennock events listen --count 1 --idle 30

One line per event ("DataEvent Customer Add ListID=...", "UIEvent CompanyFile Open",
"UIExtensionEvent EventTag=..."), or each event document with --format xml. An event is taken
from the company file once it was printed. While it listens, events of subscriptions delivered
only while the application runs reach it.)");
  auto o = std::make_shared<ListenOptions>();
  listen->add_option("--subscriber", o->subscriber,
                     "Subscriber ID (default: the one `subscribe --print` uses)");
  listen->add_option("--format", o->format, "text or xml")->capture_default_str();
  listen->add_option("--count", o->count, "Stop after this many events");
  listen->add_option("--idle", o->idle, "Stop after this many seconds without an event");
  return [o, &globals] { return RunListen(*o, globals); };
}

}  // namespace brennock::cli
