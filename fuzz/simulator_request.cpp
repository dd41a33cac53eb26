// Any text sent to the simulator's processor: the answer is a well-formed qbXML response (a
// message set whose every response carries a status), or the processor raises the parse error
// 0x80040400; a refused request (raised, or every response an error) leaves the company file
// unchanged. One company file per process, in a temporary folder, on one session.
#include <sqlite3.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <pugixml.hpp>
#include <string>
#include <string_view>

#include "brennock/errors/automation_error.h"
#include "fuzz/fuzz_support.h"
#include "simulator/company_file.h"
#include "simulator/simulator_processor.h"

namespace brennock::fuzz {
namespace {

struct Simulated {
  std::filesystem::path folder;
  std::shared_ptr<RequestProcessor> processor;
  std::string ticket;
  sqlite3* watcher = nullptr;  // a connection of its own, to see the others' commits

  Simulated() {
    folder = std::filesystem::temp_directory_path() /
             ("brennock_fuzz_simulator_" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "company.qbw").string();
    simulator::CompanyFileOptions options;
    options.sample = simulator::SampleBusiness{.customers = 4, .vendors = 2, .employees = 1};
    simulator::CreateCompanyFile(path, options);
    processor = simulator::CreateSimulatorProcessor();
    processor->OpenConnection("", "Brennock fuzz");
    ticket = processor->BeginSession(path, qbOpenModeDontCare);
    Require(sqlite3_open_v2(path.c_str(), &watcher, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK,
            "the company file does not open");
  }
  ~Simulated() {
    sqlite3_close(watcher);
    processor.reset();
    std::filesystem::remove_all(folder);
  }

  // SQLite's count of commits by other connections, as seen from the watcher.
  int64_t DataVersion() {
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(watcher, "PRAGMA data_version", -1, &statement, nullptr);
    Require(sqlite3_step(statement) == SQLITE_ROW, "PRAGMA data_version");
    const int64_t version = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    return version;
  }
};

Simulated& Company() {
  static Simulated simulated;
  return simulated;
}

// The response loads, has the QBXML root and one message set, and every response in it carries a
// status. True when every response is an error (nothing was done).
bool CheckResponse(const std::string& response) {
  pugi::xml_document document;
  Require(static_cast<bool>(document.load_buffer(response.data(), response.size())),
          "the response is not well-formed", response);
  pugi::xml_node root = document.child("QBXML");
  Require(static_cast<bool>(root), "the response has no QBXML root", response);
  pugi::xml_node messages = root.first_child();
  const std::string_view set = messages.name();
  Require(set == "QBXMLMsgsRs" || set == "QBXMLSubscriptionMsgsRs", "no message set", response);
  bool allErrors = true;
  for (pugi::xml_node rs : messages.children()) {
    Require(rs.type() == pugi::node_element, "text in the message set", response);
    Require(!rs.attribute("statusCode").empty() && !rs.attribute("statusSeverity").empty(),
            "a response without a status", response);
    if (std::string_view(rs.attribute("statusSeverity").value()) != "Error") allErrors = false;
  }
  return allErrors;
}

}  // namespace
}  // namespace brennock::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brennock;
  fuzz::Simulated& company = fuzz::Company();
  const std::string request(reinterpret_cast<const char*>(data), size);
  const int64_t before = company.DataVersion();
  bool refused = false;
  try {
    refused = fuzz::CheckResponse(company.processor->ProcessRequest(company.ticket, request));
  } catch (const AutomationError& error) {
    fuzz::Require(error.Number() == static_cast<int32_t>(0x80040400u), "not the parse error",
                  error.Description());
    refused = true;
  }
  if (refused) fuzz::Require(company.DataVersion() == before, "a refused request changed the file");
  return 0;
}
