#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "brennock/company/brennock_globals.h"
#include "brennock/errors/automation_error.h"
#include "brennock/internal/session/session_checks.h"
#include "brennock/internal/session/version_check.h"
#include "tests/session/connection_fixture.h"

namespace brennock {
namespace {

using testing::RecordingConnectionTest;

// The error a call raises, or nullopt.
template <typename Call>
std::optional<AutomationError> Raised(Call call) {
  try {
    call();
  } catch (const AutomationError& e) {
    return e;
  }
  return std::nullopt;
}

class GlobalsTest : public RecordingConnectionTest {
 protected:
  BrennockGlobals globals_;
};

TEST_F(GlobalsTest, EnumerationLookupsNeverRaise) {
  EXPECT_EQ(globals_.EStr(3, qoeMonth), "March");
  EXPECT_EQ(globals_.EStr(99, qoeMonth), "");
  EXPECT_EQ(globals_.EStr(70000, qoeMonth), "");  // does not fit 16 bits
  EXPECT_EQ(globals_.EStr(1, static_cast<qoEnumerationType>(99)), "");
  EXPECT_EQ(globals_.eVal("Sales Tax Code", qoeListType), 2);
  EXPECT_EQ(globals_.eVal("salestaxcode", qoeListType), 2);
  EXPECT_EQ(globals_.eVal("Nothing Like It", qoeListType), 0);
  EXPECT_EQ(globals_.EXMLStr(42, qoeObjectType), "BillPaymentCheck");
  EXPECT_EQ(globals_.EXMLStr(3, qoeMonth), "");
  EXPECT_EQ(globals_.qbNullDate(), Date{});
  EXPECT_EQ(globals_.QBEnumerations(), ThreadEnumerations());
}

TEST_F(GlobalsTest, SessionCheckCountsAnyConnectionOfTheThread) {
  auto notConnected = Raised([] { RequireOpenSession(); });
  ASSERT_TRUE(notConnected);
  EXPECT_EQ(notConnected->Number(), static_cast<int32_t>(0x800403E8));
  EXPECT_EQ(notConnected->Source(), "Brennock");
  EXPECT_EQ(notConnected->Description(), "QBConnect has not been called, or it failed");

  QBConnection client;  // not the global connection
  client.SetRequestProcessorProgId(kProgId);
  client.Connect("", "Tests", qbOpenModeDontCare);
  EXPECT_FALSE(Raised([] { RequireOpenSession(); }));

  auto usOnly = Raised([] { RequireNonUSEdition(); });
  ASSERT_TRUE(usOnly);
  EXPECT_EQ(usOnly->Number(), static_cast<int32_t>(0x80040408));
  EXPECT_EQ(usOnly->Source(), "brennock");
  EXPECT_EQ(usOnly->Description(),
            "This property is only supported for non-US versions of QuickBooks.");

  auto tooOld = Raised([] { RequireQbxmlVersion(3); });  // the session speaks 2.1
  ASSERT_TRUE(tooOld);
  EXPECT_EQ(tooOld->Number(), static_cast<int32_t>(0x800403ED));
  EXPECT_EQ(tooOld->Source(), "Brennock");
  EXPECT_EQ(tooOld->Description(),
            "The version of QuickBooks you are running does not support this feature.");
  EXPECT_FALSE(Raised([] { RequireQbxmlVersion(2); }));

  client.CloseConnection();
  EXPECT_TRUE(Raised([] { RequireOpenSession(); }));
}

TEST_F(GlobalsTest, QBConnectUsesTheOneGlobalConnection) {
  auto global = globals_.QBConnection();
  EXPECT_EQ(global, BrennockGlobals().QBConnection());
  global->SetRequestProcessorProgId(kProgId);
  EXPECT_EQ(globals_.QBConnect("", "Tests", qbOpenModeDontCare, "C:\\B.qbw"), 0);
  EXPECT_EQ(global->CompanyPath(), "C:\\B.qbw");
  global->CloseConnection();
  global->SetRequestProcessorProgId("");
  // The subscription collections are the global connection's, with or without a session.
  EXPECT_EQ(globals_.UIExtensionSubscriptions(), global->UIExtensionSubscriptions());
  EXPECT_EQ(globals_.UISubscriptions(), global->UISubscriptions());
}

TEST_F(GlobalsTest, DataPathFollowsTheDataHome) {
  std::optional<std::string> saved;
  if (const char* xdg = std::getenv("XDG_DATA_HOME")) saved = xdg;
  setenv("XDG_DATA_HOME", "/srv/shared data", 1);
  EXPECT_EQ(globals_.GetDataPath().ToString(), "/srv/shared data");
  if (saved) {
    setenv("XDG_DATA_HOME", saved->c_str(), 1);
  } else {
    unsetenv("XDG_DATA_HOME");
  }
}

}  // namespace
}  // namespace brennock
