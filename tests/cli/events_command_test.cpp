// The event commands, each run as its own process on one company file.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/cli/cli_runner.h"

namespace brennock::testing {
namespace {

using ::testing::HasSubstr;

class EventCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("brennock_cli_events_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    unsetenv("BRENNOCK_PROCESSOR");
    unsetenv("BRENNOCK_QBXML_SCHEMA");
    company_ = (folder_ / "company.qbw").string();
    setenv("BRENNOCK_COMPANY", company_.c_str(), 1);
    ASSERT_EQ(Run({"company", "create", company_}).status, 0);
  }
  void TearDown() override {
    unsetenv("BRENNOCK_COMPANY");
    std::filesystem::remove_all(folder_);
  }
  CliResult Run(const std::vector<std::string>& args) { return RunCli(folder_, args); }

  std::filesystem::path folder_;
  std::string company_;
};

TEST_F(EventCommandsTest, APrintSubscriptionHearsOfChangesMadeByOtherCommands) {
  CliResult subscribed = Run({"subscribe", "data", "--types", "invoice,customer", "--print",
                              "--always", "--ops", "add,delete"});
  ASSERT_EQ(subscribed.status, 0) << subscribed.err;
  EXPECT_EQ(subscribed.out, "{B7E4A0C2-5D1F-4E38-9A6B-3C2D1E0F4A57}\n");
  // The same subscriber subscribing again is refused by QuickBooks.
  CliResult again = Run({"subscribe", "data", "--types", "customer", "--print"});
  EXPECT_EQ(again.status, 2);
  EXPECT_THAT(again.err, HasSubstr("QuickBooks status 3100"));
  EXPECT_EQ(Run({"subscribe", "data", "--types", "item", "--print"}).status, 64);

  ASSERT_EQ(Run({"add", "customer", "Ada Byrne"}).status, 0);
  ASSERT_EQ(Run({"add", "class", "Retail"}).status, 0);  // not subscribed
  ASSERT_EQ(Run({"delete", "customer", "Ada Byrne"}).status, 0);
  CliResult heard = Run({"events", "listen", "--count", "2", "--idle", "20"});
  ASSERT_EQ(heard.status, 0) << heard.err;
  EXPECT_THAT(heard.out, ::testing::MatchesRegex("DataEvent Customer Add ListID=[0-9A-F]+-[0-9]+\n"
                                                 "DataEvent Customer Delete ListID=.*\n"));
  // Each event was taken once.
  EXPECT_EQ(Run({"events", "listen", "--idle", "0.3"}).out, "");

  CliResult listed = Run({"subscriptions", "list"});
  EXPECT_THAT(listed.out, HasSubstr("\tData\tBrennock command line\tBrennock.EventPrinter\t"
                                    "DeliverAlways\tCustomer Add,Delete; Invoice Add,Delete\n"));
  EXPECT_EQ(Run({"subscriptions", "delete"}).status, 0);
  EXPECT_EQ(Run({"subscriptions", "delete"}).status, 1);  // nothing left
}

TEST_F(EventCommandsTest, AChosenMenuItemReachesItsApplication) {
  const std::string request =
      "<?xml version=\"1.0\" ?><?qbxml version=\"16.0\"?><QBXML><QBXMLSubscriptionMsgsRq>"
      "<UIExtensionSubscriptionAddRq><UIExtensionSubscriptionAdd><SubscriberID>"
      "{B7E4A0C2-5D1F-4E38-9A6B-3C2D1E0F4A57}</SubscriberID><COMCallbackInfo><AppName>CRM</AppName>"
      "<ProgID>Crm.Menu</ProgID></COMCallbackInfo><MenuExtensionSubscription><AddToMenu>Customers"
      "</AddToMenu><MenuItem><MenuText>Send to CRM</MenuText><EventTag>crm-send</EventTag>"
      "</MenuItem></MenuExtensionSubscription></UIExtensionSubscriptionAdd>"
      "</UIExtensionSubscriptionAddRq></QBXMLSubscriptionMsgsRq></QBXML>";
  std::ofstream(folder_ / "menu.xml") << request;
  ASSERT_EQ(Run({"send", (folder_ / "menu.xml").string()}).status, 0);
  EXPECT_EQ(Run({"menu", "click", "Customers:Send to CRM"}).status, 0);
  CliResult missing = Run({"menu", "click", "Vendors:Send to CRM"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_THAT(missing.err, HasSubstr("no application added \"Vendors:Send to CRM\""));
  EXPECT_EQ(Run({"events", "listen", "--count", "1", "--idle", "20"}).out,
            "UIExtensionEvent EventTag=crm-send\n");
}

}  // namespace
}  // namespace brennock::testing
