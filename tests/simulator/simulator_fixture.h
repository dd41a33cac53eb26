#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <pugixml.hpp>
#include <string>

#include "simulator/clock.h"
#include "simulator/company_file.h"
#include "simulator/simulator_processor.h"
#include "tests/support/qbxml_samples.h"
#include "tests/support/schema_validator.h"

namespace brennock::testing {

// A fresh company file in a temporary folder, a processor with a session on it, and helpers to
// send request bodies. Strict mode is on whenever the official schema is present.
class SimulatorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    simulator::FixClock(simulator::SimulatorTime{1700000000, -480});
    folder_ = std::filesystem::temp_directory_path() /
              ("brennock_sim_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    path_ = (folder_ / "company.qbw").string();
    if (auto dir = QbxmlDir()) {
      setenv("BRENNOCK_QBXML_SCHEMA", (*dir / "xsd/v16/qbxmlops160.xsd").c_str(), 1);
      strict_ = true;
    }
    simulator::CreateCompanyFile(path_, Options());
    processor_ = simulator::CreateSimulatorProcessor();
    processor_->OpenConnection("", "Brennock tests");
    ticket_ = processor_->BeginSession(path_, qbOpenModeDontCare);
  }

  void TearDown() override {
    processor_.reset();
    unsetenv("BRENNOCK_QBXML_SCHEMA");
    simulator::FixClock(std::nullopt);
    std::filesystem::remove_all(folder_);
  }

  virtual simulator::CompanyFileOptions Options() {
    simulator::CompanyFileOptions options;
    options.sample = simulator::SampleBusiness{};
    return options;
  }

  static std::string Envelope(const std::string& body,
                              const std::string& on_error = "stopOnError") {
    return "<?xml version=\"1.0\" ?><?qbxml version=\"16.0\"?><QBXML><QBXMLMsgsRq onError=\"" +
           on_error + "\">" + body + "</QBXMLMsgsRq></QBXML>";
  }

  // Sends the body in an envelope; the response must validate when strict mode is on.
  std::string Send(const std::string& body, const std::string& on_error = "stopOnError") {
    std::string response = processor_->ProcessRequest(ticket_, Envelope(body, on_error));
    if (strict_) {
      BRENNOCK_EXPECT_VALID_QBXML(response);
    }
    return response;
  }

  // The response elements of a document, loaded for inspection.
  pugi::xml_node Responses(const std::string& response) {
    doc_ = std::make_unique<pugi::xml_document>();
    EXPECT_TRUE(doc_->load_string(response.c_str())) << response;
    return doc_->child("QBXML").child("QBXMLMsgsRs");
  }

  pugi::xml_node First(const std::string& body) { return Responses(Send(body)).first_child(); }

  static int Code(pugi::xml_node rs) { return rs.attribute("statusCode").as_int(-1); }

  std::filesystem::path folder_;
  std::string path_;
  bool strict_ = false;
  std::shared_ptr<RequestProcessor> processor_;
  std::string ticket_;
  std::unique_ptr<pugi::xml_document> doc_;
};

}  // namespace brennock::testing
