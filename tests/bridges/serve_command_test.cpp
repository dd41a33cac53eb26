// The real `brennock serve` program: its one-shot actions, and a server run that a library client
// uses and SIGTERM stops cleanly.
#include <gmock/gmock.h>
#include <signal.h>

#include <thread>

#include "bridges/serve/qwc.h"
#include "tests/bridges/serve_fixture.h"
#include "tests/cli/cli_runner.h"

namespace brennock::testing {
namespace {

using ::testing::HasSubstr;

class ServeCommandTest : public ServeTest {
 protected:
  void TearDown() override {
    if (child_ > 0) {
      ::kill(child_, SIGKILL);
      ::waitpid(child_, nullptr, 0);
    }
    ServeTest::TearDown();
  }

  // Starts `brennock serve` with args; returns its port once it listens (0 after 10 s).
  int Spawn(std::vector<std::string> args) {
    std::filesystem::path portFile = folder_ / "port";
    args.insert(args.begin(), {"serve", "--port", "0", "--port-file", portFile.string()});
    std::string program = CliPath();
    std::vector<char*> argv{program.data()};
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    std::string log = (folder_ / "serve.log").string();
    child_ = ::fork();
    if (child_ == 0) {
      ::dup2(::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
      ::execv(program.c_str(), argv.data());
      ::_exit(127);
    }
    for (int i = 0; i < 1000; ++i) {
      std::string port = ReadWhole(portFile);
      if (!port.empty() && port.back() == '\n') return std::stoi(port);
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return 0;
  }

  // Sends SIGTERM; the exit status, or -1 when it did not exit within 10 s.
  int Terminate() {
    ::kill(child_, SIGTERM);
    for (int i = 0; i < 1000; ++i) {
      int status = 0;
      if (::waitpid(child_, &status, WNOHANG) == child_) {
        child_ = 0;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return -1;
  }

  pid_t child_ = 0;
};

TEST_F(ServeCommandTest, ServesALibraryClientAndStopsOnSigterm) {
  std::string token = (folder_ / "token").string();
  ASSERT_EQ(RunCli(folder_, {"serve", "--new-token", token}).status, 0);
  EXPECT_EQ(std::filesystem::status(token).permissions() & std::filesystem::perms::group_read,
            std::filesystem::perms::none);
  int port = Spawn({"--token-file", token, "--company", company_});
  ASSERT_GT(port, 0) << ReadWhole(folder_ / "serve.log");
  std::string secret = ReadWhole(token).substr(0, 64);
  setenv("BRENNOCK_REMOTE_URL", ("http://127.0.0.1:" + std::to_string(port)).c_str(), 1);
  setenv("BRENNOCK_REMOTE_TOKEN", secret.c_str(), 1);

  auto connection = RemoteConnection();
  connection->Connect("", "Command tests", qbOpenModeDontCare);
  EXPECT_EQ(connection->CompanyPath(), company_);
  connection->Company()->Classes()->Add("North");
  EXPECT_EQ(connection->Company()->Classes()->Commit(), 0);
  connection->CloseConnection();

  EXPECT_EQ(Terminate(), 0);
  std::string log = ReadWhole(folder_ / "serve.log");
  EXPECT_THAT(log, HasSubstr(" event=start listen=127.0.0.1:" + std::to_string(port)));
  EXPECT_THAT(log, HasSubstr(" face=rqp op=ProcessRequest status=200 ms="));
  EXPECT_THAT(log, HasSubstr(" event=stopping signal=TERM\n"));
  EXPECT_THAT(log, HasSubstr(" event=stopped\n"));
  EXPECT_THAT(log, ::testing::Not(HasSubstr(secret)));
}

TEST_F(ServeCommandTest, RefusesToStartUnsafely) {
  std::string token = (folder_ / "token").string();
  RunCli(folder_, {"serve", "--new-token", token});
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* message;
  };
  for (const Case& c : std::vector<Case>{
           {{"serve", "--port", "0"}, 64, "a token is needed"},
           {{"serve", "--token-file", token, "--host", "0.0.0.0", "--port", "0"},
            1,
            "brennock: listening on 0.0.0.0 needs HTTPS: give a certificate and a key\n"},
           {{"serve", "--token-file", token, "--web-connector"}, 64, "needs --credentials"},
           {{"serve", "--token-file", token, "--backend", "brennockRqP.RequestProcessor"},
            64,
            "cannot serve through the remote processor"},
           {{"serve", "--add-user", "qbwc"}, 64, "--add-user needs --credentials FILE"},
       }) {
    CliResult result = RunCli(folder_, c.args);
    EXPECT_EQ(result.status, c.status) << c.args.back() << result.err;
    EXPECT_THAT(result.err, HasSubstr(c.message));
  }
}

TEST_F(ServeCommandTest, AddUserKeepsOnlySaltedHashes) {
  std::string users = (folder_ / "users").string();
  ASSERT_EQ(RunCli(folder_, {"serve", "--add-user", "qbwc", "--credentials", users, "-q"},
                   "first secret\n")
                .status,
            0);
  ASSERT_EQ(RunCli(folder_, {"serve", "--add-user", "other", "--credentials", users, "-q"},
                   "first secret\n")
                .status,
            0);
  ASSERT_EQ(RunCli(folder_, {"serve", "--add-user", "qbwc", "--credentials", users, "-q"},
                   "second secret\n")
                .status,
            0);
  std::string text = ReadWhole(users);
  EXPECT_THAT(text, ::testing::Not(HasSubstr("secret")));
  EXPECT_THAT(text,
              ::testing::MatchesRegex("other:\\$argon2id\\$[^\n]*\nqbwc:\\$argon2id\\$[^\n]*\n"));
  serve::Credentials credentials = serve::Credentials::Load(users);
  EXPECT_TRUE(credentials.Verify("qbwc", "second secret"));
  EXPECT_FALSE(credentials.Verify("qbwc", "first secret"));
  EXPECT_TRUE(credentials.Verify("other", "first secret"));
  EXPECT_FALSE(credentials.Verify("nobody", "first secret"));
  EXPECT_EQ(RunCli(folder_, {"serve", "--add-user", "a:b", "--credentials", users}, "x\n").status,
            1);
}

TEST_F(ServeCommandTest, WritesAQwcFileLikeTheSamples) {
  std::string qwc = (folder_ / "books.qwc").string();
  ASSERT_EQ(RunCli(folder_, {"serve", "--write-qwc", qwc, "--url", "https://books.example.com/wc",
                             "--user", "qbwc", "--interval", "5"})
                .status,
            0);
  std::string text = ReadWhole(qwc);
  pugi::xml_document ours;
  ASSERT_TRUE(ours.load_string(text.c_str()));
  pugi::xml_node root = ours.child("QBWCXML");
  EXPECT_STREQ(root.child_value("AppURL"), "https://books.example.com/wc");
  EXPECT_STREQ(root.child_value("AppSupport"), "https://books.example.com/support");
  EXPECT_STREQ(root.child_value("UserName"), "qbwc");
  EXPECT_STREQ(root.child_value("QBType"), "QBFS");
  EXPECT_STREQ(root.child("Scheduler").child_value("RunEveryNMinutes"), "5");
  for (const char* id : {"AppID", "OwnerID", "FileID"})
    EXPECT_THAT(root.child_value(id),
                ::testing::MatchesRegex("\\{[0-9A-F]{8}-[0-9A-F]{4}-5[0-9A-F]{3}-[89AB][0-9A-F]{3}-"
                                        "[0-9A-F]{12}\\}"))
        << id;
  // Written again, the Web Connector sees the same application; another URL is another one.
  RunCli(folder_, {"serve", "--write-qwc", qwc, "--url", "https://books.example.com/wc", "--user",
                   "qbwc", "--interval", "5"});
  EXPECT_EQ(ReadWhole(qwc), text);
  EXPECT_NE(serve::StableGuid("OwnerID\nBrennock\nhttps://a/wc"),
            serve::StableGuid("OwnerID\nBrennock\nhttps://b/wc"));

  // The elements, nesting and order of a sample that schedules its runs.
  if (!QbxmlDir()) return;
  auto shape = [](const pugi::xml_node& root) {
    std::string names;
    for (pugi::xml_node child : root.children()) {
      names += child.name();
      for (pugi::xml_node inner : child.children())
        if (inner.type() == pugi::node_element) names += std::string("/") + inner.name();
      names += ' ';
    }
    return names;
  };
  pugi::xml_document sample;
  ASSERT_TRUE(sample.load_file((*QbxmlDir() / "qwc" / "consolibyte_example.qwc").c_str()));
  EXPECT_EQ(shape(root), shape(sample.child("QBWCXML")));
}

}  // namespace
}  // namespace brennock::testing
