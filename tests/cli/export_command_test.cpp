// `brennock export` on the sample company into SQLite files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "brennock/database/sql_connection.h"
#include "tests/cli/cli_runner.h"

namespace brennock::testing {
namespace {

class ExportCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("brennock_cli_export_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    company_ = (folder_ / "company.qbw").string();
    database_ = (folder_ / "x.sqlite").string();
    ASSERT_EQ(RunCli(folder_, {"company", "create", company_, "--sample", "-q"}).status, 0);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  CliResult Export(std::vector<std::string> args) {
    args.insert(args.begin(), "export");
    args.insert(args.end(), {"--company", company_, "-q"});
    return RunCli(folder_, args);
  }
  // Every row of the table, in key order, one line each.
  std::string Rows(const std::string& table, const std::string& key = "ListID") {
    auto db = OpenSqliteDatabase(database_);
    auto statement = db->Prepare("SELECT * FROM " + table + " ORDER BY " + key);
    statement->Execute();
    std::string rows;
    while (statement->Fetch()) {
      for (int i = 0; i < statement->ColumnCount(); ++i)
        rows += statement->Text(i).value_or("NULL") + "|";
      rows += "\n";
    }
    return rows;
  }

  std::filesystem::path folder_;
  std::string company_;
  std::string database_;
};

TEST_F(ExportCommandTest, AnUpdateRunGivesTheSameRowsAsTheFirstExport) {
  CliResult first = Export({"customer", "class", "--to", database_, "--create-schema"});
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(first.out.rfind("exported 26 customer, 3 class to " + database_ + " (", 0), 0u)
      << first.out;
  std::string customers = Rows("customer"), classes = Rows("class");
  EXPECT_NE(customers.find("Carver, Iris:Kitchen Remodel|"), std::string::npos);
  // The sample's two custom fields fill the first two custom-field columns.
  auto db = OpenSqliteDatabase(database_);
  EXPECT_NE(db->QueryText("SELECT COUNT(*) FROM customer WHERE CustomField1 IS NOT NULL"), "0");
  EXPECT_NE(db->QueryText("SELECT COUNT(*) FROM customer WHERE CustomField2 IS NOT NULL"), "0");
  db.reset();

  CliResult update = Export({"customer", "class", "--to", database_, "--mode", "update"});
  ASSERT_EQ(update.status, 0) << update.err;
  EXPECT_EQ(Rows("customer"), customers);
  EXPECT_EQ(Rows("class"), classes);
}

TEST_F(ExportCommandTest, ItemsGoToOneTableTermsAndSingleKindsToTheirOwn) {
  CliResult done = Export({"item", "terms", "iteminventory", "--to", database_, "--create-schema"});
  ASSERT_EQ(done.status, 0) << done.err;
  EXPECT_NE(done.out.find(" item, "), std::string::npos) << done.out;
  EXPECT_NE(done.out.find(" standardterms, "), std::string::npos) << done.out;
  EXPECT_NE(done.out.find(", 4 iteminventory to "), std::string::npos) << done.out;
  auto db = OpenSqliteDatabase(database_);
  EXPECT_EQ(db->QueryText("SELECT ItemType FROM items WHERE Name = 'Widget'"), "ItemInventory");
  EXPECT_EQ(db->QueryText("SELECT COUNT(DISTINCT ItemType) FROM items"), "12");
  EXPECT_EQ(db->QueryText("SELECT COUNT(*) FROM iteminventory"), "4");
  EXPECT_NE(Rows("datedriventerms"), "");
}

TEST_F(ExportCommandTest, AFailingRowStopsWithTheDatabaseMessageAndWritesNothing) {
  ASSERT_EQ(Export({"customer", "--to", database_, "--create-schema"}).status, 0);
  std::string before = Rows("customer");
  OpenSqliteDatabase(database_)->Execute(
      "CREATE TRIGGER refuse BEFORE INSERT ON customer WHEN NEW.Name = 'Carver, Iris' "
      "BEGIN SELECT RAISE(ABORT, 'no room for Iris'); END");
  CliResult failed = Export({"customer", "--to", database_});
  EXPECT_EQ(failed.status, 2);
  EXPECT_NE(failed.err.find("no room for Iris"), std::string::npos) << failed.err;
  EXPECT_EQ(failed.out, "");
  EXPECT_EQ(Rows("customer"), before);
}

// A transaction kind comes with its lines: every line row names an exported invoice, and the
// lines of each invoice add up to its subtotal (leaving out the sample's subtotal item, whose
// lines repeat the sum of the lines above them).
TEST_F(ExportCommandTest, InvoicesGoWithTheirLinesIntoDetailTables) {
  CliResult done = Export({"invoice", "--to", database_, "--create-schema"});
  ASSERT_EQ(done.status, 0) << done.err;
  auto db = OpenSqliteDatabase(database_);
  const std::string invoices = db->QueryText("SELECT COUNT(*) FROM invoice").value_or("");
  EXPECT_NE(invoices, "0");
  EXPECT_EQ(done.out.rfind("exported " + invoices + " invoice to " + database_ + " (", 0), 0u)
      << done.out;
  EXPECT_NE(db->QueryText("SELECT COUNT(*) FROM invoicelinedetail"), "0");
  EXPECT_EQ(db->QueryText("SELECT COUNT(*) FROM invoicelinedetail "
                          "WHERE IDKey NOT IN (SELECT TxnID FROM invoice)"),
            "0");
  EXPECT_EQ(db->QueryText("SELECT COUNT(*) FROM invoice i WHERE abs(i.Subtotal - (SELECT "
                          "total(Amount) FROM invoicelinedetail d WHERE d.IDKey = i.TxnID AND "
                          "d.ItemRef_FullName <> 'Subtotal')) > 0.005"),
            "0");
  db.reset();
  // An update run leaves the same lines.
  const std::string lines = Rows("invoicelinedetail", "IDKey, TxnLineID");
  ASSERT_EQ(Export({"invoice", "--to", database_, "--mode", "update"}).status, 0);
  EXPECT_EQ(Rows("invoicelinedetail", "IDKey, TxnLineID"), lines);
}

TEST_F(ExportCommandTest, UsageErrorsExit64) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"customer"},
        {"widget", "--to", "x.sqlite"},
        {"entity", "--to", "x.sqlite"},  // several lists, not kinds of one
        {"customer", "--to", "x.sqlite", "--mode", "merge"}}) {
    CliResult result = Export(args);
    EXPECT_EQ(result.status, 64) << args[0] << ": " << result.err;
  }
}

}  // namespace
}  // namespace brennock::testing
