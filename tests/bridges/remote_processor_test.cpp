// The remote processor against `brennock serve` backed by a simulated company: the library runs
// unchanged, and the server's and the transport's failures arrive as automation errors.
#include "bridges/remote/remote_processor.h"

#include <gmock/gmock.h>

#include <fstream>
#include <thread>

#include "tests/bridges/serve_fixture.h"

namespace brennock::testing {
namespace {

using ::testing::HasSubstr;

void ExpectError(const std::function<void()>& call, uint32_t number, const std::string& source,
                 const ::testing::Matcher<std::string>& description) {
  try {
    call();
    ADD_FAILURE() << "no error raised";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.Number(), static_cast<int32_t>(number)) << e.what();
    EXPECT_EQ(e.Source(), source);
    EXPECT_THAT(e.Description(), description);
  }
}

TEST_F(ServeTest, ALibraryClientWorksUnchangedThroughTheRemoteProcessor) {
  StartServer(Options());
  auto connection = RemoteConnection();
  connection->Connect("", "Remote tests", qbOpenModeDontCare);
  EXPECT_EQ(connection->CompanyPath(), company_);
  EXPECT_EQ(connection->ProductName(), "QuickBooks Enterprise Solutions 16.0");
  ASSERT_NE(connection->Company(), nullptr);
  EXPECT_FALSE(connection->Company()->Name().empty());

  auto classes = connection->Company()->Classes();
  const std::string far = "\u6771 Zo\u00EB \U0001F600";  // text carried as it is, both ways
  classes->Add("East");
  classes->Add(far);
  ASSERT_EQ(classes->Commit(), 0);
  ASSERT_EQ(classes->GetAll(), 2);
  EXPECT_TRUE(classes->ItemExists(far));
  connection->CloseConnection();

  server_->Stop();
  std::string log = log_.str();
  EXPECT_THAT(log, HasSubstr("face=rqp op=OpenConnection status=200"));
  EXPECT_THAT(log, HasSubstr("face=rqp op=ProcessRequest status=200"));
  EXPECT_THAT(log, HasSubstr("face=rqp op=CloseConnection status=200"));
  EXPECT_THAT(log, ::testing::Not(HasSubstr(kToken)));
}

TEST_F(ServeTest, AnIntuitProgIdReachesTheServerWhenTheEnvironmentNamesTheRemoteProcessor) {
  StartServer(Options());
  setenv("BRENNOCK_PROCESSOR", "brennockRqP.RequestProcessor", 1);
  auto connection = std::make_shared<QBConnection>();
  connection->Connect("", "Remote tests", qbOpenModeDontCare);
  unsetenv("BRENNOCK_PROCESSOR");
  EXPECT_EQ(connection->CompanyPath(), company_);
  // The server has closed the idle keep-alive connection meanwhile; the client opens another.
  std::this_thread::sleep_for(std::chrono::milliseconds(2500));
  EXPECT_EQ(connection->Company()->Classes()->GetAll(), 0);
  connection->CloseConnection();
}

TEST_F(ServeTest, FailuresArriveAsTheProcessorsAutomationErrors) {
  StartServer(Options());
  remote::RemoteSettings settings = remote::ReadRemoteSettings();
  EXPECT_EQ(settings.url, Url());

  // The server's processor refuses: its number, source and text come back unchanged.
  auto processor = remote::CreateRemoteProcessor(settings);
  processor->OpenConnection("", "Remote tests", std::string(kRemoteProcessorGuid));
  ExpectError([&] { processor->BeginSession((folder_ / "none.qbw").string(), qbOpenModeDontCare); },
              0x80040403, "Brennock.Simulator",
              "Could not open the specified QuickBooks company data file.");
  std::string ticket = processor->BeginSession(company_, qbOpenModeDontCare);
  ExpectError([&] { processor->ProcessRequest("forged", "<QBXML/>"); }, 0x8004040D,
              "Brennock.Simulator", "The ticket parameter is invalid.");
  EXPECT_EQ(processor->QBXMLVersionsForSession(ticket).back(), "16.0");
  EXPECT_EQ(processor->MajorVersion(), 16);
  processor->EndSession(ticket);
  processor->CloseConnection();

  // A wrong token, no server configured, nobody listening.
  settings.token = "wrong";
  ExpectError([&] { remote::CreateRemoteProcessor(settings)->OpenConnection("", "x"); }, 0x80040401,
              "brennockRqP.RequestProcessor", "brennock serve refused the access token.");
  settings.url.clear();
  ExpectError([&] { remote::CreateRemoteProcessor(settings)->OpenConnection("", "x"); }, 0x80040401,
              "brennockRqP.RequestProcessor", HasSubstr("BRENNOCK_REMOTE_URL"));
  settings = remote::ReadRemoteSettings();
  server_->Stop();
  ExpectError([&] { remote::CreateRemoteProcessor(settings)->OpenConnection("", "x"); }, 0x80040401,
              "brennockRqP.RequestProcessor",
              HasSubstr("Could not reach brennock serve at " + settings.url + ": "));

  // Through a connection, a processor failure keeps its number and takes the library's source.
  ExpectError([&] { RemoteConnection()->Connect("", "Remote tests", qbOpenModeDontCare); },
              0x80040401, "Brennock", HasSubstr("Could not reach brennock serve"));
}

TEST_F(ServeTest, SettingsComeFromTheEnvironmentElseTheIniFile) {
  std::string ini = (folder_ / "Brennock.ini").string();
  std::ofstream(ini) << "[Other]\nURL=http://wrong\n[remote]\n url = \"https://books:8443/x\"\n"
                        "Token=from-ini\nCAFile=/etc/ca.pem\nTimeout=42\n";
  setenv("BRENNOCK_INI", ini.c_str(), 1);
  unsetenv("BRENNOCK_REMOTE_URL");
  unsetenv("BRENNOCK_REMOTE_TOKEN");
  remote::RemoteSettings settings = remote::ReadRemoteSettings();
  EXPECT_EQ(settings.url, "https://books:8443/x");
  EXPECT_EQ(settings.token, "from-ini");
  EXPECT_EQ(settings.caFile, "/etc/ca.pem");
  EXPECT_EQ(settings.readTimeout, std::chrono::seconds(42));
  setenv("BRENNOCK_REMOTE_TOKEN", "from-env", 1);
  EXPECT_EQ(remote::ReadRemoteSettings().token, "from-env");
  EXPECT_EQ(remote::ReadRemoteSettings().url, "https://books:8443/x");
  unsetenv("BRENNOCK_INI");
}

TEST_F(ServeTest, RequestsWithoutTheTokenAreRefusedBeforeAnythingRuns) {
  StartServer(Options());
  httplib::Client client("127.0.0.1", server_->Port());
  for (const char* authorization : {"", "Bearer ", "Bearer wrong", "Basic dGVzdA=="}) {
    httplib::Headers headers;
    if (*authorization != '\0') headers.emplace("Authorization", authorization);
    auto result = client.Post("/rqp/1/OpenConnection", headers, "", "application/xml");
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 401) << authorization;
  }
}

// HTTP drops the blanks ending a header value, so the rule is checked on the value itself.
TEST(BearerTokenTest, OnlyTheServersOwnNonEmptyTokenIsAccepted) {
  EXPECT_TRUE(serve::BearerTokenAccepted("Bearer t0ken", "t0ken"));
  for (auto [authorization, token] : {std::pair{"Bearer ", ""},
                                      {"Bearer", ""},
                                      {"", ""},
                                      {"Bearer t0ken ", "t0ken"},
                                      {"bearer t0ken", "t0ken"},
                                      {"Bearer t0ke", "t0ken"},
                                      {"t0ken", "t0ken"}})
    EXPECT_FALSE(serve::BearerTokenAccepted(authorization, token)) << authorization << "|" << token;
}

TEST_F(ServeTest, TwoClientsAtOnceKeepTheirOwnSessions) {
  StartServer(Options());
  auto work = [&](const std::string& prefix, int32_t& saved) {
    auto connection = RemoteConnection();
    connection->Connect("", "Remote " + prefix, qbOpenModeDontCare, company_);
    auto classes = connection->Company()->Classes();
    for (int i = 0; i < 10; ++i) {
      classes->Add(prefix + std::to_string(i));
      if (classes->Commit() != 0) return;
    }
    saved = static_cast<int32_t>(classes->Count());
    connection->CloseConnection();
  };
  int32_t first = 0, second = 0;
  std::thread other([&] { work("A", first); });
  work("B", second);
  other.join();
  EXPECT_EQ(first, 10);
  EXPECT_EQ(second, 10);
  auto connection = RemoteConnection();
  connection->Connect("", "Remote tests", qbOpenModeDontCare);
  EXPECT_EQ(connection->Company()->Classes()->GetAll(), 20);
  connection->CloseConnection();
}

}  // namespace
}  // namespace brennock::testing

namespace brennock::testing {
namespace {

TEST_F(ServeTest, HttpsWithTheServersCertificateAndNotWithout) {
  std::string cert = (folder_ / "cert.pem").string(), key = (folder_ / "key.pem").string();
  std::string command =
      "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 "
      "-nodes -days 1 -subj /CN=127.0.0.1 -addext subjectAltName=IP:127.0.0.1 "
      "-keyout " +
      key + " -out " + cert + " >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) GTEST_SKIP() << "the openssl command is not available";
  serve::ServeOptions options = Options();
  options.certFile = cert;
  options.keyFile = key;
  StartServer(options);

  remote::RemoteSettings settings;
  settings.url = "https://127.0.0.1:" + std::to_string(server_->Port());
  settings.token = kToken;
  settings.caFile = cert;
  auto processor = remote::CreateRemoteProcessor(settings);
  processor->OpenConnection("", "Remote tests");
  std::string ticket = processor->BeginSession(company_, qbOpenModeDontCare);
  EXPECT_EQ(processor->GetCurrentCompanyFileName(ticket), company_);
  processor->EndSession(ticket);
  processor->CloseConnection();

  settings.caFile.clear();  // the system's authorities do not know this certificate
  ExpectError([&] { remote::CreateRemoteProcessor(settings)->OpenConnection("", "x"); }, 0x80040401,
              "brennockRqP.RequestProcessor", HasSubstr("Could not reach"));
  settings.url = "http://127.0.0.1:" + std::to_string(server_->Port());
  EXPECT_THROW(remote::CreateRemoteProcessor(settings)->OpenConnection("", "x"), AutomationError);
}

}  // namespace
}  // namespace brennock::testing
