// The generated schema on SQLite, PostgreSQL and MariaDB: every exportable kind of the sample
// company gets its tables from CreateExportSchema and takes its records; items together; text
// as QuickBooks sent it.
#include <gtest/gtest.h>

#include "brennock/internal/database/export_rules.h"
#include "brennock/internal/database/sql_text.h"
#include "brennock/internal/qbxml/catalogue.h"
#include "brennock/internal/registry/record_registry.h"
#include "simulator/company_file.h"
#include "tests/database/export_fixture.h"

namespace brennock::testing {
namespace schema_test {
namespace {

class GeneratedSchemaTest : public ExportTest {
 protected:
  simulator::CompanyFileOptions Options() const override {
    simulator::CompanyFileOptions options;
    options.sample = simulator::SampleBusiness{.customers = 6, .vendors = 3};
    return options;
  }

  // The answer to <kind>QueryRq for every record, custom fields included, as the command asks.
  std::shared_ptr<XmlDocument> QueryAll(const RecordKind& kind, int32_t& records) {
    std::string query = std::string(kind.stem) + "QueryRq";
    xmlBldr builder;
    builder.NewClear();
    builder.OpenAggregateOnly(query);
    if (kind.Has(kFilters)) builder.CreateElement("ActiveStatus", "All");
    const qbxml::Aggregate* shape = qbxml::FindAggregate(query);
    if (qbxml::FindElement(*shape, "OwnerID")) builder.CreateElement("OwnerID", "0");
    builder.EndAggregate(query);
    std::shared_ptr<XmlDocument> response = builder.NewSendRequest();
    records = FirstResponseElement(*response).childNodes().length();
    return response;
  }
};

// What `brennock export` takes: lists of one kind, and every kind of item together.
bool Exportable(const RecordKind& kind) {
  return qbxml::FindAggregate(std::string(kind.stem) + "QueryRq") &&
         (!kind.Has(kMixed) || kind.objectType == qoObjectTypeItem);
}

TEST_P(GeneratedSchemaTest, EveryExportableKindGetsItsTablesAndTakesItsRecords) {
  int kinds = 0;
  for (const RecordKind& kind : ListRegistry()) {
    if (!Exportable(kind)) continue;
    ++kinds;
    SCOPED_TRACE(kind.stem);
    ASSERT_NO_THROW(CreateSchema({std::string(kind.stem)}));
    int32_t records = 0;
    std::shared_ptr<XmlDocument> response = QueryAll(kind, records);
    ExportRequest request;
    request.databasePath = path_db_;
    request.table = ExportTableOf(kind.stem);
    ExportOutcome outcome;
    ASSERT_NO_THROW(outcome = ExportResponseElement(FirstResponseElement(*response), request));
    EXPECT_EQ(outcome.written, records);
    EXPECT_EQ(Count(LowerAscii(request.table)), records);
  }
  EXPECT_GT(kinds, 30);
  // Every kind of item in one table, each row saying its kind, group lines in their own table.
  EXPECT_EQ(Text("SELECT COUNT(DISTINCT ItemType) FROM items"), "12");
  EXPECT_EQ(Text("SELECT ItemType FROM items WHERE Name = 'Widget'"), "ItemInventory");
  EXPECT_NE(Count("itemgrouplinedetail"), 0);
  EXPECT_NE(Count("itemsalestaxgrouplinedetail"), 0);
}

TEST_P(GeneratedSchemaTest, TextArrivesAsQuickBooksSentIt) {
  CreateSchema({"Customer"});
  const std::string name = "Zo\u00EB \u65E5\u672C\u8A9E \U0001F600";
  auto customers = Session().company->Customers();
  customers->Add(name)->SetNotes("\u00C9t\u00E9 \u2014 \u00FC");
  ASSERT_EQ(customers->Commit(), 0);
  const std::string where = "SELECT Notes FROM customer WHERE Name = ?";
  // As received when asked; else cleaned for Windows-1252, whose accents and dashes stay.
  Session().dbKeepExactText = true;
  customers->GetAll(0, path_db_);
  ASSERT_EQ(customers->Errors()->Count(), 0);
  EXPECT_EQ(Text(where, {name}), "\u00C9t\u00E9 \u2014 \u00FC");
  Session().dbKeepExactText = false;
  customers->GetAll(0, path_db_);
  EXPECT_EQ(Text("SELECT Notes FROM customer WHERE Name = ?", {"Zo\u00EB      "}),
            "\u00C9t\u00E9 \u2014 \u00FC");
}

TEST_P(GeneratedSchemaTest, TheItemsCollectionFillsTheItemsTableAndUpdatesIt) {
  simulator::FixClock(std::nullopt);  // deletions are matched against the export's own clock
  CreateSchema({"Item"});
  auto company = Session().company;
  company->CustomFields()->Add("Bin")->AddAssignedTo(qoObjectTypeItem);
  ASSERT_EQ(company->CustomFields()->Commit(), 0);
  auto items = company->Items();
  auto hook = items->AddServiceWithSalesOrPurchase("Hook", "", "", 2, "Services");
  hook->CustomFields()->Item(std::string("Bin"))->SetValue(Variant("C-2"));
  ASSERT_EQ(items->Commit(), 0);

  items->SetIncludeDataExtensions(true);
  Session().databaseMode = qoDBOverwrite;
  int32_t all = items->GetAll(0, path_db_);
  EXPECT_EQ(items->Errors()->Count(), 0);
  EXPECT_EQ(all, 0);  // exported, not loaded
  EXPECT_EQ(Text("SELECT CustomField1 FROM items WHERE Name = 'Hook'"), "C-2");
  EXPECT_EQ(Text("SELECT TableName FROM history"), "items");
  const int before = Count("items");

  // An update asks for the deleted items of every kind and drops them.
  std::string id = Text("SELECT ListID FROM items WHERE Name = 'Hook'");
  ASSERT_EQ(items->Delete(id, qbItemService), 0);
  Session().databaseMode = qoDBUpdate;
  items->GetAll(0, path_db_);
  EXPECT_EQ(items->Errors()->Count(), 0);
  EXPECT_EQ(Count("items"), before - 1);
  const std::string& asked = recorder_->LastRequestText();
  EXPECT_NE(asked.find("<ListDelType>ItemService</ListDelType>"), std::string::npos) << asked;
  EXPECT_NE(asked.find("<ListDelType>ItemFixedAsset</ListDelType>"), std::string::npos) << asked;
  EXPECT_EQ(asked.find("<ListDelType>Item</ListDelType>"), std::string::npos) << asked;
}

std::string Name(const ::testing::TestParamInfo<DatabaseKind>& info) {
  return DatabaseKindName(info.param);
}

INSTANTIATE_TEST_SUITE_P(Databases, GeneratedSchemaTest,
                         ::testing::Values(DatabaseKind::kSqlite, DatabaseKind::kPostgreSql,
                                           DatabaseKind::kMariaDb),
                         Name);

}  // namespace
}  // namespace schema_test
}  // namespace brennock::testing
