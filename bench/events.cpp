// Events: what writing a data event costs a change, and delivering 10 000 of them in order.
//
// BM_CustomerAddWithEvent times CustomerAdd request documents (one SQLite transaction each, the
// unit a client saves in) of 1 and of 100 adds, of customers with a name only and with the usual
// fields, alternately on a company file nobody subscribes
// to and on one with a subscriber for customer adds, and reports the second over the first as
// overhead_ratio
// (1.05: the event costs 5% of the change) in elapsed time, and as cpu_overhead_ratio in the
// processor time of the request. A listener takes the events between the timed changes, as a
// running subscriber would.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <string>

#include "brennock/brennock.h"
#include "simulator/company_file.h"
#include "simulator/events/data_events.h"
#include "simulator/simulator_processor.h"
#include "simulator/store/company_db.h"

namespace {

constexpr const char* kSubscriber = "{6F7E8D9C-0B1A-4C2D-9E3F-405162738495}";

std::string TempPath(const std::string& name) {
  return (std::filesystem::temp_directory_path() /
          ("brennock_bench_events_" + std::to_string(::getpid()) + "_" + name + ".qbw"))
      .string();
}

void RemoveCompany(const std::string& path) {
  for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path + suffix);
}

std::string Envelope(const std::string& message_set, const std::string& body) {
  return "<?xml version=\"1.0\" ?><?qbxml version=\"16.0\"?><QBXML><" + message_set +
         (message_set == "QBXMLMsgsRq" ? " onError=\"stopOnError\">" : ">") + body + "</" +
         message_set + "></QBXML>";
}

struct Company {
  std::string path;
  std::shared_ptr<brennock::RequestProcessor> processor;
  std::string ticket;
  int next = 0;

  Company(const std::string& name, bool subscribed) : path(TempPath(name)) {
    RemoveCompany(path);
    brennock::simulator::CreateCompanyFile(path);
    processor = brennock::simulator::CreateSimulatorProcessor();
    processor->OpenConnection("", "bench");
    ticket = processor->BeginSession(path, brennock::qbOpenModeDontCare);
    if (!subscribed) return;
    processor->ProcessRequest(
        ticket, Envelope("QBXMLSubscriptionMsgsRq",
                         std::string("<DataEventSubscriptionAddRq><DataEventSubscriptionAdd>"
                                     "<SubscriberID>") +
                             kSubscriber +
                             "</SubscriberID><COMCallbackInfo><AppName>bench</AppName><ProgID>"
                             "Bench.Events</ProgID></COMCallbackInfo><DeliveryPolicy>"
                             "DeliverAlways</DeliveryPolicy><ListEventSubscription>"
                             "<ListEventType>Customer</ListEventType><ListEventOperation>Add"
                             "</ListEventOperation></ListEventSubscription>"
                             "</DataEventSubscriptionAdd></DataEventSubscriptionAddRq>"));
  }
  ~Company() {
    processor->EndSession(ticket);
    processor.reset();
    RemoveCompany(path);
  }

  // count CustomerAdd requests in one document: names alone, or with what a customer usually
  // has (company name, contact, addresses, phone, e-mail).
  void AddCustomers(int count, bool full = false) {
    std::string body;
    for (int i = 0; i < count; ++i) {
      const std::string n = std::to_string(next++);
      body += "<CustomerAddRq><CustomerAdd><Name>Customer " + n + "</Name>";
      if (full)
        body += "<CompanyName>Harbour Joinery " + n +
                "</CompanyName><FirstName>Aoife</FirstName><LastName>Byrne</LastName>"
                "<BillAddress><Addr1>" +
                n +
                " Quay Street</Addr1><City>Cork</City><PostalCode>"
                "T12 X8YE</PostalCode><Country>Ireland</Country></BillAddress><ShipAddress>"
                "<Addr1>Unit 4, Marina Park</Addr1><City>Cork</City></ShipAddress><Phone>021 555 "
                "0100</Phone><Email>accounts" +
                n + "@harbour.example</Email>";
      body += "</CustomerAdd></CustomerAddRq>";
    }
    const std::string answer = processor->ProcessRequest(ticket, Envelope("QBXMLMsgsRq", body));
    if (answer.find("statusSeverity=\"Error\"") != std::string::npos) std::abort();
  }
};

double Seconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

// This thread's processor time, in seconds.
double ThreadSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void BM_CustomerAddWithEvent(benchmark::State& state) {
  Company plain("plain", false), subscribed("subscribed", true);
  // The subscriber keeps up, between the timed changes.
  brennock::EventListener listener;
  listener.OnEventReceived = [](const std::string&) {};
  listener.Open(kSubscriber, subscribed.path);
  std::chrono::steady_clock::duration plainTime{}, subscribedTime{};
  double plainCpu = 0, subscribedCpu = 0;
  const int adds = static_cast<int>(state.range(0));
  const bool full = state.range(1) != 0;
  int64_t round = 0;
  for (auto _ : state) {
    if (++round * adds % 256 == 0) {
      while (listener.Deliver(0) > 0) {
      }
    }
    const auto start = std::chrono::steady_clock::now();
    const double startCpu = ThreadSeconds();
    plain.AddCustomers(adds, full);
    const auto middle = std::chrono::steady_clock::now();
    const double middleCpu = ThreadSeconds();
    subscribed.AddCustomers(adds, full);
    subscribedTime += std::chrono::steady_clock::now() - middle;
    subscribedCpu += ThreadSeconds() - middleCpu;
    plainTime += middle - start;
    plainCpu += middleCpu - startCpu;
  }
  const double n = static_cast<double>(state.iterations()) * adds;  // per add
  state.counters["plain_us"] = Seconds(plainTime) / n * 1e6;
  state.counters["with_event_us"] = Seconds(subscribedTime) / n * 1e6;
  // Elapsed time (the file's writes included) and processor time, each with over without.
  state.counters["overhead_ratio"] = Seconds(subscribedTime) / Seconds(plainTime);
  state.counters["cpu_overhead_ratio"] = subscribedCpu / plainCpu;
}
// Arguments: adds per document; 0 for names alone, 1 for customers with the usual fields.
BENCHMARK(BM_CustomerAddWithEvent)
    ->Args({1, 0})
    ->Args({1, 1})
    ->Args({100, 0})
    ->Args({100, 1})
    ->Unit(benchmark::kMicrosecond)
    ->MinTime(2.0);

// 10 000 customers added in documents of 100; then a listener takes the 10 000 events, checking
// that each arrives once and in the order of the changes.
void BM_Deliver10000Events(benchmark::State& state) {
  constexpr int kChanges = 10000;
  for (auto _ : state) {
    state.PauseTiming();
    Company company("delivery", true);
    for (int i = 0; i < kChanges / 100; ++i) company.AddCustomers(100);
    brennock::EventListener listener;
    int delivered = 0;
    bool inOrder = true;
    std::string lastListId;
    listener.OnEventReceived = [&](const std::string& xml) {
      brennock::qbEvent event;
      event.ParseXML(xml);
      // ListIDs grow with each add: "80000001-...", "80000002-..."
      if (!lastListId.empty() && event.ListID() <= lastListId) inOrder = false;
      lastListId = event.ListID();
      ++delivered;
    };
    listener.Open(kSubscriber, company.path);
    state.ResumeTiming();
    while (delivered < kChanges && listener.Deliver(1000) > 0) {
    }
    state.PauseTiming();
    if (delivered != kChanges || !inOrder || listener.Deliver(0) != 0)
      state.SkipWithError("events lost, repeated or out of order");
    state.counters["events"] = delivered;
    listener.Close();
    state.ResumeTiming();
  }
  state.counters["events_per_second"] = benchmark::Counter(
      kChanges * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Deliver10000Events)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

namespace {

// The hook alone: one customer add reported to one subscriber, inside a transaction.
void BM_RecordChangedHook(benchmark::State& state) {
  Company company("hook", state.range(0) != 0);
  brennock::simulator::CompanyDb db(company.path);
  brennock::simulator::Transaction txn(db.db(), true);
  int64_t id = 0;
  for (auto _ : state) {
    const std::string listId = std::to_string(++id) + "-1700000000";
    brennock::simulator::RecordChanged(db, "Customer", brennock::simulator::RecordOperation::kAdd,
                                       listId);
  }
}
BENCHMARK(BM_RecordChangedHook)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
