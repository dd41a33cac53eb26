// The remote processor's cost: the same single-record query answered by the simulated company in
// process and through `brennock serve` over loopback HTTP with keep-alive, in one run. The remote
// benchmark reports the in-process time it measured first and its overhead per request.
#include <benchmark/benchmark.h>
#include <httplib.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "bridges/remote/remote_processor.h"
#include "bridges/serve/server.h"
#include "simulator/company_file.h"
#include "simulator/simulator_processor.h"

namespace {

constexpr const char* kToken = "bench-token";

std::string Envelope(const std::string& body) {
  return "<?xml version=\"1.0\" ?><?qbxml version=\"16.0\"?><QBXML><QBXMLMsgsRq "
         "onError=\"stopOnError\">" +
         body + "</QBXMLMsgsRq></QBXML>";
}

// A company with a few customers, and the query for one of them by ListID.
struct Company {
  std::string path;
  std::string query;
  Company() {
    path = (std::filesystem::temp_directory_path() /
            ("brennock_bench_remote_" + std::to_string(::getpid()) + ".qbw"))
               .string();
    brennock::simulator::CompanyFileOptions options;
    options.sample = brennock::simulator::SampleBusiness{};
    brennock::simulator::CreateCompanyFile(path, options);
    auto processor = brennock::simulator::CreateSimulatorProcessor();
    processor->OpenConnection("", "bench");
    std::string ticket = processor->BeginSession(path, brennock::qbOpenModeDontCare);
    std::string first = processor->ProcessRequest(
        ticket, Envelope("<CustomerQueryRq><MaxReturned>1</MaxReturned></CustomerQueryRq>"));
    size_t start = first.find("<ListID>") + 8;
    query =
        Envelope("<CustomerQueryRq><ListID>" + first.substr(start, first.find('<', start) - start) +
                 "</ListID></CustomerQueryRq>");
  }
  ~Company() {
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path + suffix);
  }
};

Company& TheCompany() {
  static Company company;
  return company;
}

double InProcessSeconds(brennock::RequestProcessor& processor, const std::string& ticket,
                        int count) {
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < count; ++i)
    benchmark::DoNotOptimize(processor.ProcessRequest(ticket, TheCompany().query));
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / count;
}

void BM_QueryInProcess(benchmark::State& state) {
  auto processor = brennock::simulator::CreateSimulatorProcessor();
  processor->OpenConnection("", "bench");
  std::string ticket = processor->BeginSession(TheCompany().path, brennock::qbOpenModeDontCare);
  for (auto _ : state)
    benchmark::DoNotOptimize(processor->ProcessRequest(ticket, TheCompany().query));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_QueryInProcess)->Unit(benchmark::kMicrosecond);

void BM_QueryThroughBrennockServe(benchmark::State& state) {
  brennock::serve::ServeOptions options;
  options.token = kToken;
  options.company = TheCompany().path;
  brennock::serve::Server server(options, brennock::serve::Credentials());
  server.Start();
  brennock::remote::RemoteSettings settings;
  settings.url = "http://127.0.0.1:" + std::to_string(server.Port());
  settings.token = kToken;
  auto remote = brennock::remote::CreateRemoteProcessor(settings);
  remote->OpenConnection("", "bench");
  std::string ticket = remote->BeginSession(TheCompany().path, brennock::qbOpenModeDontCare);

  auto local = brennock::simulator::CreateSimulatorProcessor();
  local->OpenConnection("", "bench");
  std::string localTicket = local->BeginSession(TheCompany().path, brennock::qbOpenModeDontCare);
  double inProcess = InProcessSeconds(*local, localTicket, 2000);

  auto start = std::chrono::steady_clock::now();
  for (auto _ : state) benchmark::DoNotOptimize(remote->ProcessRequest(ticket, TheCompany().query));
  double perRequest =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() /
      static_cast<double>(state.iterations());
  state.SetItemsProcessed(state.iterations());
  state.counters["in_process_us"] = inProcess * 1e6;
  state.counters["overhead_us"] = (perRequest - inProcess) * 1e6;
  remote->EndSession(ticket);
  remote->CloseConnection();
  server.Stop();
}
BENCHMARK(BM_QueryThroughBrennockServe)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The floor under the remote processor: the same size of request echoed by a bare cpp-httplib
// server over a kept-alive loopback connection.
void BM_BareHttpRoundTrip(benchmark::State& state) {
  httplib::Server server;
  server.set_keep_alive_max_count(1u << 20);
  server.set_tcp_nodelay(true);
  server.Post("/echo", [](const httplib::Request& request, httplib::Response& response) {
    response.set_content(request.body, "application/xml");
  });
  int port = server.bind_to_any_port("127.0.0.1");
  std::thread listener([&] { server.listen_after_bind(); });
  while (!server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  httplib::Client client("127.0.0.1", port);
  client.set_keep_alive(true);
  client.set_tcp_nodelay(true);
  client.set_decompress(false);
  for (auto _ : state)
    benchmark::DoNotOptimize(client.Post("/echo", TheCompany().query, "application/xml"));
  state.SetItemsProcessed(state.iterations());
  client.stop();
  server.stop();
  listener.join();
}
BENCHMARK(BM_BareHttpRoundTrip)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
