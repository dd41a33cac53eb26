#pragma once

#include <gtest/gtest.h>
#include <httplib.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <pugixml.hpp>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "brennock/brennock.h"
#include "brennock/internal/util/text.h"
#include "bridges/serve/server.h"
#include "simulator/company_file.h"
#include "simulator/simulator_processor.h"
#include "tests/support/qbxml_samples.h"
#include "tests/support/soap_schema.h"

namespace brennock::testing {

inline constexpr const char* kToken = "test-token-0123456789";
inline constexpr const char* kUser = "qbwc";
inline constexpr const char* kPassword = "correct horse";

// Plays the QuickBooks Web Connector: one scheduled run in its call order, answering each request
// from a simulated company. Every SOAP message it sends and receives is checked against the WSDL.
struct StandInRun {
  std::string user = kUser;
  std::string password = kPassword;
  int failAtRequest = 0;  // report connectionError instead of answering this request (1-based)
};

class WebConnectorStandIn {
 public:
  WebConnectorStandIn(int port, std::string company)
      : client_("127.0.0.1", port), company_(std::move(company)) {
    client_.set_read_timeout(std::chrono::seconds(30));
    simulator_ = simulator::CreateSimulatorProcessor();
    simulator_->OpenConnection("", "Web Connector stand-in");
    ticket_ = simulator_->BeginSession(company_, qbOpenModeDontCare);
  }

  // Returns authenticate's status ("", "none", "nvu").
  std::string RunSession(const StandInRun& run = StandInRun()) {
    Call("serverVersion", {{"strVersion", ""}});
    Call("clientVersion", {{"strVersion", "2.3.0.36"}});
    std::vector<std::string> auth =
        Strings(Call("authenticate", {{"strUserName", run.user}, {"strPassword", run.password}}));
    if (auth.size() != 2) {
      problems += "authenticate answered " + std::to_string(auth.size()) + " strings\n";
      return "?";
    }
    const std::string ticket = auth[0];
    if (auth[1] == "nvu") return auth[1];
    if (auth[1] == "none") {
      Call("closeConnection", {{"ticket", ticket}});
      return auth[1];
    }
    std::string hcp = simulator_->ProcessRequest(
        ticket_,
        "<?xml version=\"1.0\"?><?qbxml version=\"13.0\"?><QBXML><QBXMLMsgsRq "
        "onError=\"continueOnError\"><HostQueryRq/><CompanyQueryRq/><PreferencesQueryRq/>"
        "</QBXMLMsgsRq></QBXML>");
    for (int noOps = 0, sent = 0; noOps < 500;) {
      std::string request = Text(Call("sendRequestXML", {{"ticket", ticket},
                                                         {"strHCPResponse", sent == 0 ? hcp : ""},
                                                         {"strCompanyFileName", company_},
                                                         {"qbXMLCountry", "US"},
                                                         {"qbXMLMajorVers", "13"},
                                                         {"qbXMLMinorVers", "0"}}));
      if (sent == 0) hcp.clear();
      if (request.empty()) {
        if (Text(Call("getLastError", {{"ticket", ticket}})) != "NoOp") break;
        ++noOps;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        continue;
      }
      if (++sent == run.failAtRequest) {
        Call("connectionError", {{"ticket", ticket},
                                 {"hresult", "0x80040408"},
                                 {"message", "Could not start QuickBooks."}});
        return auth[1];
      }
      requests.push_back(request);
      std::string response = simulator_->ProcessRequest(ticket_, request);
      int percent = std::stoi(Text(
          Call("receiveResponseXML",
               {{"ticket", ticket}, {"response", response}, {"hresult", ""}, {"message", ""}})));
      if (percent < 0) Call("getLastError", {{"ticket", ticket}});
      if (percent < 0 || percent >= 100) break;
    }
    Call("closeConnection", {{"ticket", ticket}});
    return auth[1];
  }

  // Sends one SOAP call; returns the whole answer.
  std::string Call(const std::string& operation,
                   const std::vector<std::pair<std::string, std::string>>& parameters) {
    std::string body =
        R"(<?xml version="1.0" encoding="utf-8"?><soap:Envelope xmlns:soap="http://schemas.xmlsoap.org/soap/envelope/"><soap:Body><)" +
        operation + R"( xmlns="http://developer.intuit.com/">)";
    for (const auto& [name, value] : parameters) {
      body += "<" + name + ">";
      AppendXmlEscaped(body, value, XmlEscaping::kText);
      body += "</" + name + ">";
    }
    body += "</" + operation + "></soap:Body></soap:Envelope>";
    calls.push_back(operation);
    Check(body);
    auto result = client_.Post("/wc", body, "text/xml; charset=utf-8");
    if (!result || result->status != 200) {
      problems += operation + " failed\n";
      return {};
    }
    Check(result->body);
    return result->body;
  }

  static std::string Text(const std::string& answer) {
    pugi::xml_document document;
    document.load_string(answer.c_str());
    return document.select_node("//*[substring(name(), string-length(name()) - 5) = 'Result']")
        .node()
        .text()
        .get();
  }

  static std::vector<std::string> Strings(const std::string& answer) {
    pugi::xml_document document;
    document.load_string(answer.c_str());
    std::vector<std::string> out;
    for (auto node : document.select_nodes("//*[local-name() = 'string']"))
      out.emplace_back(node.node().text().get());
    return out;
  }

  std::vector<std::string> calls;
  std::vector<std::string> requests;  // every request it answered
  std::string problems;               // schema or transport problems seen

 private:
  void Check(const std::string& message) {
    if (!QbxmlDir()) return;
    std::string errors = SoapSchemaErrors(message);
    if (!errors.empty()) problems += errors + " in " + message + "\n";
  }

  httplib::Client client_;
  std::string company_;
  std::shared_ptr<RequestProcessor> simulator_;
  std::string ticket_;
};

// A company file in a temporary folder and `brennock serve` in process on a free loopback port.
class ServeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("brennock_serve_" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
               std::to_string(::getpid()));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    company_ = (folder_ / "company.qbw").string();
    simulator::CreateCompanyFile(company_);
    credentialsFile_ = (folder_ / "users").string();
  }

  void TearDown() override {
    server_.reset();
    Session() = SessionState{};
    unsetenv("BRENNOCK_REMOTE_URL");
    unsetenv("BRENNOCK_REMOTE_TOKEN");
    std::filesystem::remove_all(folder_);
  }

  // Short waits keep failing tests quick.
  virtual serve::ServeOptions Options() {
    serve::ServeOptions options;
    options.token = kToken;
    options.company = company_;
    options.log = &log_;
    options.webConnector.sessionWait = std::chrono::seconds(10);
    options.webConnector.answerWait = std::chrono::seconds(10);
    options.webConnector.hold = std::chrono::milliseconds(300);
    return options;
  }

  serve::Server& StartServer(serve::ServeOptions options) {
    serve::Credentials credentials;
    if (options.backend == serve::kWebConnectorBackend) {
      serve::Credentials::AddUser(credentialsFile_, kUser, kPassword);
      credentials = serve::Credentials::Load(credentialsFile_);
    }
    server_ = std::make_unique<serve::Server>(std::move(options), std::move(credentials));
    server_->Start();
    setenv("BRENNOCK_REMOTE_URL", Url().c_str(), 1);
    setenv("BRENNOCK_REMOTE_TOKEN", kToken, 1);
    return *server_;
  }

  std::string Url() const { return "http://127.0.0.1:" + std::to_string(server_->Port()); }

  std::shared_ptr<QBConnection> RemoteConnection() {
    auto connection = std::make_shared<QBConnection>();
    connection->SetRequestProcessorProgId("brennockRqP.RequestProcessor");
    return connection;
  }

  std::filesystem::path folder_;
  std::string company_;
  std::string credentialsFile_;
  std::ostringstream log_;
  std::unique_ptr<serve::Server> server_;
};

}  // namespace brennock::testing
