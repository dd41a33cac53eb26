#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "brennock/brennock.h"
#include "simulator/clock.h"
#include "simulator/company_file.h"
#include "simulator/simulator_processor.h"
#include "tests/support/qbxml_samples.h"
#include "tests/support/recording_processor.h"
#include "tests/support/schema_validator.h"

namespace brennock::testing {

// A qbXML 16.0 session on a new simulated company file in strict-schema mode: every request is
// passed on through a recorder and checked against the qbXML schema when the test ends.
class SimulatorListsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    BRENNOCK_REQUIRE_QBXML_DIR();
    simulator::FixClock(simulator::SimulatorTime{1700000000, -480});  // 2023-11-14 14:13 local
    folder_ = std::filesystem::temp_directory_path() /
              ("brennock_lists_" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
               std::to_string(::getpid()));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    setenv("BRENNOCK_QBXML_SCHEMA", (*QbxmlDir() / "xsd/v16/qbxmlops160.xsd").c_str(), 1);
    path_ = (folder_ / "company.qbw").string();
    simulator::CreateCompanyFile(path_, Options());
    simulator_ = simulator::CreateSimulatorProcessor();
    simulator_->OpenConnection("", "Brennock tests");
    // The recorder passes every request on and keeps its text for the schema check.
    recorder_ = std::make_shared<RecordingProcessor>();
    Reopen();
    Session() = SessionState{};
    Session().processor = recorder_;
    Session().ticket = "recorded";
    Session().qbxmlVersion = "16.0";
    Session().qbxmlVersionNumber = Currency(16);
    Session().company = std::make_shared<Company>();
  }

  void TearDown() override {
    if (recorder_) {
      for (const auto& request : recorder_->Requests()) BRENNOCK_EXPECT_VALID_QBXML(request.text);
    }
    Session() = SessionState{};
    simulator_.reset();
    unsetenv("BRENNOCK_QBXML_SCHEMA");
    simulator::FixClock(std::nullopt);
    std::filesystem::remove_all(folder_);
  }

  // The company file the test starts from: empty unless a test asks for more.
  virtual simulator::CompanyFileOptions Options() const { return {}; }

  size_t Sent() const { return recorder_->Requests().size(); }

  // Sends what follows through a new session on the company file.
  void Reopen() {
    std::string ticket = simulator_->BeginSession(path_, qbOpenModeDontCare);
    recorder_->SetResponder([this, ticket](const std::string& request) {
      return simulator_->ProcessRequest(ticket, request);
    });
  }

  std::filesystem::path folder_;
  std::string path_;
  std::shared_ptr<RequestProcessor> simulator_;
  std::shared_ptr<RecordingProcessor> recorder_;
};

}  // namespace brennock::testing
