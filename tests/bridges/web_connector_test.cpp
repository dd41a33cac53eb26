// The whole chain: a library client with the remote processor -> brennock serve -> a Web Connector
// stand-in answering from a simulated company; and the hostile and faulty cases around it.
#include <gmock/gmock.h>

#include <atomic>
#include <future>
#include <thread>

#include "bridges/remote/remote_processor.h"
#include "bridges/serve/serve_errors.h"
#include "tests/bridges/serve_fixture.h"

namespace brennock::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

constexpr const char* kHostQuery =
    "<?xml version=\"1.0\"?><?qbxml version=\"13.0\"?><QBXML><QBXMLMsgsRq "
    "onError=\"stopOnError\"><HostQueryRq requestID=\"R\"/></QBXMLMsgsRq></QBXML>";

// Waits at most ten seconds for the condition.
bool Eventually(const std::function<bool()>& condition) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

class WebConnectorTest : public ServeTest {
 protected:
  serve::ServeOptions Options() override {
    serve::ServeOptions options = ServeTest::Options();
    options.backend = serve::kWebConnectorBackend;
    return options;
  }

  // Runs Web Connector sessions, as its scheduler would, until `done` or 30 seconds.
  void PollUntil(WebConnectorStandIn& standIn, const std::function<bool()>& done) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!done() && std::chrono::steady_clock::now() < deadline) {
      standIn.RunSession();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_TRUE(done()) << "the client did not finish";
  }

  // Connects, reads the host and company, adds and queries classes; what it saw.
  static std::string ClientWork(const std::string& prefix, int classes) {
    auto connection = std::make_shared<QBConnection>();
    connection->SetRequestProcessorProgId("brennockRqP.RequestProcessor");
    connection->Connect("", "Web Connector tests", qbOpenModeDontCare);
    std::string seen = connection->CompanyPath() + "|" + connection->ProductName() + "|" +
                       connection->Company()->Name();
    auto list = connection->Company()->Classes();
    for (int i = 0; i < classes; ++i) list->Add(prefix + std::to_string(i));
    if (list->Commit() != 0) seen += "|commit failed";
    seen += "|" + std::to_string(list->GetAll());
    connection->CloseConnection();
    Session() = SessionState{};
    return seen;
  }
};

TEST_F(WebConnectorTest, ALibraryClientReachesQuickBooksThroughTheWebConnector) {
  StartServer(Options());
  auto client = std::async(std::launch::async, [] { return ClientWork("Class", 3); });
  WebConnectorStandIn standIn(server_->Port(), company_);
  PollUntil(standIn,
            [&] { return client.wait_for(std::chrono::seconds(0)) == std::future_status::ready; });
  std::string seen = client.get();
  // The company path comes from the Web Connector, the product from QuickBooks' host answer.
  EXPECT_THAT(seen, ::testing::StartsWith(company_ + "|QuickBooks Enterprise Solutions 16.0|"));
  EXPECT_THAT(seen, ::testing::EndsWith("|3"));
  EXPECT_THAT(seen, Not(HasSubstr("failed")));
  EXPECT_EQ(standIn.problems, "");

  // The last session that carried requests, in the Web Connector's order: answered requests until
  // 100%, then closed. (A session the scheduler starts while the client is still closing finds
  // nothing to send and may come after it.)
  std::vector<std::string>& calls = standIn.calls;
  auto lastSend = std::find(calls.rbegin(), calls.rend(), "sendRequestXML");
  ASSERT_NE(lastSend, calls.rend()) << "no session carried a request";
  auto last = std::find(lastSend, calls.rend(), "serverVersion").base() - 1;
  auto closed = std::find(last, calls.end(), "closeConnection");
  std::vector<std::string> session(last, closed == calls.end() ? closed : closed + 1);
  ASSERT_GE(session.size(), 6u);
  EXPECT_THAT(std::vector<std::string>(session.begin(), session.begin() + 4),
              ElementsAre("serverVersion", "clientVersion", "authenticate", "sendRequestXML"));
  EXPECT_EQ(session.back(), "closeConnection");
  EXPECT_GE(standIn.requests.size(), 5u);  // host, company, preferences, add, query

  server_->Stop();
  std::string log = log_.str();
  EXPECT_THAT(log, HasSubstr("face=wc op=authenticate status=200"));
  EXPECT_THAT(log, HasSubstr("face=wc op=receiveResponseXML status=200"));
  EXPECT_THAT(log, Not(HasSubstr(kPassword)));
}

TEST_F(WebConnectorTest, TwoClientsAtOnceShareTheWebConnector) {
  StartServer(Options());
  auto first = std::async(std::launch::async, [] { return ClientWork("A", 4); });
  auto second = std::async(std::launch::async, [] { return ClientWork("B", 4); });
  WebConnectorStandIn standIn(server_->Port(), company_);
  auto ready = [](std::future<std::string>& f) {
    return f.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
  };
  PollUntil(standIn, [&] { return ready(first) && ready(second); });
  std::string a = first.get(), b = second.get();
  EXPECT_THAT(a, Not(HasSubstr("failed")));
  EXPECT_THAT(b, Not(HasSubstr("failed")));
  // Each saw its own four classes and, at most, the other's.
  EXPECT_TRUE(a.ends_with("|4") || a.ends_with("|8")) << a;
  EXPECT_TRUE(b.ends_with("|4") || b.ends_with("|8")) << b;
  EXPECT_EQ(standIn.problems, "");
}

TEST_F(WebConnectorTest, WrongUsersAndPasswordsAreAnsweredNvu) {
  StartServer(Options());
  WebConnectorStandIn standIn(server_->Port(), company_);
  EXPECT_EQ(standIn.RunSession({.password = "wrong"}), "nvu");
  EXPECT_EQ(standIn.RunSession({.user = "intruder"}), "nvu");
  EXPECT_EQ(standIn.RunSession({.user = "", .password = ""}), "nvu");
  EXPECT_EQ(standIn.RunSession(), "none") << "right password, nothing to do";
  EXPECT_EQ(standIn.problems, "");
  server_->Stop();
  EXPECT_THAT(log_.str(), HasSubstr("op=authenticate status=200 "));
  EXPECT_THAT(log_.str(), HasSubstr("outcome=nvu"));
  EXPECT_THAT(log_.str(), Not(HasSubstr("wrong")));
  EXPECT_THAT(log_.str(), Not(HasSubstr(kPassword)));
}

TEST_F(WebConnectorTest, ForgedAndExpiredTicketsGetNothing) {
  serve::ServeOptions options = Options();
  options.webConnector.ticketLifetime = std::chrono::milliseconds(200);
  options.webConnector.hold = std::chrono::milliseconds(10);
  StartServer(options);
  WebConnectorStandIn standIn(server_->Port(), company_);
  std::string issued = WebConnectorStandIn::Strings(
      standIn.Call("authenticate", {{"strUserName", kUser}, {"strPassword", kPassword}}))[0];
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  for (const std::string& ticket : {std::string("forged"), issued}) {
    auto send = standIn.Call("sendRequestXML", {{"ticket", ticket},
                                                {"strHCPResponse", ""},
                                                {"strCompanyFileName", ""},
                                                {"qbXMLCountry", "US"},
                                                {"qbXMLMajorVers", "13"},
                                                {"qbXMLMinorVers", "0"}});
    EXPECT_EQ(WebConnectorStandIn::Text(send), "") << ticket;
    EXPECT_EQ(
        WebConnectorStandIn::Text(standIn.Call(
            "receiveResponseXML",
            {{"ticket", ticket}, {"response", "<QBXML/>"}, {"hresult", ""}, {"message", ""}})),
        "-1");
    EXPECT_EQ(WebConnectorStandIn::Text(standIn.Call("getLastError", {{"ticket", ticket}})),
              "The ticket parameter is invalid.");
  }
  EXPECT_EQ(standIn.problems, "");
  server_->Stop();
  EXPECT_THAT(log_.str(), Not(HasSubstr(issued)));
}

TEST_F(WebConnectorTest, OversizedAndMalformedBodiesGetFaultsAndTheServerGoesOn) {
  serve::ServeOptions options = Options();
  options.maxBodyBytes = 4096;
  StartServer(options);
  httplib::Client client("127.0.0.1", server_->Port());
  auto big = client.Post("/wc", std::string(8192, 'x'), "text/xml");
  ASSERT_TRUE(big);
  EXPECT_EQ(big->status, 413);

  struct Case {
    const char* body;
    const char* fault;
  };
  for (const Case& c : {
           Case{"<soap:Envelope", "the body is not XML: "},
           Case{"<a/>", "the body is not a SOAP envelope"},
           Case{R"(<soap:Envelope xmlns:soap="http://schemas.xmlsoap.org/soap/envelope/">)"
                R"(<soap:Body/></soap:Envelope>)",
                "the SOAP body names no operation"},
           Case{R"(<soap:Envelope xmlns:soap="http://schemas.xmlsoap.org/soap/envelope/">)"
                R"(<soap:Body><frobnicate/></soap:Body></soap:Envelope>)",
                "unknown operation frobnicate"},
       }) {
    auto answer = client.Post("/wc", c.body, "text/xml");
    ASSERT_TRUE(answer) << c.body;
    EXPECT_EQ(answer->status, 500) << c.body;
    EXPECT_THAT(answer->body, HasSubstr("<soap:Fault><faultcode>soap:Client</faultcode>"
                                        "<faultstring>" +
                                        std::string(c.fault)));
    if (QbxmlDir()) {
      EXPECT_EQ(SoapSchemaErrors(answer->body), "");
    }
  }
  // Interactive mode is declined politely (these calls are not in the WSDL).
  for (auto [call, result] : {std::pair{"getInteractiveURL", ""},
                              {"interactiveDone", "Done"},
                              {"interactiveRejected", ""}}) {
    auto answer = client.Post(
        "/wc",
        std::string(R"(<soap:Envelope xmlns:soap="http://schemas.xmlsoap.org/soap/envelope/">)"
                    R"(<soap:Body><)") +
            call + R"( xmlns="http://developer.intuit.com/"><wcTicket>t</wcTicket></)" + call +
            "></soap:Body></soap:Envelope>",
        "text/xml");
    ASSERT_TRUE(answer);
    EXPECT_EQ(WebConnectorStandIn::Text(answer->body), result) << call;
  }
  WebConnectorStandIn standIn(server_->Port(), company_);
  EXPECT_THAT(WebConnectorStandIn::Text(standIn.Call("serverVersion", {{"strVersion", ""}})),
              HasSubstr("Brennock "));
  if (QbxmlDir()) {  // the WSDL check itself tells a wrong answer
    EXPECT_NE(SoapSchemaErrors(
                  R"(<soap:Envelope xmlns:soap="http://schemas.xmlsoap.org/soap/envelope/">)"
                  R"(<soap:Body><authenticateResponse xmlns="http://developer.intuit.com/">)"
                  R"(<string>t</string></authenticateResponse></soap:Body></soap:Envelope>)"),
              "");
  }
}

TEST_F(WebConnectorTest, AConnectionErrorFailsTheRequestInFlightAndKeepsTheQueued) {
  StartServer(Options());
  serve::WebConnectorQueue& queue = server_->Queue();
  auto failing = std::async(std::launch::async, [&] { return queue.Submit(kHostQuery); });
  ASSERT_TRUE(Eventually([&] { return queue.QueuedCount() == 1; }));
  auto waiting = std::async(std::launch::async, [&] { return queue.Submit(kHostQuery); });
  ASSERT_TRUE(Eventually([&] { return queue.QueuedCount() == 2; }));

  WebConnectorStandIn standIn(server_->Port(), company_);
  standIn.RunSession({.failAtRequest = 1});
  try {
    failing.get();
    ADD_FAILURE() << "the request in flight did not fail";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.Number(), static_cast<int32_t>(0x80040408));
    EXPECT_EQ(e.Source(), "QuickBooks Web Connector");
    EXPECT_EQ(e.Description(), "The Web Connector reported: Could not start QuickBooks.");
  }
  EXPECT_EQ(queue.QueuedCount(), 1u);
  EXPECT_TRUE(standIn.requests.empty());

  standIn.RunSession();
  EXPECT_THAT(waiting.get(), HasSubstr("<HostRet>"));
  EXPECT_EQ(standIn.requests.size(), 1u) << "sent once, and only the one still queued";
  EXPECT_EQ(queue.QueuedCount(), 0u);
  EXPECT_EQ(standIn.problems, "");
}

TEST_F(WebConnectorTest, CallersGiveUpWithClearErrorsAndAbandonedRequestsAreNotSent) {
  serve::ServeOptions options = Options();
  options.webConnector.sessionWait = std::chrono::milliseconds(1500);
  options.webConnector.idleSession = std::chrono::milliseconds(300);
  StartServer(options);

  // Nobody polls: the connection times out with a clear error.
  try {
    RemoteConnection()->Connect("", "Web Connector tests", qbOpenModeDontCare);
    ADD_FAILURE() << "connected without a Web Connector";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.Number(), static_cast<int32_t>(0x80040401));
    EXPECT_EQ(e.Description(), "No QuickBooks Web Connector session came within 1.5 seconds.");
  }

  // A client that hangs up while its request waits: the request expires unsent.
  remote::RemoteSettings settings = remote::ReadRemoteSettings();
  settings.readTimeout = std::chrono::seconds(1);
  auto processor = remote::CreateRemoteProcessor(settings);
  processor->OpenConnection("", "impatient");
  WebConnectorStandIn standIn(server_->Port(), company_);
  auto begun = std::async(std::launch::async,
                          [&] { return processor->BeginSession("", qbOpenModeDontCare); });
  // The Web Connector comes for the session but finds no request.
  ASSERT_TRUE(Eventually([&] {
    standIn.RunSession();
    return begun.wait_for(std::chrono::milliseconds(0)) == std::future_status::ready;
  }));
  std::string ticket = begun.get();
  standIn.requests.clear();
  EXPECT_THROW(processor->ProcessRequest(ticket, kHostQuery), AutomationError);
  std::this_thread::sleep_for(std::chrono::milliseconds(700));
  EXPECT_EQ(server_->Queue().QueuedCount(), 0u);
  // The session was never ended: the Web Connector is let go after the idle time.
  EXPECT_EQ(standIn.RunSession(), company_) << "work waits: QuickBooks is to open the company";
  EXPECT_TRUE(standIn.requests.empty());
  EXPECT_EQ(
      WebConnectorStandIn::Text(standIn.Call("serverVersion", {{"strVersion", ""}})).substr(0, 9),
      "Brennock ");
}

TEST_F(WebConnectorTest, ShutdownFailsWaitingCallersCleanly) {
  StartServer(Options());
  serve::WebConnectorQueue& queue = server_->Queue();
  auto waiting = std::async(std::launch::async, [&] { return queue.Submit(kHostQuery); });
  ASSERT_TRUE(Eventually([&] { return queue.QueuedCount() == 1; }));
  server_->Stop();
  try {
    waiting.get();
    ADD_FAILURE() << "the waiting caller was not failed";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.Number(), static_cast<int32_t>(0x80040401));
    EXPECT_EQ(e.Description(), "brennock serve is shutting down.");
  }
  EXPECT_THROW(queue.Submit(kHostQuery), AutomationError);
}

}  // namespace
}  // namespace brennock::testing
