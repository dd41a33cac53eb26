// `brennock serve` under attack, as a separate process: oversized and endless bodies, slow
// clients by the hundred, login floods, large SOAP bodies and iterator floods. Honest clients keep
// being answered, memory stays bounded, and SIGTERM still stops the server. The attacks are scaled
// down to run in seconds; BRENNOCK_HOSTILE_FULL=1 runs them at full size and prints the figures.
#include <gmock/gmock.h>
#include <sys/resource.h>

#include <atomic>
#include <cstdio>
#include <future>
#include <memory>
#include <tuple>

#include "brennock/errors/automation_error.h"
#include "bridges/remote/remote_processor.h"
#include "simulator/company_file.h"
#include "tests/bridges/hostile_client.h"
#include "tests/bridges/serve_fixture.h"

namespace brennock::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

struct Scale {
  size_t chunkedBytes;  // sent as one chunked body
  size_t maxBody;       // the server's --max-body
  int slowClients;      // connections that dribble their heads
  size_t soapBody;      // bytes of each large SOAP body
  int iterators;        // iterator starts in one request document
  int customers;        // in the company the iterators run over
  int headerTimeout;    // seconds
};

const Scale& TheScale() {
  static const Scale ci{48u << 20, 4u << 20, 200, 4u << 20, 600, 2000, 1};
  static const Scale full{200u << 20, 16u << 20, 1000, 16u << 20, 5000, 100000, 10};
  const char* wanted = std::getenv("BRENNOCK_HOSTILE_FULL");
  return wanted != nullptr && *wanted == '1' ? full : ci;
}

// Memory figures are the allocator's: under AddressSanitizer they say nothing about the server.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMeasuresMemory = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kMeasuresMemory = false;
#else
constexpr bool kMeasuresMemory = true;
#endif
#else
constexpr bool kMeasuresMemory = true;
#endif

void Figure(const std::string& line) {
  std::printf("[ figure   ] %s\n", line.c_str());
  std::fflush(stdout);
}

double Megabytes(size_t bytes) { return static_cast<double>(bytes) / (1 << 20); }

class HostileClientsTest : public ServeTest {
 protected:
  void SetUp() override {
    ServeTest::SetUp();
    // A thousand attackers and the server's own ends of their connections.
    rlimit limit{};
    getrlimit(RLIMIT_NOFILE, &limit);
    limit.rlim_cur = std::min<rlim_t>(limit.rlim_max, 8192);
    setrlimit(RLIMIT_NOFILE, &limit);
    token_ = (folder_ / "token").string();
    std::ofstream(token_) << kToken << "\n";
    serve::Credentials::AddUser(credentialsFile_, kUser, kPassword);
  }

  // A remote processor connected to the server on that port.
  static std::shared_ptr<RemoteRequestProcessor> OpenRemote(int port,
                                                            const std::string& application) {
    remote::RemoteSettings settings;
    settings.url = "http://127.0.0.1:" + std::to_string(port);
    settings.token = kToken;
    auto processor = remote::CreateRemoteProcessor(settings);
    processor->OpenConnection("", application);
    return processor;
  }

  int Spawn(std::vector<std::string> extra, bool webConnector = true) {
    std::vector<std::string> args = {
        "--token-file",      token_,
        "--company",         company_,
        "--header-timeout",  std::to_string(TheScale().headerTimeout),
        "--request-timeout", std::to_string(TheScale().headerTimeout * 3)};
    if (webConnector)
      args.insert(args.end(), {"--web-connector", "--credentials", credentialsFile_});
    args.insert(args.end(), extra.begin(), extra.end());
    int port = child_.Start(folder_, args);
    EXPECT_GT(port, 0) << child_.Log();
    return port;
  }

  // One SOAP call on a connection of its own; the answer and how long it took.
  std::pair<std::string, double> Call(int port, const std::string& from, const std::string& body) {
    auto start = HostileClock::now();
    RawConnection connection(port, from);
    std::string answer = connection.Exchange(Post("/wc", body));
    return {answer, MillisecondsSince(start)};
  }

  std::string Authenticate(int port, const std::string& from, const std::string& password) {
    std::string answer =
        Call(port, from,
             SoapCall("authenticate", {{"strUserName", kUser}, {"strPassword", password}}))
            .first;
    size_t at = answer.find("<string>");
    return at == std::string::npos ? "" : answer.substr(at + 8, answer.find('<', at + 8) - at - 8);
  }

  std::string token_;
  ServeChild child_;
};

TEST_F(HostileClientsTest, EndlessChunkedBodiesAreRefusedBeforeTheyCostMemory) {
  const Scale& scale = TheScale();
  int port = Spawn({"--max-body", std::to_string(scale.maxBody)}, false);
  ProcessMemory memory{child_.Pid()};
  size_t before = memory.Resident();
  memory.ResetPeak();

  std::string chunk(64u << 10, 'x');
  char size[32];
  std::snprintf(size, sizeof size, "%zx\r\n", chunk.size());
  chunk = size + chunk + "\r\n";
  auto send = [&](const std::string& extra) {
    RawConnection attacker(port, "127.0.0.2");
    attacker.Send("POST /rqp/1/ProcessRequest HTTP/1.1\r\nHost: x\r\n" + extra +
                  "Transfer-Encoding: chunked\r\n\r\n");
    std::string answer;
    size_t total = 0, sent = 0;
    while (total < scale.chunkedBytes && answer.empty() && attacker.Open()) {
      size_t part = 0;
      attacker.SendSome(std::string_view(chunk).substr(sent), part);
      sent = (sent + part) % chunk.size();
      total += part;
      answer = attacker.ReadSome(std::chrono::milliseconds(part == 0 ? 5 : 0));
    }
    answer += attacker.ReadSome(std::chrono::milliseconds(2000));
    return std::pair{StatusOf(answer), total};
  };
  // Without the token nothing of the body is read; with it, no more than the limit.
  auto [anonymous, anonymousSent] = send("");
  EXPECT_EQ(anonymous, 401);
  auto [authorised, authorisedSent] = send(std::string("Authorization: Bearer ") + kToken + "\r\n");
  EXPECT_EQ(authorised, 413);
  size_t peak = memory.Peak() - std::min(before, memory.Peak());
  Figure("chunked body: refused with " + std::to_string(authorised) + " after " +
         std::to_string(authorisedSent >> 20) + " MB sent of " +
         std::to_string(scale.chunkedBytes >> 20) + " MB; server peak growth " +
         std::to_string(Megabytes(peak)) + " MB for a limit of " +
         std::to_string(scale.maxBody >> 20) + " MB");
  if (kMeasuresMemory) {
    EXPECT_LT(peak, 2 * scale.maxBody + (4u << 20));
  }
  EXPECT_THAT(child_.Log(), HasSubstr("method=POST face=rqp op=ProcessRequest status=401"));
  EXPECT_THAT(child_.Log(), HasSubstr("method=POST path=/rqp/1/ProcessRequest status=413 ms="));
}

TEST_F(HostileClientsTest, SlowClientsByTheHundredNeitherStarveOthersNorHoldUpSigterm) {
  const Scale& scale = TheScale();
  int port = Spawn({});
  std::atomic<bool> stop{false};
  std::atomic<int> refusedOrTimedOut{0};
  // Each connection sends a head that never ends, a byte at a time, and comes back when cut off.
  std::thread attackers([&] {
    std::vector<std::unique_ptr<RawConnection>> slow;
    auto from = [](int i) { return "127.0.1." + std::to_string(1 + i / 50); };
    for (int i = 0; i < scale.slowClients; ++i) {
      slow.push_back(std::make_unique<RawConnection>(port, from(i)));
      slow.back()->Send("POST /wc HTTP/1.1\r\nHost: x\r\nX-Slow: ");
    }
    while (!stop) {
      for (int i = 0; i < scale.slowClients && !stop; ++i) {
        size_t sent = 0;
        if (!slow[i]->SendSome("a", sent) ||
            !slow[i]->ReadSome(std::chrono::milliseconds(0)).empty()) {
          ++refusedOrTimedOut;
          slow[i] = std::make_unique<RawConnection>(port, from(i));
          slow[i]->Send("POST /wc HTTP/1.1\r\nHost: x\r\nX-Slow: ");
        }
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
  });
  // Long enough for the first slow heads to run out of time.
  std::this_thread::sleep_for(std::chrono::milliseconds(scale.headerTimeout * 1000 + 1500));

  // Meanwhile an honest peer: the health check and a Web Connector session each answer in time.
  double slowest = 0;
  for (int i = 0; i < 10; ++i) {
    auto start = HostileClock::now();
    RawConnection health(port, "127.0.0.1");
    health.Send("GET /health HTTP/1.1\r\nHost: x\r\n\r\n");
    EXPECT_EQ(StatusOf(health.ReadAnswer()), 200);
    slowest = std::max(slowest, MillisecondsSince(start));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  EXPECT_LT(slowest, 1000.0) << "the health check was held up";
  for (const auto& [operation, parameters] :
       std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>>{
           {"serverVersion", {{"strVersion", ""}}},
           {"clientVersion", {{"strVersion", "2.3.0.36"}}},
           {"authenticate", {{"strUserName", kUser}, {"strPassword", kPassword}}}}) {
    auto [answer, ms] = Call(port, "127.0.0.1", SoapCall(operation, parameters));
    EXPECT_EQ(StatusOf(answer), 200) << operation;
    EXPECT_LT(ms, 1000.0) << operation;
    slowest = std::max(slowest, ms);
  }
  auto [status, stopMs] = child_.Terminate();
  stop = true;
  attackers.join();
  Figure(std::to_string(scale.slowClients) + " slow clients: slowest honest answer " +
         std::to_string(slowest) + " ms; SIGTERM exit " + std::to_string(status) + " after " +
         std::to_string(stopMs) + " ms; " + std::to_string(refusedOrTimedOut.load()) +
         " slow connections cut off");
  EXPECT_EQ(status, 0);
  EXPECT_LT(stopMs, 5000.0);
  std::string log = child_.Log();
  EXPECT_THAT(log, HasSubstr("method=POST path=/wc status=408 ms="));
  EXPECT_THAT(log, HasSubstr("remote=127.0.1.1 outcome=\"head not complete within the deadline\""));
  EXPECT_THAT(log, HasSubstr("event=stopped\n"));
}

TEST_F(HostileClientsTest, ALoginFloodIsThrottledWhileTheRealWebConnectorGetsIn) {
  int port = Spawn({});
  ASSERT_NE(Authenticate(port, "127.0.0.1", kPassword), "") << "the honest peer's first login";
  // A hundred wrong passwords at once from one peer.
  std::vector<std::unique_ptr<RawConnection>> flood;
  for (int i = 0; i < 100; ++i) {
    flood.push_back(std::make_unique<RawConnection>(port, "127.0.0.2"));
    flood.back()->Send(Post(
        "/wc", SoapCall("authenticate",
                        {{"strUserName", kUser}, {"strPassword", "guess" + std::to_string(i)}})));
  }
  auto start = HostileClock::now();
  std::string answer =
      Call(port, "127.0.0.1",
           SoapCall("authenticate", {{"strUserName", kUser}, {"strPassword", kPassword}}))
          .first;
  double honest = MillisecondsSince(start);
  EXPECT_THAT(answer, Not(HasSubstr("<string>nvu</string>")));
  EXPECT_LT(honest, 1000.0);
  // Each is told "nvu", or refused a connection past the cap for one peer.
  int nvu = 0, refused = 0;
  for (auto& connection : flood) {
    std::string reply = connection->ReadAnswer();
    nvu += reply.find("<string>nvu</string>") != std::string::npos;
    refused += StatusOf(reply) == 503;
  }
  EXPECT_EQ(nvu + refused, 100);
  flood.clear();
  // Locked now: even the right password from that peer is not checked.
  EXPECT_THAT(Call(port, "127.0.0.2",
                   SoapCall("authenticate", {{"strUserName", kUser}, {"strPassword", kPassword}}))
                  .first,
              HasSubstr("<string>nvu</string>"));
  std::string log = child_.Log();
  size_t checked = 0, unchecked = 0;
  for (size_t at = 0; (at = log.find("outcome=nvu", at)) != std::string::npos; ++at)
    (log.compare(at, 12, "outcome=nvu-") == 0 ? unchecked : checked) += 1;
  Figure("100 parallel wrong logins: " + std::to_string(refused) +
         " connections refused at the "
         "per-peer cap, " +
         std::to_string(checked) + " passwords checked, " + std::to_string(unchecked) +
         " logins refused unchecked; the honest login took " + std::to_string(honest) + " ms");
  EXPECT_LE(checked, 10u);
  EXPECT_THAT(log, HasSubstr("event=login-locked peer=127.0.0.2 seconds=900"));
  EXPECT_THAT(log, HasSubstr("remote=127.0.0.2 outcome=nvu-locked"));
}

TEST_F(HostileClientsTest, LargeSoapBodiesCostLittleMoreThanThemselves) {
  const Scale& scale = TheScale();
  int port = Spawn({"--max-body", std::to_string(scale.soapBody + (1u << 20))});
  std::string ticket = Authenticate(port, "127.0.0.1", kPassword);
  ASSERT_FALSE(ticket.empty());
  // An answer of escaped text, and one of a few million empty elements.
  std::string text, elements;
  while (text.size() < scale.soapBody) text += "&lt;CustomerRet&gt;&lt;Name/&gt;";
  while (elements.size() < scale.soapBody) elements += "<a/>";
  auto body = [&](const std::string& response) {
    return SoapCall("receiveResponseXML",
                    {{"ticket", ticket}, {"response", response}, {"hresult", ""}, {"message", ""}});
  };
  std::vector<std::string> bodies = {body(text), body(elements), body(text), body(elements)};
  ProcessMemory memory{child_.Pid()};
  auto run = [&](size_t count) {
    size_t before = memory.Resident();
    memory.ResetPeak();
    std::vector<std::future<int>> answers;
    for (size_t i = 0; i < count; ++i)
      answers.push_back(std::async(std::launch::async, [&, i] {
        RawConnection sender(port, "127.0.0.1");
        sender.Send(Post("/wc", bodies[i]), std::chrono::seconds(60));
        return StatusOf(sender.ReadAnswer(std::chrono::seconds(60)));
      }));
    for (auto& answer : answers) EXPECT_EQ(answer.get(), 200);
    return memory.Peak() - std::min(before, memory.Peak());
  };
  size_t one = run(1), four = run(4);
  Figure("SOAP bodies of " + std::to_string(Megabytes(bodies[0].size())) + " MB: peak growth " +
         std::to_string(Megabytes(one)) + " MB for one, " + std::to_string(Megabytes(four)) +
         " MB for four at once");
  if (kMeasuresMemory) {
    EXPECT_LT(one, 4 * bodies[0].size());
    EXPECT_LT(four, 4 * 4 * bodies[0].size());
  }
  // A peer that holds no ticket may not send much at all.
  EXPECT_EQ(StatusOf(Call(port, "127.0.0.5", bodies[0]).first), 413);
}

TEST_F(HostileClientsTest, LargeProcessorBodiesCostLittleMoreThanThemselves) {
  const Scale& scale = TheScale();
  int port = Spawn({"--max-body", std::to_string(scale.soapBody + (1u << 20))}, false);
  auto processor = OpenRemote(port, "large bodies");
  std::string ticket = processor->BeginSession("", qbOpenModeDontCare);
  auto document = [](const std::string& body) {
    return "<?xml version=\"1.0\"?><?qbxml version=\"16.0\"?><QBXML><QBXMLMsgsRq "
           "onError=\"continueOnError\">" +
           body + "</QBXMLMsgsRq></QBXML>";
  };
  // Millions of empty elements among the requests, the same inside one request, and queries
  // padded with comments (their answers are small beside them).
  std::string loose, nested = "<ClassQueryRq>", padded;
  while (loose.size() < scale.soapBody) loose += "<a/>";
  while (nested.size() < scale.soapBody) nested += "<a/>";
  nested += "</ClassQueryRq>";
  const std::string comment = "<!--" + std::string(2000, '-').replace(0, 2, "  ") + "  -->";
  while (padded.size() < scale.soapBody)
    padded += "<ClassQueryRq><MaxReturned>1</MaxReturned>" + comment + "</ClassQueryRq>";
  ProcessMemory memory{child_.Pid()};
  std::string figures;
  for (const auto& [name, body, answered] :
       {std::tuple{"loose empty elements", document(loose), false},
        std::tuple{"empty elements in one request", document(nested), false},
        std::tuple{"queries padded with comments", document(padded), true}}) {
    size_t before = memory.Resident();
    memory.ResetPeak();
    bool refused = false;
    try {
      processor->ProcessRequest(ticket, body);
    } catch (const AutomationError&) {
      refused = true;
    }
    EXPECT_EQ(refused, !answered) << name;
    size_t growth = memory.Peak() - std::min(before, memory.Peak());
    figures += std::string(figures.empty() ? "" : ", ") + name + " " +
               std::to_string(Megabytes(growth)) + " MB";
    if (kMeasuresMemory) {
      EXPECT_LT(growth, 4 * body.size()) << name;
    }
  }
  processor->EndSession(ticket);
  processor->CloseConnection();
  Figure("processor bodies of " + std::to_string(Megabytes(scale.soapBody)) +
         " MB, peak growth: " + figures);
}

TEST_F(HostileClientsTest, AnIteratorFloodIsRefusedPastTheCapAndLeavesNoMemoryBehind) {
  const Scale& scale = TheScale();
  std::filesystem::remove(company_);
  simulator::CompanyFileOptions options;
  options.sample = simulator::SampleBusiness{.customers = scale.customers};
  simulator::CreateCompanyFile(company_, options);
  int port = Spawn({}, false);
  auto processor = OpenRemote(port, "iterator flood");
  std::string ticket = processor->BeginSession("", qbOpenModeDontCare);
  ProcessMemory memory{child_.Pid()};
  std::this_thread::sleep_for(std::chrono::milliseconds(1200));
  size_t before = memory.Own();

  std::string starts;
  for (int i = 0; i < scale.iterators; ++i)
    starts += "<CustomerQueryRq iterator=\"Start\"><MaxReturned>1</MaxReturned></CustomerQueryRq>";
  auto start = HostileClock::now();
  std::string response = processor->ProcessRequest(
      ticket,
      "<?xml version=\"1.0\"?><?qbxml version=\"16.0\"?><QBXML><QBXMLMsgsRq "
      "onError=\"continueOnError\">" +
          starts + "</QBXMLMsgsRq></QBXML>");
  double ms = MillisecondsSince(start);
  size_t during = memory.Own();
  auto count = [&](const std::string& needle) {
    size_t n = 0;
    for (size_t at = 0; (at = response.find(needle, at)) != std::string::npos; ++at) ++n;
    return static_cast<int>(n);
  };
  EXPECT_EQ(count("statusCode=\"0\""), 100);
  EXPECT_EQ(count("statusCode=\"3392\""), scale.iterators - 100);
  EXPECT_THAT(response, HasSubstr("No more iterators can be started: 100 are open in this "
                                  "session, the most allowed. Finish or stop one first."));
  processor->EndSession(ticket);
  std::this_thread::sleep_for(std::chrono::milliseconds(2500));  // the server's housekeeping
  size_t after = memory.Own();
  processor->CloseConnection();
  Figure(std::to_string(scale.iterators) + " iterator starts over " +
         std::to_string(scale.customers) + " customers: answered in " + std::to_string(ms) +
         " ms; resident " + std::to_string(Megabytes(before)) + " MB before, " +
         std::to_string(Megabytes(during)) + " MB with 100 open, " +
         std::to_string(Megabytes(after)) + " MB after the session");
  if (kMeasuresMemory) {
    EXPECT_LT(after, before + (8u << 20));
  }
}

}  // namespace
}  // namespace brennock::testing
