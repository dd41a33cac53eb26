// `brennock list/show/add/delete/void` of bills, orders, payments, journal entries, time,
// adjustments and builds, run as a user runs them.
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

class PurchaseCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("brennock_cli_purchase_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    unsetenv("BRENNOCK_PROCESSOR");
    if (auto dir = QbxmlDir())
      setenv("BRENNOCK_QBXML_SCHEMA", (*dir / "xsd/v16/qbxmlops160.xsd").c_str(), 1);
    company_ = (folder_ / "company.qbw").string();
    ASSERT_EQ(RunCli(folder_, {"company", "create", company_, "--sample"}).status, 0);
    ASSERT_EQ(Run({"add", "vendor", "Cli Supply", "--set", "TermsRef=Net 30"}).status, 0);
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

TEST_F(PurchaseCommandTest, AnOrderIsReceivedBilledAndPaid) {
  // 40 widgets at 7.00 = 280.00 and 100 brackets at 1.20 = 120.00: 400.00.
  CliResult order =
      Run({"add", "purchaseorder", "--vendor", "Cli Supply", "--line", "Widget:40:7.00", "--line",
           "Bracket:100:1.20", "--ref", "PO-1", "--date", "2024-03-01"});
  ASSERT_EQ(order.status, 0) << order.err;
  EXPECT_THAT(order.out, MatchesRegex("Added purchase order PO-1 \\(TxnID [0-9A-F]+-[0-9]+\\) "
                                      "for Cli Supply: amount 400.00\n"));
  ASSERT_EQ(Run({"add", "itemreceipt", "--vendor", "Cli Supply", "--link", "PO-1", "--ref", "R-1",
                 "--date", "2024-03-04"})
                .status,
            0);
  // The bill takes the receipt over and adds 35.00 of freight: 435.00, due 30 days on.
  CliResult bill = Run({"add", "bill", "--vendor", "Cli Supply", "--link", "R-1", "--expense",
                        "Job Materials:35.00", "--ref", "B-1", "--date", "2024-03-06"});
  ASSERT_EQ(bill.status, 0) << bill.err;
  EXPECT_THAT(bill.out, HasSubstr("for Cli Supply: amount 435.00, due 435.00\n"));
  CliResult paid = Run({"add", "billpaymentcheck", "--vendor", "Cli Supply", "--account",
                        "Checking", "--apply", "B-1:400.00", "--date", "2024-03-20"});
  ASSERT_EQ(paid.status, 0) << paid.err;
  EXPECT_THAT(paid.out, HasSubstr("for Cli Supply: paid 400.00\n"));
  EXPECT_EQ(Run({"list", "bill", "--vendor", "Cli Supply", "--unpaid", "--fields",
                 "RefNumber,DueDate,OpenAmount,AmountDue", "--format", "csv"})
                .out,
            "RefNumber,DueDate,OpenAmount,AmountDue\r\nB-1,2024-04-05,435.00,35.00\r\n");
  CliResult shown = Run({"show", "bill", "B-1", "--format", "csv"});
  EXPECT_THAT(shown.out, HasSubstr("\r\nLinkedTxn.TxnType,BillPaymentCheck\r\n"));
  EXPECT_THAT(shown.out, HasSubstr("\r\nJob Materials,,,,35.00,"));
  EXPECT_THAT(shown.out, HasSubstr("\r\nWidget,Standard widget,40,7.00,280.00,"));
  EXPECT_THAT(Run({"show", "purchaseorder", "PO-1", "--format", "csv"}).out,
              HasSubstr("\r\nIsFullyReceived,true\r\n"));
  // The receipt is the bill's now, and the bill is paid in part: both stay.
  EXPECT_EQ(Run({"delete", "itemreceipt", "R-1"}).status, 2);
  EXPECT_EQ(Run({"void", "bill", "B-1"}).status, 2);
  EXPECT_EQ(Run({"delete", "purchaseorder", "PO-1"}).status, 2);
}

TEST_F(PurchaseCommandTest, JournalTimeAdjustmentAndBuild) {
  CliResult entry = Run({"add", "journalentry", "--debit", "Utilities:Telephone:60.00", "--credit",
                         "Accounts Payable:60.00:Cli Supply", "--ref", "J-1"});
  ASSERT_EQ(entry.status, 0) << entry.err;
  EXPECT_THAT(entry.out, MatchesRegex("Added journal entry J-1 \\(TxnID [0-9A-F]+-[0-9]+\\)\n"));
  EXPECT_THAT(Run({"show", "journalentry", "J-1", "--format", "csv"}).out,
              HasSubstr("\r\nAccounts Payable,credit,,,60.00,"));
  CliResult unbalanced =
      Run({"add", "journalentry", "--debit", "Rent:10.00", "--credit", "Checking:9.00"});
  EXPECT_EQ(unbalanced.status, 2);
  EXPECT_THAT(unbalanced.err, HasSubstr("Transaction not in balance"));

  std::string employee =
      Run({"list", "employee", "--fields", "Name", "--format", "csv", "--max", "1"}).out;
  employee = employee.substr(employee.find('\n') + 1);
  employee = employee.substr(0, employee.find('\r'));
  CliResult time = Run({"add", "timetracking", "--name", employee, "--duration", "2:30", "--item",
                        "Installation", "--date", "2024-03-05"});
  ASSERT_EQ(time.status, 0) << time.err;
  EXPECT_THAT(time.out, HasSubstr(": duration PT2H30M, status NotBillable\n"));
  EXPECT_THAT(Run({"list", "timetracking", "--vendor", employee, "--from", "2024-03-01", "--to",
                   "2024-03-31", "--fields", "Duration", "--format", "csv"})
                  .out,
              "Duration\r\nPT2H30M\r\n");

  ASSERT_EQ(Run({"add", "inventoryadjustment", "--account", "Cost of Goods Sold", "--line",
                 "Bracket:-3", "--ref", "ADJ-1"})
                .status,
            0);
  CliResult build =
      Run({"add", "buildassembly", "--item", "Widget Kit", "--quantity", "100000", "--pending"});
  ASSERT_EQ(build.status, 0) << build.err;
  EXPECT_THAT(build.out, HasSubstr("for Widget Kit: built 100000, pending true\n"));
  EXPECT_EQ(Run({"void", "inventoryadjustment", "ADJ-1"}).status, 0);

  CliResult usage = Run({"add", "journalentry", "--debit", "Rent", "--credit", "Checking:1"});
  EXPECT_EQ(usage.status, 64);
  EXPECT_THAT(usage.err, HasSubstr("--debit wants ACCOUNT:AMOUNT[:NAME], not 'Rent'"));
  EXPECT_EQ(Run({"add", "bill", "--vendor", "Cli Supply"}).status, 64);
  EXPECT_EQ(Run({"void", "purchaseorder", "1"}).status, 64);  // QuickBooks voids no order
}

}  // namespace
}  // namespace brennock::testing
