// Loading a 100 000-class query response into a Classes collection (send, read, one record per
// ClassRet through its field table, keys, parent links), against parsing the same text with
// pugixml alone. The plain response is read straight from its text; the same response with a
// comment in it is loaded as a document, the path every response the reader declines takes.

#include <benchmark/benchmark.h>

#include <memory>
#include <pugixml.hpp>
#include <string>

#include "bench/canned_processor.h"
#include "bench/kept_heap.h"
#include "bench/scan_only.h"
#include "brennock/company/company.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/lists/hierarchical_lists.h"

namespace {

constexpr int kClasses = 100000;

std::string BuildClassQueryResponse(bool withComment) {
  std::string xml =
      "<?xml version=\"1.0\" ?>\n<QBXML>\n<QBXMLMsgsRs>\n<ClassQueryRs requestID=\"1\" "
      "statusCode=\"0\" statusSeverity=\"Info\" statusMessage=\"Status OK\">\n";
  for (int i = 0; i < kClasses; ++i) {
    const std::string n = std::to_string(i);
    // Every tenth class is a top-level department; the others sit below the last one.
    const std::string parent = std::to_string(i - i % 10);
    bool top = i % 10 == 0;
    xml += "<ClassRet>\n<ListID>8000" + n + "-1646382185</ListID>\n";
    xml += "<TimeCreated>2022-03-04T00:24:19-08:00</TimeCreated>\n";
    xml += "<TimeModified>2022-03-04T00:24:19-08:00</TimeModified>\n";
    xml += "<EditSequence>1646382259</EditSequence>\n<Name>Class " + n + "</Name>\n";
    xml += "<FullName>" + (top ? "" : "Class " + parent + ":") + "Class " + n + "</FullName>\n";
    xml += "<IsActive>true</IsActive>\n";
    if (!top) {
      xml += "<ParentRef>\n<ListID>8000" + parent + "-1646382185</ListID>\n<FullName>Class " +
             parent + "</FullName>\n</ParentRef>\n";
    }
    xml += std::string("<Sublevel>") + (top ? "0" : "1") + "</Sublevel>\n</ClassRet>\n";
  }
  xml += "</ClassQueryRs>\n</QBXMLMsgsRs>\n</QBXML>\n";
  if (withComment) xml.insert(xml.find("<ClassRet>"), "<!-- declined by the reader -->");
  return xml;
}

const std::string& ClassQueryResponse() {
  static const std::string text = BuildClassQueryResponse(false);
  return text;
}

void BM_PugixmlParseOnly(benchmark::State& state) {
  const std::string& text = ClassQueryResponse();
  for (auto _ : state) {
    pugi::xml_document document;
    benchmark::DoNotOptimize(document.load_buffer(text.data(), text.size()));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_PugixmlParseOnly)->Unit(benchmark::kMillisecond);

// What the document wrapper itself does with a response: take a copy and parse it in place.
void BM_PugixmlParseCopyInPlace(benchmark::State& state) {
  const std::string& text = ClassQueryResponse();
  for (auto _ : state) {
    std::string copy = text;
    pugi::xml_document document;
    benchmark::DoNotOptimize(document.load_buffer_inplace(copy.data(), copy.size()));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_PugixmlParseCopyInPlace)->Unit(benchmark::kMillisecond);

void LoadClasses(benchmark::State& state, const std::string& text) {
  auto processor = std::make_shared<brennock::bench::CannedProcessor>(text);
  brennock::Session().processor = processor;
  brennock::Session().ticket = "T";
  auto classes = std::make_shared<brennock::Classes>();
  for (auto _ : state) {
    processor->PrepareAnswer(state);
    if (classes->GetAll() != kClasses) state.SkipWithError("not every class was loaded");
  }
  classes->Clear();
  brennock::Session() = brennock::SessionState{};
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
void BM_ClassesGetAll(benchmark::State& state) { LoadClasses(state, ClassQueryResponse()); }
BENCHMARK(BM_ClassesGetAll)->Unit(benchmark::kMillisecond);

void BM_ClassesGetAllThroughDocument(benchmark::State& state) {
  static const std::string text = BuildClassQueryResponse(true);
  LoadClasses(state, text);
}
BENCHMARK(BM_ClassesGetAllThroughDocument)->Unit(benchmark::kMillisecond);

void BM_ClassesScanOnly(benchmark::State& state) {
  brennock::bench::ScanOnly(state, ClassQueryResponse());
}
BENCHMARK(BM_ClassesScanOnly)->Unit(benchmark::kMillisecond);

}  // namespace
