#pragma once

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "brennock/session/request_processor.h"

namespace brennock::bench {

// A processor that answers every request with the same response text, so that a benchmark
// measures the library's side of a query and nothing of QuickBooks or the simulator.
class CannedProcessor : public RequestProcessor {
 public:
  explicit CannedProcessor(const std::string& response) : response_(response) {}

  void OpenConnection(const std::string&, const std::string&) override {}
  void OpenConnection2(const std::string&, const std::string&, qbConnectionType) override {}
  std::shared_ptr<brennock::AuthPreferences> AuthPreferences() override { return nullptr; }
  std::string BeginSession(const std::string&, qbEnumFileOpenMode) override { return "T"; }
  std::string GetCurrentCompanyFileName(const std::string&) override { return {}; }
  std::vector<std::string> QBXMLVersionsForSession(const std::string&) override { return {}; }
  std::string ProcessRequest(const std::string&, const std::string&) override {
    if (!prepared_) return response_;
    prepared_ = false;
    return std::move(answer_);
  }
  std::string ProcessSubscription(const std::string&) override { return {}; }
  int16_t MajorVersion() override { return 0; }
  int16_t MinorVersion() override { return 0; }
  void EndSession(const std::string&) override {}
  void CloseConnection() override {}

  // Copies the answer to the next request with the benchmark's clock stopped. A real processor
  // hands the library a text it has just made; making that text is the processor's work, so the
  // copy is left out of what a load benchmark measures, as pugixml's side is not charged for
  // the text it parses.
  void PrepareAnswer(benchmark::State& state) {
    state.PauseTiming();
    answer_ = response_;
    prepared_ = true;
    state.ResumeTiming();
  }

 private:
  const std::string& response_;  // outlives the processor: a benchmark's static text
  std::string answer_;
  bool prepared_ = false;
};

}  // namespace brennock::bench
