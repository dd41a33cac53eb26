#pragma once

// Helpers the fuzz targets share: a failed property aborts with a message (libFuzzer keeps the
// input), and a processor that answers every request with a set text.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "brennock/company/company.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/session/request_processor.h"
#include "brennock/values/currency.h"

namespace brennock::fuzz {

[[noreturn]] inline void Fail(std::string_view what, std::string_view detail = {}) {
  std::fprintf(stderr, "property failed: %.*s\n%.*s\n", static_cast<int>(what.size()), what.data(),
               static_cast<int>(detail.size()), detail.data());
  std::abort();
}

inline void Require(bool holds, std::string_view what, std::string_view detail = {}) {
  if (!holds) Fail(what, detail);
}

// Answers every request with `response`.
class CannedProcessor : public RequestProcessor {
 public:
  std::string response;

  void OpenConnection(const std::string&, const std::string&) override {}
  void OpenConnection2(const std::string&, const std::string&, qbConnectionType) override {}
  std::shared_ptr<brennock::AuthPreferences> AuthPreferences() override { return nullptr; }
  std::string BeginSession(const std::string&, qbEnumFileOpenMode) override { return "T-1"; }
  std::string GetCurrentCompanyFileName(const std::string&) override { return {}; }
  std::vector<std::string> QBXMLVersionsForSession(const std::string&) override {
    return {"1.0", "2.0"};
  }
  std::string ProcessRequest(const std::string&, const std::string&) override { return response; }
  std::string ProcessSubscription(const std::string&) override { return response; }
  int16_t MajorVersion() override { return 2; }
  int16_t MinorVersion() override { return 0; }
  void EndSession(const std::string&) override {}
  void CloseConnection() override {}
};

// A qbXML 2.0 session on a canned processor with a company, set up once per process.
inline CannedProcessor& CannedSession() {
  static std::shared_ptr<CannedProcessor> processor = [] {
    auto made = std::make_shared<CannedProcessor>();
    Session().qbxmlVersion = "2.0";
    Session().qbxmlVersionNumber = Currency(2);
    Session().processor = made;
    Session().ticket = "T-1";
    Session().company = std::make_shared<Company>();
    return made;
  }();
  return *processor;
}

}  // namespace brennock::fuzz
