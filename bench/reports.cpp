// A general ledger of about 100 000 postings: computed by the simulator, and its answer loaded
// by the library's Report, beside pugixml parsing the same answer (the floor for any reader).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <pugixml.hpp>
#include <string>

#include "bench/canned_processor.h"
#include "bench/kept_heap.h"
#include "brennock/brennock.h"
#include "brennock/internal/session/session_state.h"
#include "simulator/company_file.h"
#include "simulator/simulator_processor.h"

namespace {

constexpr const char* kRequest =
    "<?xml version=\"1.0\" ?><?qbxml version=\"16.0\"?><QBXML><QBXMLMsgsRq onError=\"stopOnError\">"
    "<GeneralDetailReportQueryRq><GeneralDetailReportType>GeneralLedger</GeneralDetailReportType>"
    "</GeneralDetailReportQueryRq></QBXMLMsgsRq></QBXML>";

struct Books {
  std::string path;
  std::shared_ptr<brennock::RequestProcessor> processor;
  std::string ticket, answer;
  size_t rows = 0;

  Books() {
    path = (std::filesystem::temp_directory_path() /
            ("brennock_bench_reports_" + std::to_string(::getpid()) + ".qbw"))
               .string();
    std::filesystem::remove(path);
    brennock::simulator::CompanyFileOptions options;
    brennock::simulator::SampleBusiness sample;
    sample.invoices = 24000;  // about four postings each, with the opening balances
    options.sample = sample;
    brennock::simulator::CreateCompanyFile(path, options);
    processor = brennock::simulator::CreateSimulatorProcessor();
    processor->OpenConnection("", "bench");
    ticket = processor->BeginSession(path, brennock::qbOpenModeDontCare);
    answer = processor->ProcessRequest(ticket, kRequest);
    for (size_t at = 0; (at = answer.find("<DataRow", at)) != std::string::npos; ++at) ++rows;
  }
  ~Books() {
    processor.reset();
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path + suffix);
  }
};

Books& Shared() {
  static Books books;
  return books;
}

void BM_GeneralLedgerComputedBySimulator(benchmark::State& state) {
  Books& books = Shared();
  for (auto _ : state)
    benchmark::DoNotOptimize(books.processor->ProcessRequest(books.ticket, kRequest));
  state.counters["rows"] = static_cast<double>(books.rows);
}
BENCHMARK(BM_GeneralLedgerComputedBySimulator)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_GeneralLedgerLoadedByReport(benchmark::State& state) {
  Books& books = Shared();
  for (auto _ : state) {
    brennock::XmlDocument document;
    document.loadXML(books.answer);
    brennock::Report report;
    report.SetBaseReport(brennock::qbReportGeneralLedger);
    report.FromDom(document.documentElement().childNodes().item(0).childNodes().item(0));
    benchmark::DoNotOptimize(report.ReportRows()->Count());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * books.answer.size()));
}
BENCHMARK(BM_GeneralLedgerLoadedByReport)->Unit(benchmark::kMillisecond);

// The same answer through the whole query: sent, answered, loaded into rows; then what asks of
// the loaded report.
template <class AskReport>
void RefreshGeneralLedger(benchmark::State& state, AskReport ask) {
  Books& books = Shared();
  brennock::Session().processor = std::make_shared<brennock::bench::CannedProcessor>(books.answer);
  brennock::Session().ticket = "T";
  brennock::Report report;
  report.SetBaseReport(brennock::qbReportGeneralLedger);
  for (auto _ : state) {
    report.Refresh();
    ask(report);
  }
  brennock::Session() = brennock::SessionState{};
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * books.answer.size()));
}

void BM_GeneralLedgerRefreshedByReport(benchmark::State& state) {
  RefreshGeneralLedger(state, [](brennock::Report& report) {
    benchmark::DoNotOptimize(report.ReportRows()->Count());
  });
}
BENCHMARK(BM_GeneralLedgerRefreshedByReport)->Unit(benchmark::kMillisecond);

// The same, then every row and cell object asked for, as a client walking the whole report does.
void BM_GeneralLedgerRefreshedAndWalked(benchmark::State& state) {
  RefreshGeneralLedger(state, [](brennock::Report& report) {
    size_t bytes = 0;
    for (const auto& row : *report.ReportRows()) {
      bytes += row->FullName().size();
      for (const auto& cell : *row->Columns()) bytes += cell->Text().size();
    }
    benchmark::DoNotOptimize(bytes);
  });
}
BENCHMARK(BM_GeneralLedgerRefreshedAndWalked)->Unit(benchmark::kMillisecond);

void BM_GeneralLedgerParsedByPugixml(benchmark::State& state) {
  Books& books = Shared();
  for (auto _ : state) {
    pugi::xml_document document;
    benchmark::DoNotOptimize(document.load_buffer(books.answer.data(), books.answer.size()));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * books.answer.size()));
}
BENCHMARK(BM_GeneralLedgerParsedByPugixml)->Unit(benchmark::kMillisecond);

}  // namespace
