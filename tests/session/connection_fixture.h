#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "brennock/internal/session/session_state.h"
#include "brennock/session/processor_registry.h"
#include "tests/support/recording_processor.h"

namespace brennock::testing {

// A connection test with a clean session on this thread and a recording processor registered
// under kProgId, answering the host, company and preferences queries.
class RecordingConnectionTest : public ::testing::Test {
 protected:
  static constexpr const char* kProgId = "Tests.RecordingConnection";

  void SetUp() override {
    Session() = SessionState{};
    processor_ = std::make_shared<RecordingProcessor>();
    processor_->SetCompanyFileName("C:\\Books\\Smith & Jones.qbw");
    processor_->SetResponder([this](const std::string& request) { return Answer(request); });
    std::weak_ptr<RecordingProcessor> weak = processor_;
    RegisterRequestProcessor(kProgId, [weak] { return weak.lock(); });
  }
  void TearDown() override { Session() = SessionState{}; }

  std::string Answer(const std::string& request) {
    const std::string head = "<?xml version=\"1.0\" ?><QBXML><QBXMLMsgsRs>";
    const std::string tail = "</QBXMLMsgsRs></QBXML>";
    if (request.find("HostQueryRq") != std::string::npos) {
      std::string versions;
      for (const std::string& v : hostVersions_) {
        versions += "<SupportedQBXMLVersion>" + v + "</SupportedQBXMLVersion>";
      }
      return head + "<HostQueryRs requestID=\"1\" statusCode=\"0\"><HostRet>" +
             "<ProductName>QuickBooks Pro 2016</ProductName><MajorVersion>" + hostMajor_ +
             "</MajorVersion><MinorVersion>0</MinorVersion><Country>US</Country>" + versions +
             "<IsAutomaticLogin>true</IsAutomaticLogin><QBFileMode>MultiUser</QBFileMode>" +
             "<Unknown>x</Unknown></HostRet></HostQueryRs>" + tail;
    }
    if (request.find("CompanyQueryRq") != std::string::npos) {
      return head + "<CompanyQueryRs statusCode=\"0\"><CompanyRet><CompanyName>S</CompanyName>" +
             "</CompanyRet></CompanyQueryRs>" + tail;
    }
    return head + "<" + "GenericRs statusCode=\"0\"/>" + tail;
  }

  std::vector<std::string> hostVersions_ = {"1.0", "2.0", "2.1"};
  std::string hostMajor_ = "26";
  std::shared_ptr<RecordingProcessor> processor_;
};

}  // namespace brennock::testing
