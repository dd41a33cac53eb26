// The database export on SQLite, PostgreSQL and MariaDB: value rules, modes, progress, failures.
#include <gtest/gtest.h>

#include "tests/database/export_fixture.h"

namespace brennock::testing {
namespace {

const std::string k60 = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz01234567";

class ValueRulesTest : public ExportTest {};

TEST_P(ValueRulesTest, CutsDatesAndBlanksAsTheRulesSay) {
  database_->Execute(
      "CREATE TABLE cut (ListID VARCHAR(40), Name VARCHAR(50), Memo VARCHAR(15), "
      "Amount DOUBLE PRECISION, TimeModified DATE)");
  database_->Execute(
      "CREATE TABLE linedetail (IDKey VARCHAR(40), Name VARCHAR(50), Memo VARCHAR(15), "
      "TimeModified DATE)");
  const std::string fields = "<Name>" + k60 + "</Name><Memo>" + k60 +
                             "</Memo><TimeModified>2005-03-04T10:11:12-08:00</TimeModified>";
  Export("<CutRet><ListID>1</ListID>" + fields +
             "<Amount>1234567.5</Amount><NoColumn>x</NoColumn>" + "<LineRet>" + fields +
             "</LineRet></CutRet>" + "<CutRet><ListID>2</ListID><Name>Why? Because</Name></CutRet>",
         "Cut");
  struct Case {
    std::string sql;
    std::string expected;
  } cases[] = {
      {"SELECT Name FROM cut WHERE ListID = '1'", k60.substr(0, 30)},
      {"SELECT Name FROM linedetail", k60.substr(0, 50)},
      {"SELECT Memo FROM cut WHERE ListID = '1'", k60.substr(0, 15)},
      {"SELECT Memo FROM linedetail", k60.substr(0, 15)},
      {"SELECT TimeModified FROM cut WHERE ListID = '1'", "2005-03-04"},
      {"SELECT TimeModified FROM linedetail", "2005-03-04"},
      {"SELECT IDKey FROM linedetail", "1"},
      {"SELECT Name FROM cut WHERE ListID = '2'", "Why  Because"},
  };
  for (const Case& c : cases) EXPECT_EQ(Text(c.sql), c.expected) << c.sql;
}

TEST_P(ValueRulesTest, ExactFitsDescriptionsAndQuotationMarksKeepTheirShape) {
  database_->Execute(
      "CREATE TABLE shelf (ListID VARCHAR(40), Name VARCHAR(50), Description VARCHAR(40), "
      "Memo VARCHAR(30))");
  database_->Execute("CREATE TABLE linedetail (IDKey VARCHAR(40), Name VARCHAR(50))");
  const std::string k50 = k60.substr(0, 50);
  Export("<ShelfRet><ListID>1</ListID><Name>" + k50 +
             "</Name><Desc>Oak shelf</Desc>"
             "<Memo>\u2018quoted\u2019</Memo><LineRet><Name>" +
             k50 + "</Name></LineRet></ShelfRet>",
         "Shelf");
  // A value as long as its column is whole, in the record's table and in a detail table.
  EXPECT_EQ(Text("SELECT Name FROM shelf"), k50);
  EXPECT_EQ(Text("SELECT Name FROM linedetail"), k50);
  EXPECT_EQ(Text("SELECT Description FROM shelf"), "Oak shelf");
  // The left single quotation mark becomes an apostrophe; the right one stays.
  EXPECT_EQ(Text("SELECT Memo FROM shelf"), "'quoted\u2019");
}

TEST_P(ValueRulesTest, ElementsAndDetailTablesWithoutATableAreSkipped) {
  database_->Execute("CREATE TABLE lone (ListID VARCHAR(40), Name VARCHAR(30))");
  Export(
      "<LoneRet><ListID>1</ListID><Name>A</Name><Other>x</Other><LineRet><Name>L</Name>"
      "</LineRet></LoneRet><LoneRet><ListID>2</ListID><LineRet><Name>M</Name></LineRet>"
      "</LoneRet>",
      "Lone");
  EXPECT_EQ(Count("lone"), 2);
}

TEST_P(ValueRulesTest, KeepExactTextStoresWhatQuickBooksSent) {
  database_->Execute("CREATE TABLE kept (ListID VARCHAR(40), Name VARCHAR(30))");
  Session().dbKeepExactText = true;
  Export("<KeptRet><ListID>1</ListID><Name>Why? Ready</Name></KeptRet>", "kept");
  EXPECT_EQ(Text("SELECT Name FROM kept"), "Why? Ready");
}

TEST_P(ValueRulesTest, PublicCustomFieldsGoToTheirColumns) {
  CreateSchema({"Customer"});
  Export(
      "<CustomerRet><ListID>1</ListID><Name>Ada</Name>"
      "<DataExtRet><OwnerID>0</OwnerID><DataExtName>Other</DataExtName>"
      "<DataExtType>STR255TYPE</DataExtType><DataExtValue>eight</DataExtValue></DataExtRet>"
      "<DataExtRet><OwnerID>0</OwnerID><DataExtName>Other2</DataExtName>"
      "<DataExtType>STR255TYPE</DataExtType><DataExtValue>nine</DataExtValue></DataExtRet>"
      "<DataExtRet><OwnerID>{6B063959-81B0-4622-85D6-F548C8CCB517}</OwnerID>"
      "<DataExtName>Other1</DataExtName><DataExtType>STR255TYPE</DataExtType>"
      "<DataExtValue>private</DataExtValue></DataExtRet></CustomerRet>",
      "Customer");
  EXPECT_EQ(Text("SELECT CustomField8 FROM customer"), "eight");
  EXPECT_EQ(Text("SELECT CustomField9 FROM customer"), "nine");
}

class ModesTest : public ExportTest {
 protected:
  void SetUp() override {
    ExportTest::SetUp();
    if (IsSkipped()) return;
    CreateSchema({"Customer"});
    customers_ = Session().company->Customers();
    for (const char* name : {"Ada", "Brunel", "Curie"}) customers_->Add(name);
    ASSERT_EQ(customers_->Commit(), 0);
  }
  int ExportAll(qoEnumDatabaseMode mode) {
    Session().databaseMode = mode;
    customers_->GetAll(0, path_db_);
    EXPECT_EQ(customers_->Errors()->Count(), 0);
    return Count("customer");
  }
  std::shared_ptr<Customers> customers_;
};

TEST_P(ModesTest, EachModeLeavesTheRowsItShould) {
  struct Step {
    int mode;
    int rows;
  } steps[] = {{0, 3},          {0, 3},          {qoDBappend, 6}, {qoDBOverwrite, 3},
               {qoDBUpdate, 3}, {qoDBReSynch, 3}};
  for (const Step& step : steps)
    EXPECT_EQ(ExportAll(static_cast<qoEnumDatabaseMode>(step.mode)), step.rows)
        << "mode " << step.mode;
  EXPECT_EQ(Text("SELECT COUNT(*) FROM customer WHERE Name = 'Ada'"), "1");
  EXPECT_EQ(Text("SELECT TableName FROM history"), "customer");
}

TEST_P(ModesTest, UpdateOnAnEmptyTableOverwritesForTheRestOfTheSession) {
  EXPECT_EQ(ExportAll(qoDBUpdate), 3);
  EXPECT_EQ(Session().databaseMode, qoDBOverwrite);
}

TEST_P(ModesTest, CancelAtTheFirstRecordLeavesOneRow) {
  std::vector<std::pair<int, int>> seen;
  GlobalQBConnection()->OnRecordProcessed2 = [&](int32_t current, int32_t total, bool& cancel) {
    seen.emplace_back(current, total);
    cancel = true;
  };
  EXPECT_EQ(ExportAll(qoDBOverwrite), 1);
  GlobalQBConnection()->OnRecordProcessed2 = nullptr;
  EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{1, 3}}));
}

TEST_P(ModesTest, AnUpdateAfterADeleteRemovesTheRecordAndItsDetailRows) {
  simulator::FixClock(std::nullopt);  // deletions are matched against the export's own clock
  ExportAll(qoDBOverwrite);
  std::string id = Text("SELECT ListID FROM customer WHERE Name = 'Brunel'");
  database_->Execute("INSERT INTO contactsdetail (IDKey, FirstName) VALUES (?, 'Isambard')", {id});
  ASSERT_EQ(customers_->Delete(id), 0);
  EXPECT_EQ(ExportAll(qoDBUpdate), 2);
  EXPECT_EQ(Count("contactsdetail"), 0);
}

TEST_P(ModesTest, AFailingWriteRaisesTheDatabaseErrorAndLeavesTheTablesAsTheyWere) {
  ExportAll(qoDBOverwrite);
  std::string expected;
  switch (GetParam()) {
    case DatabaseKind::kSqlite:
      // The file may not grow: the next page written fails.
      Session().adoConnection = database_;
      path_db_ = "ADOCON";
      database_->QueryText("PRAGMA max_page_count = " + Text("PRAGMA page_count"));
      expected = "full";
      break;
    case DatabaseKind::kPostgreSql:
      // A parent's name does not fit: too short a column to be cut, so the database refuses.
      database_->Execute("ALTER TABLE customer ALTER COLUMN parentref_fullname TYPE VARCHAR(2)");
      expected = "too long";
      break;
    case DatabaseKind::kMariaDb:
      database_->Execute("ALTER TABLE customer MODIFY ParentRef_FullName VARCHAR(2)");
      expected = "too long";
      break;
  }
  for (int i = 0; i < 40; ++i) customers_->Add("Job " + std::to_string(i), true, "Ada");
  ASSERT_EQ(customers_->Commit(), 0);
  Session().databaseMode = qoDBOverwrite;
  try {
    customers_->GetAll(0, path_db_);
    ADD_FAILURE() << "the export went through";
  } catch (const AutomationError& error) {
    EXPECT_EQ(error.Number(), ErrorNumber(errGeneral));
    EXPECT_EQ(error.Source(), "Brennock: Customer");
    EXPECT_NE(error.Description().find(expected), std::string::npos) << error.Description();
  }
  EXPECT_EQ(Count("customer"), 3);
}

std::string Name(const ::testing::TestParamInfo<DatabaseKind>& info) {
  return DatabaseKindName(info.param);
}

INSTANTIATE_TEST_SUITE_P(Databases, ValueRulesTest,
                         ::testing::Values(DatabaseKind::kSqlite, DatabaseKind::kPostgreSql,
                                           DatabaseKind::kMariaDb),
                         Name);
INSTANTIATE_TEST_SUITE_P(Databases, ModesTest,
                         ::testing::Values(DatabaseKind::kSqlite, DatabaseKind::kPostgreSql,
                                           DatabaseKind::kMariaDb),
                         Name);

}  // namespace
}  // namespace brennock::testing

// The private servers start once for the whole program.
const ::testing::Environment* const kServers =
    ::testing::AddGlobalTestEnvironment(new brennock::testing::DatabaseServersEnvironment);
