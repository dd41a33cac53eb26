#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "brennock/brennock.h"
#include "brennock/session/processor_registry.h"
#include "simulator/clock.h"
#include "simulator/company_file.h"
#include "simulator/simulator_processor.h"
#include "tests/support/recording_processor.h"

namespace brennock::testing {

// A connection to a simulated company file created with the test's options; every request passes
// through a recorder so exact texts can be checked.
class SimulatedCompanyTest : public ::testing::Test {
 protected:
  static constexpr const char* kProgId = "Tests.SimulatedCompany";

  void SetUp() override {
    simulator::FixClock(simulator::SimulatorTime{1700000000, -480});
    folder_ =
        std::filesystem::temp_directory_path() / ("brennock_company_" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    path_ = (folder_ / "company.qbw").string();
    Session() = SessionState{};
  }

  void TearDown() override {
    connection_.reset();
    Session() = SessionState{};
    simulator::FixClock(std::nullopt);
    std::filesystem::remove_all(folder_);
  }

  // Creates the file and connects to it through QBConnection with the given owner ID registered.
  std::shared_ptr<Company> Connect(const simulator::CompanyFileOptions& options,
                                   const std::string& ownerID = {}) {
    simulator::CreateCompanyFile(path_, options);
    simulator_ = simulator::CreateSimulatorProcessor();
    recorder_ = std::make_shared<RecordingProcessor>();
    std::weak_ptr<RecordingProcessor> weak = recorder_;
    recorder_->SetResponder([this](const std::string& request) {
      return simulator_->ProcessRequest(ticket_, request);
    });
    // The simulator opens the session; the recorder carries the requests.
    ticket_ = (simulator_->OpenConnection("", "Tests"),
               simulator_->BeginSession(path_, qbOpenModeDontCare));
    recorder_->SetTicket(ticket_);
    recorder_->SetCompanyFileName(path_);
    recorder_->SetVersions(simulator::DefaultQbxmlVersions(simulator::Edition::kUS));
    RegisterRequestProcessor(kProgId, [weak] { return weak.lock(); });
    connection_ = std::make_shared<QBConnection>();
    connection_->SetRequestProcessorProgId(kProgId);
    if (!ownerID.empty()) connection_->RegisterDataExtensionsGUID(ownerID);
    connection_->Connect("", "Tests", qbOpenModeDontCare, path_);
    return connection_->Company();
  }

  std::filesystem::path folder_;
  std::string path_;
  std::string ticket_;
  std::shared_ptr<RequestProcessor> simulator_;
  std::shared_ptr<RecordingProcessor> recorder_;
  std::shared_ptr<QBConnection> connection_;
};

}  // namespace brennock::testing
