// Data-extension definitions: a 2 000-definition query response loaded through GetAll, and the
// same definitions saved to a definition file and loaded back.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "bench/canned_processor.h"
#include "brennock/company/data_extension_definitions.h"
#include "brennock/internal/session/session_state.h"

namespace {

constexpr int kDefinitions = 2000;

const std::string& DefinitionQueryResponse() {
  static const std::string text = [] {
    std::string xml =
        "<?xml version=\"1.0\" ?><QBXML><QBXMLMsgsRs><DataExtDefQueryRs requestID=\"1\" "
        "statusCode=\"0\" statusSeverity=\"Info\" statusMessage=\"Status OK\">";
    for (int i = 0; i < kDefinitions; ++i) {
      xml += "<DataExtDefRet><OwnerID>0</OwnerID><DataExtID>" + std::to_string(i + 1) +
             "</DataExtID><DataExtName>Field " + std::to_string(i) +
             "</DataExtName><DataExtType>STR255TYPE</DataExtType>"
             "<AssignToObject>Customer</AssignToObject><AssignToObject>Vendor</AssignToObject>"
             "<AssignToObject>Invoice</AssignToObject></DataExtDefRet>";
    }
    xml += "</DataExtDefQueryRs></QBXMLMsgsRs></QBXML>";
    return xml;
  }();
  return text;
}

void UseCannedProcessor() {
  brennock::Session().processor =
      std::make_shared<brennock::bench::CannedProcessor>(DefinitionQueryResponse());
  brennock::Session().qbxmlVersion = "13.0";
  brennock::Session().qbxmlVersionNumber = brennock::Currency(13);
}

void BM_GetAllDefinitions(benchmark::State& state) {
  UseCannedProcessor();
  brennock::DataExtensionDefinitions definitions;
  for (auto _ : state) benchmark::DoNotOptimize(definitions.GetAll());
  state.SetItemsProcessed(state.iterations() * kDefinitions);
}
BENCHMARK(BM_GetAllDefinitions)->Unit(benchmark::kMillisecond);

void BM_SaveAndLoadDefinitionFile(benchmark::State& state) {
  UseCannedProcessor();
  brennock::DataExtensionDefinitions definitions;
  definitions.GetAll();
  std::string path = (std::filesystem::temp_directory_path() /
                      ("brennock_bench_defs_" + std::to_string(::getpid()) + ".xml"))
                         .string();
  brennock::DataExtensionDefinitions loaded;
  for (auto _ : state) {
    definitions.SaveToXml(path);
    loaded.LoadFromXml(path);
  }
  std::filesystem::remove(path);
  state.SetItemsProcessed(state.iterations() * kDefinitions);
}
BENCHMARK(BM_SaveAndLoadDefinitionFile)->Unit(benchmark::kMillisecond);

}  // namespace
