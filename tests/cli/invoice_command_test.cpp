// `brennock list/show/add/delete/void invoice`, run as a user runs them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/commands/txn_commands.h"
#include "tests/cli/cli_runner.h"
#include "tests/support/qbxml_samples.h"

namespace brennock::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::MatchesRegex;

class InvoiceCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("brennock_cli_invoice_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    unsetenv("BRENNOCK_PROCESSOR");
    if (auto dir = QbxmlDir())
      setenv("BRENNOCK_QBXML_SCHEMA", (*dir / "xsd/v16/qbxmlops160.xsd").c_str(), 1);
    company_ = (folder_ / "company.qbw").string();
    ASSERT_EQ(RunCli(folder_, {"company", "create", company_, "--sample"}).status, 0);
    ASSERT_EQ(Run({"add", "customer", "Cli Buyer", "--set", "SalesTaxCodeRef=Tax", "--set",
                   "ItemSalesTaxRef=State Tax"})
                  .status,
              0);
  }
  void TearDown() override {
    unsetenv("BRENNOCK_QBXML_SCHEMA");
    std::filesystem::remove_all(folder_);
  }
  CliResult Run(std::vector<std::string> args) {
    args.insert(args.end(), {"--company", company_});
    return RunCli(folder_, args);
  }

  std::filesystem::path folder_;
  std::string company_;
};

TEST_F(InvoiceCommandTest, AddListShowVoidAndDelete) {
  // 2 x 95.00 consulting (non-taxable) + 10 x 11.50 widgets = 305.00; tax 7.25 % of 115.00 =
  // 8.3375, 8.34; balance 313.34.
  CliResult added = Run({"add", "invoice", "--customer", "Cli Buyer", "--line", "Consulting:2",
                         "--line", "Widget:10:11.50", "--ref", "C-1", "--date", "2024-03-05"});
  ASSERT_EQ(added.status, 0) << added.err;
  EXPECT_THAT(added.out, MatchesRegex("Added invoice C-1 \\(TxnID [0-9A-F]+-[0-9]+\\) for Cli "
                                      "Buyer: subtotal 305.00, sales tax 8.34, balance 313.34\n"));
  EXPECT_EQ(Run({"list", "invoice", "--customer", "Cli Buyer", "--unpaid", "--fields",
                 "RefNumber,TxnDate,BalanceRemaining", "--format", "csv"})
                .out,
            "RefNumber,TxnDate,BalanceRemaining\r\nC-1,2024-03-05,313.34\r\n");
  EXPECT_EQ(Run({"list", "invoice", "--from", "2024-03-06", "--to", "2024-03-05"}).out.find("C-1"),
            std::string::npos);
  CliResult shown = Run({"show", "invoice", "C-1", "--format", "csv"});
  EXPECT_THAT(shown.out, HasSubstr("\r\nSalesTaxTotal,8.34\r\n"));
  EXPECT_THAT(shown.out, HasSubstr("\r\nWidget,Standard widget,10,11.50,115.00,"));
  EXPECT_THAT(Run({"show", "customer", "Cli Buyer", "--format", "csv"}).out,
              HasSubstr("\r\nBalance,313.34\r\n"));

  EXPECT_THAT(Run({"void", "invoice", "C-1"}).out,
              MatchesRegex("Voided invoice C-1 \\(TxnID .*\\)\n"));
  EXPECT_THAT(Run({"show", "customer", "Cli Buyer", "--format", "csv"}).out,
              HasSubstr("\r\nBalance,0.00\r\n"));
  EXPECT_THAT(Run({"show", "invoice", "C-1", "--format", "csv"}).out,
              HasSubstr("\r\nMemo,VOID:\r\n"));

  ASSERT_EQ(Run({"add", "invoice", "--customer", "Cli Buyer", "--line", "Hinge:1", "--ref", "C-2"})
                .status,
            0);
  EXPECT_THAT(Run({"delete", "invoice", "C-2"}).out,
              MatchesRegex("Deleted invoice C-2 \\(TxnID .*\\)\n"));
  CliResult gone = Run({"show", "invoice", "C-2"});
  EXPECT_EQ(gone.status, 1);
  EXPECT_EQ(gone.err, "brennock: no invoice 'C-2'\n");
}

TEST_F(InvoiceCommandTest, BadArgumentsAreUsageErrors) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"add", "invoice", "--customer", "Cli Buyer"},
           {"add", "invoice", "--customer", "Cli Buyer", "--line", "Widget"},
           {"list", "customer", "--unpaid"},
           {"list", "invoice", "--from", "March"},
           {"void", "customer", "Cli Buyer"}}) {
    CliResult r = Run(args);
    EXPECT_EQ(r.status, 64) << args[0] << " " << args[1] << ": " << r.err;
    EXPECT_EQ(r.out, "");
  }
  // QuickBooks' refusal of a line item it does not know exits 2 with its reason.
  CliResult refused =
      Run({"add", "invoice", "--customer", "Cli Buyer", "--line", "No Such Item:1"});
  EXPECT_EQ(refused.status, 2);
  EXPECT_THAT(refused.err, HasSubstr("QuickBooks status 3140: "));
}

TEST(LineArg, QuantityAndRateAreTakenFromTheRight) {
  auto line = cli::ParseLineArg("Parts:Widget:3:12.50");
  EXPECT_EQ(line.item, "Parts:Widget");
  EXPECT_EQ(line.quantity, "3");
  EXPECT_EQ(line.rate, "12.50");
  line = cli::ParseLineArg("Parts:Widget:3");
  EXPECT_EQ(line.item, "Parts:Widget");
  EXPECT_EQ(line.rate, "");
}

}  // namespace
}  // namespace brennock::testing
