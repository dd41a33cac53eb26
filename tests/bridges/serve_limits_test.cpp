// The rules behind `brennock serve`'s limits, each on its own: login throttling on a clock of the
// test's choosing, the one-pass SOAP reader, the company folder, the listener's deadlines and
// memory budget, and the caps on remote connections.
#include <gmock/gmock.h>

#include <future>

#include "bridges/remote/remote_processor.h"
#include "bridges/serve/company_folder.h"
#include "bridges/serve/http_listener.h"
#include "bridges/serve/login_throttle.h"
#include "bridges/serve/soap.h"
#include "tests/bridges/hostile_client.h"
#include "tests/bridges/serve_fixture.h"

namespace brennock::testing {
namespace {

using ::testing::HasSubstr;
using Verdict = serve::LoginThrottle::Verdict;
using std::chrono::seconds;

TEST(LoginThrottle, FailuresDelayThenLockAPeerAndAUserButNotAPeerThatLoggedIn) {
  serve::LoginThrottle throttle;
  std::vector<std::string> events;
  throttle.onLock = [&](std::string_view fields) { events.emplace_back(fields); };
  auto t = serve::LoginThrottle::Clock::now();
  auto attempt = [&](const std::string& peer, bool right, const std::string& user = "qbwc") {
    Verdict verdict = throttle.Begin(user, peer, t);
    if (verdict == Verdict::kCheck) throttle.Finish(user, peer, right, t);
    return verdict;
  };
  EXPECT_EQ(attempt("10.0.0.9", true), Verdict::kCheck);  // known to the user from now on
  for (int i = 0; i < 3; ++i) EXPECT_EQ(attempt("10.0.0.1", false), Verdict::kCheck);
  // The fourth failure makes the peer wait a second, then two, four ...
  EXPECT_EQ(attempt("10.0.0.1", false), Verdict::kCheck);
  EXPECT_EQ(attempt("10.0.0.2", false, "other"), Verdict::kCheck);
  t += std::chrono::milliseconds(999);
  EXPECT_EQ(attempt("10.0.0.1", false), Verdict::kDelayed);  // asking early is a failure too
  t += seconds(4);
  EXPECT_EQ(attempt("10.0.0.1", false), Verdict::kCheck);
  // One check at a time per peer.
  EXPECT_EQ(throttle.Begin("someone", "10.0.0.3", t), Verdict::kCheck);
  EXPECT_EQ(throttle.Begin("x", "10.0.0.3", t), Verdict::kDelayed);
  throttle.Finish("someone", "10.0.0.3", false, t);
  // Ten failures lock the peer for fifteen minutes, whatever it sends.
  for (int i = 0; i < 10; ++i) attempt("10.0.0.1", false);
  EXPECT_EQ(attempt("10.0.0.1", true), Verdict::kLocked);
  EXPECT_THAT(events, ::testing::Contains("event=login-locked peer=10.0.0.1 seconds=900"));
  // The user's failures from many peers lock the user for peers it never logged in from ...
  for (int i = 0; i < 12; ++i) {
    t += seconds(70);
    attempt("10.1.0." + std::to_string(i), false);
  }
  EXPECT_THAT(events, ::testing::Contains("event=login-locked user=qbwc seconds=900"));
  EXPECT_EQ(attempt("10.2.0.1", true), Verdict::kLocked);
  // ... not for the peer that logged in as it before.
  EXPECT_EQ(attempt("10.0.0.9", true), Verdict::kCheck);
  t += std::chrono::minutes(16);
  EXPECT_EQ(attempt("10.0.0.1", true), Verdict::kCheck);
}

TEST(SoapReader, ReadsTheCallInOnePassAndSaysWhyNot) {
  serve::SoapCall call;
  std::string problem;
  ASSERT_TRUE(serve::ParseSoapCall(
      "\xEF\xBB\xBF<?xml version=\"1.0\"?><!-- c --><s:Envelope xmlns:s=\"u\"><s:Header/>"
      "<s:Body><authenticate a='>'><strUserName>A &amp; B&#233;&#x41;</strUserName>"
      "<strPassword><![CDATA[<x>]]></strPassword><ticket>  </ticket><deep><x>no</x>yes</deep>"
      "</authenticate><later/></s:Body></s:Envelope>\n",
      call, problem))
      << problem;
  EXPECT_EQ(call.operation, "authenticate");
  EXPECT_EQ(call.Parameter("strUserName"),
            "A & B\xC3\xA9"
            "A");
  EXPECT_EQ(call.Parameter("strPassword"), "<x>");
  EXPECT_EQ(call.Parameter("ticket"), "");
  EXPECT_EQ(call.Parameter("deep"), "yes");
  std::string deep;
  for (int i = 0; i < 70; ++i) deep += "<a>";
  for (auto [body, expected] : std::vector<std::pair<std::string, std::string>>{
           {"<E><Body><op>", "the body is not XML: the element <op> is not closed"},
           {"<E><Body></op></Body></E>", "the body is not XML: the end tag </op> does not match"},
           {"<E/><E/>", "the body is not XML: a second root element"},
           {"<!DOCTYPE E [<!ENTITY x 'y'>]><E/>",
            "the body is not XML: a document type is not "
            "accepted"},
           {"<E><Body><op>&bomb;</op></Body></E>",
            "the body is not XML: the reference &bomb; is not known"},
           {deep, "the body is not XML: elements nest deeper than 64"},
           {"<Envelope><Body/></Envelope>", "the SOAP body names no operation"}}) {
    serve::SoapCall ignored;
    EXPECT_FALSE(serve::ParseSoapCall(body, ignored, problem)) << body;
    EXPECT_EQ(problem, expected);
  }
}

TEST(CompanyFolder, OpensOnlyFilesInsideItsFolderLinksFollowed) {
  namespace fs = std::filesystem;
  fs::path root = fs::temp_directory_path() / ("brennock_folder_" + std::to_string(::getpid()));
  fs::remove_all(root);
  fs::create_directories(root / "books");
  std::ofstream(root / "books" / "a.qbw") << "x";
  std::ofstream(root / "secret.qbw") << "x";
  fs::create_symlink(root / "secret.qbw", root / "books" / "link.qbw");
  serve::CompanyFolder folder("", (root / "books" / "a.qbw").string());
  EXPECT_EQ(folder.Resolve(""), (root / "books" / "a.qbw").string());
  EXPECT_EQ(folder.Resolve("a.qbw"), (root / "books" / "a.qbw").string());
  EXPECT_EQ(folder.Resolve((root / "books" / "new.qbw").string()),
            (root / "books" / "new.qbw").string());
  for (const std::string& outside :
       {(root / "secret.qbw").string(), std::string("../secret.qbw"), std::string("link.qbw"),
        (root / "books").string(), std::string("/etc/passwd")})
    EXPECT_EQ(folder.Resolve(outside), std::nullopt) << outside;
  EXPECT_EQ(serve::CompanyFolder("", "").Resolve("a.qbw"), std::nullopt);
  fs::remove_all(root);
}

// A listener whose handler waits until the test lets it go.
class ListenerTest : public ::testing::Test {
 protected:
  void Start(serve::ListenerOptions options) {
    serve::HttpService service;
    service.admit = [](const serve::HttpRequest&) {
      serve::Admission admission;
      admission.bodyLimit = 1u << 20;
      return admission;
    };
    service.handle = [this](serve::HttpRequest& request, serve::HttpResponse& response) {
      release_.wait();
      response.body = std::to_string(request.body.size());
    };
    service.log = [this](const serve::ExchangeRecord& record) {
      std::lock_guard lock(mutex_);
      records_.push_back(record);
    };
    listener_ = std::make_unique<serve::HttpListener>(options, service);
    listener_->Start();
  }
  void TearDown() override {
    if (!released_) go_.set_value();  // no handler may wait for ever
  }
  void Release() {
    released_ = true;
    go_.set_value();
  }
  std::vector<serve::ExchangeRecord> Records() {
    std::lock_guard lock(mutex_);
    return records_;
  }

  bool released_ = false;
  std::promise<void> go_;
  std::shared_future<void> release_ = go_.get_future().share();
  std::mutex mutex_;
  std::vector<serve::ExchangeRecord> records_;
  std::unique_ptr<serve::HttpListener> listener_;
};

TEST_F(ListenerTest, DeadlinesBadHeadsAndTheMemoryBudgetAreAnsweredAndLogged) {
  serve::ListenerOptions options;
  options.headerTimeout = std::chrono::milliseconds(300);
  options.requestTimeout = std::chrono::milliseconds(600);
  options.maxHeaderBytes = 1024;
  options.memoryBudget = 1u << 20;
  Start(options);
  int port = listener_->Port();
  RawConnection slow(port, "127.0.0.3"), garbage(port, "127.0.0.4"), big(port, "127.0.0.5");
  slow.Send("GET /x HTTP/1.1\r\nHost:");
  garbage.Send("NOT HTTP AT ALL\r\n\r\n");
  big.Send("GET / HTTP/1.1\r\nX: " + std::string(2000, 'x') + "\r\n\r\n");
  EXPECT_EQ(StatusOf(slow.ReadAnswer()), 408);
  EXPECT_EQ(StatusOf(garbage.ReadAnswer()), 400);
  EXPECT_EQ(StatusOf(big.ReadAnswer()), 431);
  // The first body takes the whole budget; the second waits for room, until its deadline.
  RawConnection first(port, "127.0.0.1"), second(port, "127.0.0.1");
  first.Send(Post("/a", std::string(900u << 10, 'a')));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  second.Send(Post("/b", std::string(200u << 10, 'b')));
  EXPECT_EQ(StatusOf(second.ReadAnswer()), 503);
  Release();
  EXPECT_THAT(first.ReadAnswer(), ::testing::EndsWith("\r\n\r\n921600"));
  listener_->Stop(std::chrono::steady_clock::now() + seconds(2));

  std::map<int, serve::ExchangeRecord> byStatus;
  for (const auto& record : Records()) byStatus[record.status] = record;
  EXPECT_EQ(byStatus[408].peer, "127.0.0.3");
  EXPECT_EQ(byStatus[408].method, "GET");
  EXPECT_EQ(byStatus[408].outcome, "head not complete within the deadline");
  EXPECT_GE(byStatus[408].milliseconds, 300.0);
  EXPECT_EQ(byStatus[400].peer, "127.0.0.4");
  EXPECT_THAT(byStatus[400].outcome, HasSubstr("malformed head"));
  EXPECT_EQ(byStatus[431].outcome, "head over the limit");
  EXPECT_EQ(byStatus[503].path, "/b");
  EXPECT_GE(byStatus[503].milliseconds, 600.0);
  EXPECT_EQ(byStatus[200].path, "/a");
}

TEST_F(ServeTest, SessionsAreCappedAndOpenOnlyFilesInTheCompanyFolder) {
  serve::ServeOptions options = Options();
  options.maxSessions = 2;
  StartServer(options);
  auto open = [] {
    auto processor = remote::CreateRemoteProcessor(remote::ReadRemoteSettings());
    processor->OpenConnection("", "limits");
    return processor;
  };
  auto first = open();
  auto second = open();
  try {
    open();
    ADD_FAILURE() << "a third connection was opened";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.Number(), static_cast<int32_t>(0x80040401u));
    EXPECT_EQ(e.Description(),
              "brennock serve has as many connections open as it allows (2); close one and try "
              "again.");
  }
  try {
    first->BeginSession("/etc/passwd", qbOpenModeDontCare);
    ADD_FAILURE() << "a file outside the company folder was opened";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.Number(), static_cast<int32_t>(0x80040403u));
    EXPECT_EQ(e.Description(),
              "brennock serve opens company files only inside its company folder.");
  }
  first->BeginSession("company.qbw", qbOpenModeDontCare);
  second->BeginSession("", qbOpenModeDontCare);
  EXPECT_THROW(second->BeginSession("", qbOpenModeDontCare), AutomationError);
  first->CloseConnection();
  EXPECT_NO_THROW(open()->CloseConnection());
  second->CloseConnection();
}

}  // namespace
}  // namespace brennock::testing
