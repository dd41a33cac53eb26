// The simulated QuickBooks: answering a query for one customer by ListID, answering the full
// customer query of a 100 000-customer company, and creating that company file.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "simulator/company_file.h"
#include "simulator/simulator_processor.h"

namespace {

std::string TempPath(const std::string& name) {
  return (std::filesystem::temp_directory_path() /
          ("brennock_bench_" + std::to_string(::getpid()) + "_" + name + ".qbw"))
      .string();
}

std::string Envelope(const std::string& body) {
  return "<?xml version=\"1.0\" ?><?qbxml version=\"16.0\"?><QBXML><QBXMLMsgsRq "
         "onError=\"stopOnError\">" +
         body + "</QBXMLMsgsRq></QBXML>";
}

void CreateCompany(const std::string& path, int customers) {
  std::filesystem::remove(path);
  brennock::simulator::CompanyFileOptions options;
  brennock::simulator::SampleBusiness sample;
  sample.customers = customers;
  options.sample = sample;
  brennock::simulator::CreateCompanyFile(path, options);
}

void BM_CreateCompanyFile100k(benchmark::State& state) {
  std::string path = TempPath("create");
  for (auto _ : state) CreateCompany(path, 100000);
  std::filesystem::remove(path);
  std::filesystem::remove(path + "-wal");
  std::filesystem::remove(path + "-shm");
}
BENCHMARK(BM_CreateCompanyFile100k)->Unit(benchmark::kMillisecond)->Iterations(1);

struct Session {
  std::shared_ptr<brennock::RequestProcessor> processor;
  std::string ticket;
  explicit Session(const std::string& path) {
    processor = brennock::simulator::CreateSimulatorProcessor();
    processor->OpenConnection("", "bench");
    ticket = processor->BeginSession(path, brennock::qbOpenModeDontCare);
  }
};

void BM_QueryCustomerByListId(benchmark::State& state) {
  std::string path = TempPath("single");
  CreateCompany(path, 1000);
  Session s(path);
  std::string first = s.processor->ProcessRequest(
      s.ticket, Envelope("<CustomerQueryRq><MaxReturned>1</MaxReturned></CustomerQueryRq>"));
  auto start = first.find("<ListID>") + 8;
  std::string id = first.substr(start, first.find('<', start) - start);
  std::string request =
      Envelope("<CustomerQueryRq requestID=\"1\"><ListID>" + id + "</ListID></CustomerQueryRq>");
  for (auto _ : state) benchmark::DoNotOptimize(s.processor->ProcessRequest(s.ticket, request));
  state.SetItemsProcessed(state.iterations());
  std::filesystem::remove(path);
}
BENCHMARK(BM_QueryCustomerByListId);

void BM_QueryAllCustomers100k(benchmark::State& state) {
  std::string path = TempPath("all");
  CreateCompany(path, 100000);
  Session s(path);
  std::string request = Envelope("<CustomerQueryRq requestID=\"1\"/>");
  size_t bytes = 0;
  for (auto _ : state) {
    std::string response = s.processor->ProcessRequest(s.ticket, request);
    bytes = response.size();
    benchmark::DoNotOptimize(response);
  }
  state.counters["response_MB"] = static_cast<double>(bytes) / 1e6;
  std::filesystem::remove(path);
}
BENCHMARK(BM_QueryAllCustomers100k)->Unit(benchmark::kMillisecond)->Iterations(3);

// One customer of a 100 000-customer company by full name, as a client's GetByFullName asks.
void BM_QueryCustomerByFullName100k(benchmark::State& state) {
  std::string path = TempPath("byname");
  CreateCompany(path, 100000);
  Session s(path);
  std::string middle = s.processor->ProcessRequest(
      s.ticket, Envelope("<CustomerQueryRq><MaxReturned>50000</MaxReturned></CustomerQueryRq>"));
  auto start = middle.find("<FullName>", middle.rfind("<CustomerRet>")) + 10;
  std::string name = middle.substr(start, middle.find('<', start) - start);
  std::string request = Envelope("<CustomerQueryRq requestID=\"1\"><FullName>" + name +
                                 "</FullName></CustomerQueryRq>");
  for (auto _ : state) {
    std::string response = s.processor->ProcessRequest(s.ticket, request);
    if (response.find("statusCode=\"0\"") == std::string::npos) state.SkipWithError("not found");
    benchmark::DoNotOptimize(response);
  }
  state.SetItemsProcessed(state.iterations());
  std::filesystem::remove(path);
}
BENCHMARK(BM_QueryCustomerByFullName100k);

}  // namespace
