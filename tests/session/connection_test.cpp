#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "brennock/errors/automation_error.h"
#include "brennock/internal/session/ini_file.h"
#include "brennock/internal/session/numbering_session.h"
#include "brennock/internal/session/processor_choice.h"
#include "brennock/internal/session/session_checks.h"
#include "brennock/session/processor_registry.h"
#include "brennock/session/qb_connection.h"
#include "brennock/session/remote_processor.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/version.h"
#include "simulator/company_file.h"
#include "tests/session/connection_fixture.h"

namespace brennock {
namespace connection_test {
namespace {

using testing::RecordingConnectionTest;

constexpr const char* kHeader20 =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><!DOCTYPE QBXML PUBLIC '-//INTUIT//DTD QBXML "
    "QBD 2.0//EN' ><QBXML><QBXMLMsgsRq onError = \"continueOnError\">";
constexpr const char* kHeader21 =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><!DOCTYPE QBXML PUBLIC '-//INTUIT//DTD QBXML "
    "QBD 2.1//EN' ><QBXML><QBXMLMsgsRq onError = \"continueOnError\">";
constexpr const char* kFooter = "</QBXMLMsgsRq></QBXML>";

std::vector<std::string> Lines(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

int Count(const std::vector<std::string>& operations, const std::string& name) {
  return static_cast<int>(std::count(operations.begin(), operations.end(), name));
}

class ConnectionTest : public RecordingConnectionTest {
 protected:
  std::shared_ptr<QBConnection> Connected(const std::string& path = {}) {
    auto connection = std::make_shared<QBConnection>();
    connection->SetRequestProcessorProgId(kProgId);
    connection->Connect("", "Tests", qbOpenModeDontCare, path);
    return connection;
  }
};

TEST_F(ConnectionTest, OpensTheOpenCompanyAndSendsTheThreeQueriesExactly) {
  Session().dataExtOwnerID = "{OWNER}";
  auto connection = Connected();
  EXPECT_EQ(connection->CompanyPath(), "C:\\Books\\Smith & Jones.qbw");
  EXPECT_EQ(processor_->beganFileName, "");
  std::vector<std::string> expected = {
      "OpenConnection",          "BeginSession",   "GetCurrentCompanyFileName",
      "QBXMLVersionsForSession", "ProcessRequest", "ProcessRequest",
      "ProcessRequest"};
  EXPECT_EQ(processor_->Operations(), expected);
  const auto& requests = processor_->Requests();
  ASSERT_EQ(requests.size(), 3u);
  // The host query speaks the session's last version; the others the host's.
  EXPECT_EQ(requests[0].text,
            std::string(kHeader20) + "<HostQueryRq requestID = \"1\"></HostQueryRq>" + kFooter);
  EXPECT_EQ(requests[1].text, std::string(kHeader21) +
                                  "<CompanyQueryRq><OwnerID>{OWNER}</OwnerID></CompanyQueryRq>" +
                                  kFooter);
  EXPECT_EQ(requests[2].text, std::string(kHeader21) +
                                  "<PreferencesQueryRq requestID = \"1\"></PreferencesQueryRq>" +
                                  kFooter);
  EXPECT_EQ(requests[2].ticket, testing::RecordingProcessor::kDefaultTicket);
  EXPECT_EQ(connection->ProductName(), "QuickBooks Pro 2016");
  EXPECT_EQ(connection->QBMajorVersion(), 26);
  EXPECT_TRUE(connection->IsAutomaticLogin());
  EXPECT_EQ(connection->QBFileMode().ToString(), "MultiUser");
  EXPECT_EQ(connection->Country().ToString(), "US");
}

TEST_F(ConnectionTest, VersionPrefixDecidesEditionAndNumber) {
  struct Case {
    std::string last;
    float number;
    bool nonUS, uk, au;
  };
  for (const Case& c :
       {Case{"CA3.0", 3.0f, true, false, false}, Case{"2.1", 2.1f, false, false, false},
        Case{"UK3.0", 3.0f, true, true, false}, Case{"OZ2.0", 2.0f, true, false, true},
        Case{"AU3.0", 3.0f, true, false, true}}) {
    SCOPED_TRACE(c.last);
    hostVersions_ = {"1.0", c.last};
    auto connection = Connected("C:\\x.qbw");
    EXPECT_EQ(connection->qbxmlVersion(), c.last);
    EXPECT_EQ(Session().qbxmlVersion, c.last);
    EXPECT_FLOAT_EQ(connection->qbXMLVersionNumber(), c.number);
    EXPECT_EQ(connection->IsUSProduct(), !c.nonUS);
    EXPECT_EQ(Session().ukEdition, c.uk);
    EXPECT_EQ(Session().australianEdition, c.au);
  }
}

TEST_F(ConnectionTest, VersionOverrideChangesOnlyTheHeader) {
  auto connection = Connected();
  connection->qbxmlVersionOverride("1.0");
  xmlBldr builder;
  builder.NewClear();
  builder.CreateElement("Gated", "yes", 2.0);
  EXPECT_EQ(builder.GetXML(),
            "<?xml version=\"1.0\" ?><!DOCTYPE QBXML PUBLIC '-//INTUIT//DTD QBXML QBD 1.0//EN' >"
            "<QBXML><QBXMLMsgsRq onError = \"continueOnError\"><Gated>yes</Gated>");
  EXPECT_FLOAT_EQ(connection->qbXMLVersionNumber(), 2.1f);
  EXPECT_EQ(connection->qbxmlVersion(), "2.1");
}

TEST_F(ConnectionTest, FailuresClearTheSessionAndSayWhy) {
  hostMajor_ = "9";
  auto connection = std::make_shared<QBConnection>();
  connection->SetRequestProcessorProgId(kProgId);
  try {
    connection->Connect("", "Tests", qbOpenModeDontCare, "C:\\old.qbw");
    FAIL() << "QuickBooks 9 was accepted";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.Number(), static_cast<int32_t>(0x800403EC));
    EXPECT_EQ(e.Source(), "Brennock");
    EXPECT_EQ(e.Description(), "Brennock must have QuickBooks Pro 2002 or higher installed");
  }
  EXPECT_EQ(connection->CompanyPath(), "");
  EXPECT_EQ(processor_->Operations().back(), "CloseConnection");
  EXPECT_FALSE(Session().processor);
  EXPECT_THROW(RequireOpenSession(), AutomationError);

  // A processor's own failure keeps its number and text.
  processor_->FailNextCall(AutomationError(0x80040408, "QBXMLRP2", "Could not start QuickBooks."));
  try {
    connection->Connect("", "Tests", qbOpenModeDontCare);
    FAIL();
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.Number(), static_cast<int32_t>(0x80040408));
    EXPECT_EQ(e.Source(), "Brennock");
    EXPECT_EQ(e.Description(), "Could not start QuickBooks.");
  }

  connection->SetRequestProcessorProgId("Nobody.Here");
  try {
    connection->Connect("", "Tests", qbOpenModeDontCare);
    FAIL();
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.Number(), static_cast<int32_t>(0x80040000));
    EXPECT_EQ(e.Source(), "brennock");
    EXPECT_EQ(e.Description(), "QuickBooks is not installed.");
  }
}

TEST_F(ConnectionTest, EventsFireOnceAndSubscriptionSessionsAreNeverEnded) {
  auto connection = Connected();
  int opened = 0, closed = 0;
  connection->OnConnectionOpened = [&] { ++opened; };
  connection->OnConnectionClosed = [&] { ++closed; };
  connection->Connect("", "Tests", qbOpenModeDontCare);
  connection->CloseConnection();
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(closed, 1);
  EXPECT_EQ(Count(processor_->Operations(), "EndSession"), 1);
  EXPECT_EQ(connection->CompanyPath(), "");

  processor_->SetVersion(3, 1);
  connection->ConnectForSubscriptions("", "Tests");
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(Session().qbxmlVersion, "3.1");
  EXPECT_EQ(connection->qbxmlVersion(), "3.1");
  connection->CloseConnection();
  // Once a thread has subscribed, even a full session is closed without EndSession.
  connection->Connect("", "Tests", qbOpenModeDontCare);
  connection->CloseConnection();
  EXPECT_EQ(Count(processor_->Operations(), "EndSession"), 1);
  EXPECT_EQ(Count(processor_->Operations(), "CloseConnection"), 3);
  EXPECT_EQ(closed, 3);
}

TEST_F(ConnectionTest, ConnectionsOfAThreadShareTheSessionUntilTheLastGoes) {
  auto first = Connected();
  {
    QBConnection second;
    EXPECT_EQ(Session().instanceCount, 2);
    EXPECT_FLOAT_EQ(second.qbXMLVersionNumber(), 2.1f);
    EXPECT_NO_THROW(RequireOpenSession());
  }
  EXPECT_EQ(Count(processor_->Operations(), "EndSession"), 0);
  first.reset();
  EXPECT_EQ(Count(processor_->Operations(), "EndSession"), 1);
  EXPECT_EQ(processor_->Operations().back(), "CloseConnection");
  EXPECT_TRUE(Session().ticket.empty());
}

TEST_F(ConnectionTest, TraceHasHeaderThenSixLinesPerSendAndMovesWithoutHeader) {
  std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("brennock_conn_" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  auto connection = Connected();
  connection->SetDebugLogPath((folder / "one.log").string());
  xmlBldr builder;
  builder.QueryFullTableExecute("ClassQueryRq", 0);
  std::vector<std::string> one = Lines(folder / "one.log");
  ASSERT_EQ(one.size(), 7u);
  EXPECT_EQ(one[0], std::string("<BrennockLog CompanyPath=\"C:\\Books\\Smith + Jones.qbw\" "
                                "qbXMLVersion=\"2.1\" ProductName=\"QuickBooks Pro 2016\" "
                                "MajorVersion=\"26\" MinorVersion = \"0\" BrennockVersion=\"") +
                        kBrennockVersion + "\">");
  EXPECT_EQ(one[1], "<OUTGOING>");
  EXPECT_EQ(one[6], "</RETURNS>");

  connection->SetDebugLogPath((folder / "two.log").string());
  EXPECT_EQ(Lines(folder / "one.log").back(), "</BrennockLog>");
  builder.QueryFullTableExecute("ClassQueryRq", 0);
  EXPECT_EQ(Lines(folder / "two.log").size(), 6u);
  std::filesystem::remove_all(folder);
}

TEST_F(ConnectionTest, DisplayQBFormWritesListAndTxnRequests) {
  hostVersions_ = {"3.0"};
  auto connection = Connected();
  connection->DisplayQBForm(qoObjectTypeCustomer);
  std::string header30 = kHeader20;
  header30.replace(header30.find("2.0"), 3, "3.0");
  EXPECT_EQ(processor_->LastRequestText(),
            header30 +
                "<ListDisplayAddRq><ListDisplayAddType>Customer</ListDisplayAddType>"
                "</ListDisplayAddRq>" +
                kFooter);
  connection->DisplayQBForm(qoObjectTypeInvoice, "12-34");
  EXPECT_EQ(processor_->LastRequestText(),
            header30 +
                "<TxnDisplayModRq><TxnDisplayModType>Invoice</TxnDisplayModType>"
                "<TxnID>12-34</TxnID></TxnDisplayModRq>" +
                kFooter);
  connection->DisplayQBForm(qoObjectTypeBillPayment);
  EXPECT_NE(processor_->LastRequestText().find("<TxnDisplayAddType>BillPaymentCheck<"),
            std::string::npos);
  try {
    connection->DisplayQBForm(qoObjectTypeAccount);
    FAIL();
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.Number(), static_cast<int32_t>(0x80040406));
    EXPECT_EQ(e.Source(), "brennock:QBConnection:DisplayQBForm");
  }
  connection->qbxmlVersionOverride("2.1");  // the number stays 3.0: still allowed
  EXPECT_NO_THROW(connection->DisplayQBForm(qoObjectTypeVendor));
  Session().qbxmlVersionNumber = Currency(2);
  EXPECT_THROW(connection->DisplayQBForm(qoObjectTypeVendor), AutomationError);
}

// Stands for the remote processor: records how it is opened; a session cannot begin.
class RemoteProbe final : public RemoteRequestProcessor {
 public:
  std::vector<std::string> opened;  // the GUID of each OpenConnection; "-" without one, "2" for 2

  void OpenConnection(const std::string&, const std::string&) override { opened.push_back("-"); }
  void OpenConnection(const std::string&, const std::string&, const std::string& guid) override {
    opened.push_back(guid);
  }
  void OpenConnection2(const std::string&, const std::string&, qbConnectionType) override {
    opened.push_back("2");
  }
  std::shared_ptr<brennock::AuthPreferences> AuthPreferences() override {
    return std::make_shared<brennock::AuthPreferences>();
  }
  std::string BeginSession(const std::string&, qbEnumFileOpenMode) override { throw Stop(); }
  std::string GetCurrentCompanyFileName(const std::string&) override { throw Stop(); }
  std::vector<std::string> QBXMLVersionsForSession(const std::string&) override { throw Stop(); }
  std::string ProcessRequest(const std::string&, const std::string&) override { throw Stop(); }
  std::string ProcessSubscription(const std::string&) override { throw Stop(); }
  int16_t MajorVersion() override { return 16; }
  int16_t MinorVersion() override { return 0; }
  void EndSession(const std::string&) override {}
  void CloseConnection() override {}
  static AutomationError Stop() {
    return AutomationError(static_cast<int32_t>(0x80040401u), "Tests.Remote", "no session here");
  }
};

TEST(ProcessorChoice, TheRemoteProcessorGetsTheFixedGuidHoweverItWasChosen) {
  auto probe = std::make_shared<RemoteProbe>();
  RegisterRequestProcessor("Tests.Remote", [probe] { return probe; });
  setenv("BRENNOCK_PROCESSOR", "Tests.Remote", 1);
  struct Restore {
    ~Restore() { unsetenv("BRENNOCK_PROCESSOR"); }
  } restore;
  const std::string guid(kRemoteProcessorGuid);
  // Through the Intuit ProgIDs the environment maps to it, with and without preferences, and by
  // its own name.
  auto byEnvironment = std::make_shared<QBConnection>();
  EXPECT_THROW(byEnvironment->Connect("", "Remote", qbOpenModeDontCare, "a.qbw"), AutomationError);
  EXPECT_THROW(byEnvironment->Connect2("", "Remote", qbOpenModeDontCare, "a.qbw", localQBD),
               AutomationError);
  auto byName = std::make_shared<QBConnection>();
  byName->SetRequestProcessorProgId("Tests.Remote");
  EXPECT_THROW(byName->Connect("", "Remote", qbOpenModeDontCare, "a.qbw"), AutomationError);
  byName->ConnectForSubscriptions("", "Remote");
  EXPECT_EQ(probe->opened, (std::vector<std::string>{guid, guid, guid, guid}));
}

TEST(ProcessorChoice, ProbesTheFirstGenerationProcessorForItsVersion) {
  using testing::RecordingProcessor;
  struct Probe {
    std::vector<std::shared_ptr<RecordingProcessor>> created;
    int16_t major = 3;
  };
  auto probe = std::make_shared<Probe>();
  RegisterRequestProcessor("Tests.Probe", [probe] {
    probe->created.push_back(std::make_shared<RecordingProcessor>());
    probe->created.back()->SetVersion(probe->major, 0);
    return probe->created.back();
  });
  setenv("BRENNOCK_PROCESSOR", "Tests.Probe", 1);
  struct Restore {
    ~Restore() { unsetenv("BRENNOCK_PROCESSOR"); }
  } restore;
  const std::vector<std::string> asked = {"MajorVersion"};
  auto& created = probe->created;

  std::shared_ptr<RequestProcessor> chosen = CreateConnectionProcessor("", false);
  ASSERT_EQ(created.size(), 2u);
  EXPECT_EQ(created[0]->Operations(), asked);
  EXPECT_EQ(chosen, created[1]);

  created.clear();
  chosen = CreateConnectionProcessor("", true);  // first generation wanted: no probe
  ASSERT_EQ(created.size(), 2u);
  EXPECT_TRUE(created[0]->Operations().empty());
  EXPECT_EQ(chosen, created[1]);

  created.clear();
  probe->major = 2;
  chosen = CreateConnectionProcessor("", false);
  ASSERT_EQ(created.size(), 2u);
  EXPECT_EQ(created[0]->Operations(), asked);
  EXPECT_EQ(chosen, created[1]);

  RegisterRequestProcessor("Tests.Probe", [] { return nullptr; });
  EXPECT_FALSE(CreateConnectionProcessor("", false));
}

TEST(IniFile, ReadsLikeProfileFiles) {
  std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("brennock_ini_" + std::to_string(::getpid()));
  std::ofstream(path) << "\xEF\xBB\xBF; QuickBooks\r\n[Other]\r\nDataFile=wrong\r\n"
                         " [ prefs ] \r\n  datafile =  \"C:\\Books\\A.QBW\"  \r\n";
  EXPECT_EQ(ReadIniString(path.string(), "PREFS", "DataFile"), "C:\\Books\\A.QBW");
  EXPECT_EQ(ReadIniString(path.string(), "PREFS", "Missing"), "");
  setenv("BRENNOCK_QB_INI", path.c_str(), 1);
  EXPECT_EQ(QBConnection().LastOpenCompanyFile(), "C:\\Books\\A.QBW");
  unsetenv("BRENNOCK_QB_INI");
  std::filesystem::remove(path);
  EXPECT_EQ(ReadIniString(path.string(), "PREFS", "DataFile"), "");
  Session() = SessionState{};
}

// Against the simulated QuickBooks with a fresh company file.
class SimulatorConnectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Session() = SessionState{};
    folder_ = std::filesystem::temp_directory_path() /
              ("brennock_conn_sim_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_);
    path_ = (folder_ / "books.qbw").string();
    std::filesystem::remove(path_);
    simulator::CreateCompanyFile(path_);
    setenv("BRENNOCK_COMPANY", path_.c_str(), 1);
  }
  void TearDown() override {
    Session() = SessionState{};
    unsetenv("BRENNOCK_COMPANY");
    std::filesystem::remove_all(folder_);
  }
  std::filesystem::path folder_;
  std::string path_;
};

TEST_F(SimulatorConnectionTest, OpenCompanyIsSeenByTheThreadOnly) {
  auto connection = std::make_shared<QBConnection>();
  connection->SetRequestProcessorProgId("Brennock.Simulator");
  connection->Connect("", "Tests", qbOpenModeDontCare);
  EXPECT_EQ(connection->CompanyPath(), std::filesystem::absolute(path_).string());
  EXPECT_TRUE(connection->IsUSProduct());
  EXPECT_FALSE(connection->ProductName().empty());

  QBConnection second;
  EXPECT_EQ(second.qbXMLVersionNumber(), connection->qbXMLVersionNumber());
  EXPECT_NO_THROW(RequireOpenSession());
  bool otherThreadConnected = true;
  std::thread([&] {
    otherThreadConnected = !Session().ticket.empty();
    try {
      RequireOpenSession();
    } catch (const AutomationError& e) {
      otherThreadConnected = e.Number() != static_cast<int32_t>(0x800403E8);
    }
  }).join();
  EXPECT_FALSE(otherThreadConnected);
}

TEST_F(SimulatorConnectionTest, Connect2PassesPreferencesAndReadsThemBack) {
  QBConnection connection;
  connection.SetRequestProcessorProgId("Brennock.Simulator");
  connection.AuthPreferences()->PutIsReadOnly(true);
  connection.AuthPreferences()->PutAuthFlags(SupportQBPro | SupportQBEnterprise);
  connection.Connect2("", "Tests", qbOpenModeDontCare, path_, localQBD);
  EXPECT_TRUE(connection.AuthPreferences()->WasAuthPreferencesObeyed());
  EXPECT_TRUE(connection.AuthPreferences()->GetIsReadOnly());
  EXPECT_EQ(connection.CompanyPath(), path_);
  // The numbering session opens the main session's company, also when none is "open".
  unsetenv("BRENNOCK_COMPANY");
  OpenNumberingSession();
  EXPECT_FALSE(Session().numberingTicket.empty());
  connection.CloseConnection();
  EXPECT_TRUE(Session().ticket.empty());
  EXPECT_TRUE(Session().numberingTicket.empty());
  EXPECT_FALSE(Session().numberingProcessor);
}

}  // namespace
}  // namespace connection_test
}  // namespace brennock
