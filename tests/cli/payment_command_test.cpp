// `brennock add payment`, `brennock deposit` and the other sales records, run as a user runs them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/cli/cli_runner.h"
#include "tests/support/qbxml_samples.h"

namespace brennock::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::MatchesRegex;

class PaymentCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("brennock_cli_payment_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    unsetenv("BRENNOCK_PROCESSOR");
    if (auto dir = QbxmlDir())
      setenv("BRENNOCK_QBXML_SCHEMA", (*dir / "xsd/v16/qbxmlops160.xsd").c_str(), 1);
    company_ = (folder_ / "company.qbw").string();
    // No sample transactions: nothing else waits in Undeposited Funds.
    ASSERT_EQ(
        RunCli(folder_, {"company", "create", company_, "--sample", "--invoices", "0"}).status, 0);
    ASSERT_EQ(Run({"add", "customer", "Cli Payer"}).status, 0);
    // 3 x 95.00 consulting, not taxable: 285.00 each.
    for (const char* ref : {"P-1", "P-2"})
      ASSERT_EQ(Run({"add", "invoice", "--customer", "Cli Payer", "--line", "Consulting:3", "--ref",
                     ref, "--date", ref == std::string("P-1") ? "2024-03-01" : "2024-03-02"})
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

TEST_F(PaymentCommandTest, PaymentsAppliedByHandOrAutomaticallyThenDeposited) {
  CliResult paid = Run({"add", "payment", "--customer", "Cli Payer", "--apply", "P-2:200", "--ref",
                        "CHK-9", "--date", "2024-03-10"});
  ASSERT_EQ(paid.status, 0) << paid.err;
  EXPECT_THAT(paid.out, MatchesRegex("Added payment CHK-9 \\(TxnID [0-9A-F]+-[0-9]+\\) for Cli "
                                     "Payer: total 200.00, unused 0.00\n  applied 200.00 to "
                                     "Invoice P-2, balance now 85.00\n"));
  // 300.00 applied by QuickBooks: the older invoice first (285.00), then 15.00 on the other.
  CliResult automatic = Run({"add", "payment", "--customer", "Cli Payer", "--amount", "300",
                             "--auto-apply", "--date", "2024-03-11"});
  EXPECT_THAT(automatic.out, HasSubstr(": total 300.00, unused 0.00\n  applied 285.00 to Invoice "
                                       "P-1, balance now 0.00\n  applied 15.00 to Invoice P-2, "
                                       "balance now 70.00\n"));
  EXPECT_EQ(Run({"list", "invoice", "--customer", "Cli Payer", "--fields",
                 "RefNumber,BalanceRemaining,IsPaid", "--format", "csv"})
                .out,
            "RefNumber,BalanceRemaining,IsPaid\r\nP-1,0.00,true\r\nP-2,70.00,false\r\n");

  EXPECT_EQ(Run({"deposit", "--dry-run", "--format", "csv"}).out,
            "TxnType,RefNumber,TxnDate,CustomerRef,Amount\r\n"
            "ReceivePayment,CHK-9,2024-03-10,Cli Payer,200.00\r\n"
            "ReceivePayment,,2024-03-11,Cli Payer,300.00\r\n");
  // 500.00 in, 20.00 of it kept as cash: 480.00 into checking.
  CliResult deposited = Run({"deposit", "--to", "Checking", "--date", "2024-03-12", "--cash-back",
                             "Owner's Equity:Owner's Draw:20"});
  ASSERT_EQ(deposited.status, 0) << deposited.err;
  EXPECT_THAT(deposited.out, MatchesRegex("Deposited 2 payments into Checking, cash back 20.00: "
                                          "deposit total 480.00 \\(TxnID [0-9A-F]+-[0-9]+\\)\n"));
  EXPECT_EQ(Run({"deposit", "--to", "Checking"}).out, "Nothing waits in Undeposited Funds\n");
  EXPECT_THAT(Run({"show", "account", "Undeposited Funds", "--format", "csv"}).out,
              HasSubstr("\r\nBalance,0.00\r\n"));

  // The deposit holds the payments: neither goes while it stands.
  CliResult refused = Run({"delete", "payment", "CHK-9"});
  EXPECT_EQ(refused.status, 2);
  EXPECT_THAT(refused.err, HasSubstr("Other transactions are linked to it (Deposit "));
}

TEST_F(PaymentCommandTest, OtherSalesRecordsAndTheirUsage) {
  CliResult charge = Run({"add", "charge", "--customer", "Cli Payer", "--line", "Delivery:2"});
  EXPECT_THAT(charge.out,
              MatchesRegex("Added statement charge \\(TxnID .*\\) for Cli Payer: amount "
                           "50.00, balance 50.00\n"));
  CliResult order =
      Run({"add", "salesorder", "--customer", "Cli Payer", "--line", "Widget:4", "--ref", "SO-1"});
  EXPECT_THAT(order.out, MatchesRegex("Added sales order SO-1 \\(TxnID .*\\) for Cli Payer: "
                                      "subtotal 48.00, sales tax 3.48, total 51.48\n"));
  EXPECT_THAT(Run({"show", "item", "Widget", "--format", "csv"}).out,
              HasSubstr("\r\nQuantityOnSalesOrder,4\r\n"));

  struct Refusal {
    std::vector<std::string> args;
    std::string message;
  };
  for (const auto& [args, message] : std::vector<Refusal>{
           {{"add", "payment", "--customer", "Cli Payer", "--line", "Widget:1"},
            "brennock: a payment has no --line; it takes --apply or --auto-apply\n"},
           {{"add", "payment", "--customer", "Cli Payer", "--auto-apply"},
            "brennock: --auto-apply needs --amount\n"},
           {{"add", "payment", "--customer", "Cli Payer", "--apply", "P-1"},
            "brennock: --apply wants INVOICE-REF:AMOUNT, not 'P-1'\n"},
           {{"add", "deposit", "--customer", "Cli Payer"},
            "brennock: a deposit banks what waits in Undeposited Funds: brennock deposit --to "
            "ACCOUNT\n"},
           {{"list", "deposit", "--customer", "Cli Payer"},
            "brennock: a deposit names no customer\n"},
           {{"void", "payment", "CHK-9"}, "brennock: QuickBooks does not void a payment\n"},
       }) {
    CliResult r = Run(args);
    EXPECT_EQ(r.status, 64) << args[1];
    EXPECT_THAT(r.err, ::testing::StartsWith(message));
  }
}

}  // namespace
}  // namespace brennock::testing
