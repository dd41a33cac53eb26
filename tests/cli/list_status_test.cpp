// `brennock list` on answers the simulator never gives to a list query: the command runs in this
// process on a processor that hands every request to the simulator but the class query, which it
// answers as the test says.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "brennock/session/processor_registry.h"
#include "cli/app/command_line.h"
#include "simulator/company_file.h"
#include "simulator/simulator_processor.h"
#include "tests/support/recording_processor.h"

namespace brennock::testing {
namespace {

constexpr const char* kCanned = "Brennock.Tests.CannedClassQuery";

class ListStatusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("brennock_cli_status_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    company_ = (folder_ / "company.qbw").string();
    simulator::CreateCompanyFile(company_);
    RegisterRequestProcessor(kCanned, [this] {
      auto simulator = std::shared_ptr<RequestProcessor>(simulator::CreateSimulatorProcessor());
      simulator->OpenConnection("", "canned");
      std::string ticket = simulator->BeginSession(company_, qbOpenModeDontCare);
      auto recorder = std::make_shared<RecordingProcessor>();
      recorder->SetVersions(simulator->QBXMLVersionsForSession(ticket));
      recorder->SetResponder([this, simulator, ticket](const std::string& request) {
        if (request.find("<ClassQueryRq") != std::string::npos) return answer_;
        return simulator->ProcessRequest(ticket, request);
      });
      return recorder;
    });
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  struct Run {
    int status;
    std::string out, err;
  };
  Run ListClasses() {
    std::vector<std::string> args = {"brennock",    "list",  "class",     "--fields", "FullName",
                                     "--processor", kCanned, "--company", company_,   "-q"};
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    Run run;
    run.status = cli::RunCommandLine(static_cast<int>(args.size()), argv.data());
    run.out = ::testing::internal::GetCapturedStdout();
    run.err = ::testing::internal::GetCapturedStderr();
    return run;
  }
  static std::string Answer(const std::string& attributes, const std::string& records) {
    return "<?xml version=\"1.0\" ?><QBXML><QBXMLMsgsRs><ClassQueryRs requestID=\"1\" " +
           attributes + ">" + records + "</ClassQueryRs></QBXMLMsgsRs></QBXML>";
  }

  std::filesystem::path folder_;
  std::string company_;
  std::string answer_;
};

TEST_F(ListStatusTest, AnErrorStatusExits2AndAWarningListsTheRecords) {
  answer_ = Answer(
      "statusCode=\"3250\" statusSeverity=\"Error\" statusMessage=\"This feature is not "
      "enabled or not available in this version of QuickBooks.\"",
      "");
  Run refused = ListClasses();
  EXPECT_EQ(refused.status, 2);
  EXPECT_EQ(refused.out, "");
  EXPECT_EQ(refused.err,
            "brennock: QuickBooks status 3250: This feature is not enabled or not available in "
            "this version of QuickBooks.\n");

  answer_ = Answer(
      "statusCode=\"500\" statusSeverity=\"Warn\" statusMessage=\"The query request has not "
      "been fully completed.\"",
      "<ClassRet><ListID>1-1</ListID><Name>Found</Name><FullName>Found</FullName></ClassRet>");
  Run partial = ListClasses();
  EXPECT_EQ(partial.status, 0) << partial.err;
  EXPECT_EQ(partial.out, "FullName\n--------\nFound\n");
  EXPECT_EQ(partial.err, "");
}

}  // namespace
}  // namespace brennock::testing
