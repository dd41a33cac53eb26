// The export's entry points and opening failures, and the generated schema, on SQLite.
#include <gtest/gtest.h>

#include "brennock/database/db_interface.h"
#include "brennock/internal/database/sql_text.h"
#include "tests/database/export_fixture.h"

namespace brennock::testing {
namespace {

class EntryPointsTest : public ExportTest {};

XmlDocument Response(const std::string& records) {
  XmlDocument document;
  document.loadXML("<?xml version=\"1.0\" ?><QBXML><QBXMLMsgsRs><ClassQueryRs statusCode=\"0\">" +
                   records + "</ClassQueryRs></QBXMLMsgsRs></QBXML>");
  return document;
}

const std::string kTwoClasses =
    "<ClassRet><ListID>1</ListID><Name>A</Name><FullName>A</FullName></ClassRet>"
    "<ClassRet><ListID>2</ListID><Name>B</Name><FullName>B</FullName></ClassRet>";

TEST_P(EntryPointsTest, UpdateDatabaseAndSendOutputToDBWriteTheFirstResponse) {
  CreateSchema({"Class"});
  QBConnection connection;
  connection.UpdateDatabase(Response(kTwoClasses), path_db_, "Class");
  EXPECT_EQ(Count("class"), 2);

  std::vector<std::pair<int, int>> seen;
  GlobalQBConnection()->OnRecordProcessed2 = [&](int32_t current, int32_t total, bool& cancel) {
    seen.emplace_back(current, total);
    cancel = current == 11;
  };
  DBInterface db;
  bool cancelled = false;
  db.SendOutputToDB(Response(kTwoClasses), path_db_, "Class", 40, 10, cancelled);
  GlobalQBConnection()->OnRecordProcessed2 = nullptr;
  EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{11, 40}}));
  EXPECT_TRUE(cancelled);
  EXPECT_EQ(Count("class"), 1);
}

TEST_P(EntryPointsTest, OpeningFailuresSayWhatIsMissing) {
  struct Case {
    std::string path;
    std::string connectionString;
    int32_t number;
    std::string source;
    std::string description;
  } cases[] = {
      {(folder_ / "missing.sqlite").string(), "", ErrorNumber(1011), "Class",
       "Could not find the database file specified. Make sure you typed the path and filename "
       "correctly."},
      {"ADOCON", "Driver=No Such Driver;", ErrorNumber(1001), "Brennock",
       "Unable to open database connection."},
  };
  Session().adoConnection.reset();
  for (const Case& c : cases) {
    Session().adoConnStr = c.connectionString;
    try {
      QBConnection().UpdateDatabase(Response(kTwoClasses), c.path, "Class");
      ADD_FAILURE() << c.path;
    } catch (const AutomationError& error) {
      EXPECT_EQ(error.Number(), c.number);
      EXPECT_EQ(error.Source(), c.source);
      EXPECT_EQ(error.Description(), c.description);
    }
  }
  Session().adoConnStr.clear();
  ::testing::internal::CaptureStderr();
  QBConnection().UpdateDatabase(Response(kTwoClasses), "ADOCON", "Class");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "Not a valid connection.If you are trying to populate SQL Server database, then "
            "please set the \r\nADOConnection property of the Connection object to your SQL "
            "database connection and then try again.\n");
}

// A database that refuses transactions.
class NoTransactions : public SqlConnection {
 public:
  explicit NoTransactions(std::shared_ptr<SqlConnection> inner) : inner_(std::move(inner)) {}
  SqlProduct Product() const override { return inner_->Product(); }
  const std::string& ConnectionString() const override { return inner_->ConnectionString(); }
  std::unique_ptr<SqlStatement> Prepare(const std::string& sql) override {
    return inner_->Prepare(sql);
  }
  std::vector<SqlColumn> Describe(const std::string& sql) override { return inner_->Describe(sql); }
  bool Begin() override { return false; }
  void Commit() override { ADD_FAILURE() << "no transaction to commit"; }
  void Rollback() override { ADD_FAILURE() << "no transaction to roll back"; }

 private:
  std::shared_ptr<SqlConnection> inner_;
};

TEST_P(EntryPointsTest, ADatabaseWithoutTransactionsTurnsThemOffForTheSession) {
  CreateSchema({"Class"});
  Session().adoConnection = std::make_shared<NoTransactions>(database_);
  QBConnection connection;
  EXPECT_TRUE(connection.DBUseTxns());
  connection.UpdateDatabase(Response(kTwoClasses), "ADOCON", "Class");
  EXPECT_FALSE(connection.DBUseTxns());
  EXPECT_EQ(Count("class"), 2);
}

TEST_P(EntryPointsTest, PendingUpdatesAreExportedTogether) {
  CreateSchema({"Customer"});
  auto customers = Session().company->Customers();
  customers->Add("Ada");
  customers->Add("Brunel");
  ASSERT_EQ(customers->Commit(), 0);
  DBInterface db;
  db.DynUpdateInit();
  db.AddPendingUpdate(0, customers->Item(1)->ListID());
  EXPECT_TRUE(db.PendingUpdates(0).empty());  // not recursive: no lists to keep
  db.SetDatabaseRecursiveUpdates(true);
  db.DynUpdateInit();
  db.AddPendingUpdate(0, customers->Item(1)->ListID());
  db.AddPendingUpdate(0, customers->Item(1)->ListID());
  EXPECT_EQ(db.PendingUpdates(0).size(), 1u);
  EXPECT_EQ(db.DynProcessUpdates(path_db_), 1);
  EXPECT_TRUE(db.PendingUpdates(0).empty());
  EXPECT_EQ(Text("SELECT Name FROM customer"), "Ada");
}

TEST(SchemaTest, TablesAreTypedFromTheCatalogue) {
  std::vector<std::string> kinds = {"Customer", "ItemInventoryAssembly", "Nonsense"};
  std::vector<SchemaTable> tables = SchemaTables(kinds);
  std::vector<std::string> names;
  for (const SchemaTable& t : tables) names.push_back(t.name);
  for (const char* expected :
       {"customer", "contactsdetail", "additionalnotesdetail", "iteminventoryassembly",
        "iteminventoryassemblylinedetail", "history"})
    EXPECT_NE(std::find(names.begin(), names.end(), expected), names.end()) << expected;
  EXPECT_EQ(std::count(names.begin(), names.end(), "nonsense"), 0);

  struct Case {
    SqlProduct product;
    std::vector<std::string> parts;
  } cases[] = {
      {SqlProduct::kSqlite,
       {"CREATE TABLE IF NOT EXISTS `customer` (`ListID` VARCHAR(36), `TimeCreated` DATE",
        "`Name` VARCHAR(41)", "`BillAddress_Addr1` VARCHAR(41)", "`ClassRef_FullName` VARCHAR(159)",
        "`Balance` DECIMAL(19,4)", "`IsActive` BOOLEAN", "`Sublevel` INTEGER",
        "`CustomField9` VARCHAR(255)",
        "CREATE INDEX IF NOT EXISTS `ix_contactsdetail_idkey` ON `contactsdetail` (`IDKey`)",
        "`ModifiedDate` DATETIME"}},
      {SqlProduct::kPostgreSql,
       {"CREATE TABLE IF NOT EXISTS \"customer\" (\"listid\" VARCHAR(36)",
        "\"notes\" VARCHAR(4095)", "\"modifieddate\" TIMESTAMP",
        "\"quantityonhand\" DOUBLE PRECISION"}},
      {SqlProduct::kMariaDb,
       {"`Notes` TEXT", "`ModifiedDate` DATETIME", "`Name` TEXT", "`MiddleName` VARCHAR(5)",
        "`ListID` VARCHAR(36) CHARACTER SET ascii",
        ") ENGINE=InnoDB ROW_FORMAT=DYNAMIC DEFAULT CHARSET=utf8mb4"}},
  };
  for (const Case& c : cases) {
    std::string all;
    for (const std::string& sql : SchemaStatements(c.product, tables)) all += sql + ";\n";
    for (const std::string& part : c.parts)
      EXPECT_NE(all.find(part), std::string::npos) << part << "\n" << all.substr(0, 400);
  }
}

TEST(SqlTextTest, ProbesAndNamesFollowTheDialect) {
  struct Case {
    SqlDialect dialect;
    std::string probe;
    std::string quoted;
  } cases[] = {
      {SqlDialect::kTop, "SELECT TOP 1 * FROM [check]", "[currency]"},
      {SqlDialect::kLimit, "SELECT * FROM `check` LIMIT 0,1", "`currency`"},
      {SqlDialect::kStandard, "SELECT * FROM \"check\" LIMIT 1", "\"currency\""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ProbeQuery(c.dialect, "check"), c.probe);
    EXPECT_EQ(QuoteIdentifier(c.dialect, "currency"), c.quoted);
  }
  for (const char* plain : {"customer", "BillAddress_City", "CustomField9"})
    EXPECT_TRUE(IsPlainIdentifier(plain)) << plain;
  for (const char* odd : {"", "a b", "x;DROP TABLE y", "na\"me", "`t`", "caf\xc3\xa9"})
    EXPECT_FALSE(IsPlainIdentifier(odd)) << odd;
  auto sqlite = OpenSqliteDatabase(":memory:");
  EXPECT_EQ(ChooseDialect(*sqlite), SqlDialect::kLimit);
}

INSTANTIATE_TEST_SUITE_P(Databases, EntryPointsTest, ::testing::Values(DatabaseKind::kSqlite),
                         [](const auto&) { return std::string("SQLite"); });

}  // namespace
}  // namespace brennock::testing
