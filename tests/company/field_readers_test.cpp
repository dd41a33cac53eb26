// Field readers, templates and deleted records against the simulated sample business.
#include "brennock/company/field_readers.h"

#include <gtest/gtest.h>

#include "brennock/company/deleted_items.h"
#include "brennock/lists/template.h"
#include "simulator/company_file.h"
#include "simulator/simulator_processor.h"
#include "tests/lists/simulator_fixture.h"

namespace brennock::testing {
namespace {

class FieldReadersTest : public SimulatorListsTest {
 protected:
  simulator::CompanyFileOptions Options() const override {
    simulator::CompanyFileOptions options;
    options.sample = simulator::SampleBusiness{};
    return options;
  }
  const std::string& LastRequest() const { return recorder_->Requests().back().text; }
  // The last request that holds text.
  std::string RequestWith(const std::string& text) const {
    for (const auto& request : recorder_->Requests())
      if (request.text.find(text) != std::string::npos) return request.text;
    return {};
  }
};

void ExpectError(const std::function<void()>& call, int32_t offset, const std::string& source,
                 const std::string& description) {
  try {
    call();
    ADD_FAILURE() << "no error";
  } catch (const AutomationError& error) {
    EXPECT_EQ(error.Number(), ErrorNumber(offset));
    EXPECT_EQ(error.Source(), source);
    EXPECT_EQ(error.Description(), description);
  }
}

TEST_F(FieldReadersTest, ListEntriesAskForTheFieldsAndReadThemFromTheText) {
  ListEntries entries;
  entries.SetListType(qoListCustomers);
  entries.SetFields({qoFldFullName, qoFldCustPhone, qoFldCustom1});
  EXPECT_EQ(entries.GetByActiveStatus(qbStatusAny), 26);
  EXPECT_TRUE(entries.IncludeCustomFields());
  EXPECT_NE(RequestWith("<CustomerQueryRq><ActiveStatus>All</ActiveStatus>"
                        "<IncludeRetElement>FullName</IncludeRetElement>"
                        "<IncludeRetElement>Phone</IncludeRetElement>"
                        "<IncludeRetElement>DataExtRet</IncludeRetElement>"
                        "<OwnerID>0</OwnerID></CustomerQueryRq>"),
            "");
  ASSERT_EQ(entries.FieldValueStrings().size(), 26u * 3);
  Customers customers;
  customers.GetAll();
  for (int i = 0; i < 26; ++i) {
    auto customer = customers.Item(i + 1);
    EXPECT_EQ(entries.FieldValueStrings()[i * 3], customer->FullName());
    EXPECT_EQ(entries.FieldValueStrings()[i * 3 + 1], customer->Phone());
  }

  entries.SetListType(qoListItems);
  entries.SetFields({qoFldFullName, qoFldItemType, qoFldItemPrice, qoFldItemSalesDesc});
  entries.SetIncludeCustomFields(false);
  int32_t items = entries.GetByActiveStatus(qbStatusActive);
  const std::vector<std::string>& values = entries.FieldValueStrings();
  auto consulting = std::find(values.begin(), values.end(), "Consulting");
  ASSERT_NE(consulting, values.end());
  EXPECT_EQ(
      std::vector<std::string>(consulting, consulting + 4),
      (std::vector<std::string>{"Consulting", "ItemService", "95.00", "Consulting, per hour"}));
  auto widget = std::find(values.begin(), values.end(), "Widget");
  ASSERT_NE(widget, values.end());
  EXPECT_EQ(widget[2], "12.00");
  EXPECT_EQ(widget[3], "Standard widget");
  EXPECT_EQ(values.size(), static_cast<size_t>(items) * 4);
}

TEST(FieldScannerTest, ValuesFollowTheSalesAndReferenceRules) {
  const std::vector<qoFields> fields = {qoFldFullName, qoFldItemPrice, qoFldItemSalesDesc,
                                        qoFldCustType, qoFldCustom2,   qoFldEntityType};
  struct Case {
    std::string record;
    std::vector<std::string> values;
  } cases[] = {
      {"<ItemServiceRet><Name>Fee</Name><SalesOrPurchase><Desc>D</Desc>"
       "<PricePercent>12.5</PricePercent></SalesOrPurchase></ItemServiceRet>",
       {"Fee", "12.5", "D", "", "", "ItemService"}},
      {"<ItemNonInventoryRet><FullName>A &amp; B</FullName><SalesAndPurchase>"
       "<SalesDesc>S</SalesDesc><SalesPrice>3.00</SalesPrice></SalesAndPurchase>"
       "</ItemNonInventoryRet>",
       {"A & B", "3.00", "S", "", "", "ItemNonInventory"}},
      {"<ItemInventoryRet><FullName>W</FullName><SalesDesc>Top</SalesDesc>"
       "<SalesPrice>9.00</SalesPrice></ItemInventoryRet>",
       {"W", "9.00", "Top", "", "", "ItemInventory"}},
      {"<CustomerRet><FullName>P:C</FullName><ParentRef><FullName>P</FullName></ParentRef>"
       "<CustomerTypeRef><ListID>1</ListID><FullName>Retail</FullName></CustomerTypeRef>"
       "<DataExtRet><OwnerID>0</OwnerID><DataExtName>Color</DataExtName>"
       "<DataExtValue>red</DataExtValue></DataExtRet>"
       "<DataExtRet><OwnerID>0</OwnerID><DataExtName>Size</DataExtName>"
       "<DataExtValue>XL</DataExtValue></DataExtRet></CustomerRet>",
       {"P:C", "", "", "Retail", "XL", "Customer"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> values;
    std::string text =
        "<?xml version=\"1.0\" ?><QBXML><QBXMLMsgsRs><ItemQueryRs statusCode=\"0\">" + c.record +
        "</ItemQueryRs></QBXMLMsgsRs></QBXML>";
    EXPECT_EQ(ScanFieldValues(text, fields, {"Color", "Size"}, values), 1);
    EXPECT_EQ(values, c.values) << c.record;
  }
}

TEST(FieldScannerTest, BillToLinesAreJoinedWithCommas) {
  std::vector<std::string> values;
  const std::string text =
      "<?xml version=\"1.0\" ?><QBXML><QBXMLMsgsRs><CustomerQueryRs statusCode=\"0\">"
      "<CustomerRet><BillAddress><Addr1>1 Quay</Addr1><City>Cork</City><PostalCode>T12"
      "</PostalCode></BillAddress></CustomerRet><CustomerRet/></CustomerQueryRs></QBXMLMsgsRs>"
      "</QBXML>";
  EXPECT_EQ(ScanFieldValues(text, {qoFldCustBillToAddress}, {}, values), 2);
  EXPECT_EQ(values, (std::vector<std::string>{"1 Quay, Cork, T12", ""}));
}

TEST_F(FieldReadersTest, MisuseRaisesTheTableErrors) {
  ListEntries entries;
  ExpectError([&] { entries.GetByActiveStatus(qbStatusAny); }, 2911, "ListEntries",
              "The ListType property has not been set or is invalid");
  TxnEntries txns;
  ExpectError([&] { txns.GetAll(); }, 2034, "TxnEntries", "The TxnType property has not been set");
  ExpectError([&] { txns.SetTxnType(qbTxnCheck); }, 2910, "TxnEntries",
              "This version of brennock does not support this feature.");
  txns.SetTxnType(qbTxnBill);
  txns.SetFields({qoFldTxnId, qoFldName});
  ExpectError([&] { txns.GetAll(); }, 2910, "TxnEntries:FieldTag",
              "This version of brennock does not support this feature.");
}

TEST_F(FieldReadersTest, GetFirstAndGetNextWalkWholeRecords) {
  ListEntries entries;
  entries.SetListType(qoListClasses);
  std::vector<std::string> names;
  for (auto record = entries.GetFirst(); record; record = entries.GetNext())
    names.push_back(record->FullName());
  EXPECT_EQ(static_cast<int32_t>(names.size()), entries.Count());
  EXPECT_EQ(names.size(), 3u);
}

// The published schema has no "Template" among the ListDelType values, so this test talks to the
// simulator outside strict mode.
TEST(TemplatesTest, TemplatesAreReadAndDeleted) {
  std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("brennock_templates_" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  simulator::CompanyFileOptions options;
  simulator::SampleBusiness sample;
  sample.invoices = 0;  // a template that no invoice uses can be deleted
  options.sample = sample;
  std::string path = (folder / "company.qbw").string();
  simulator::CreateCompanyFile(path, options);
  std::shared_ptr<RequestProcessor> processor = simulator::CreateSimulatorProcessor();
  processor->OpenConnection("", "Brennock tests");
  Session() = SessionState{};
  Session().processor = processor;
  Session().ticket = processor->BeginSession(path, qbOpenModeDontCare);
  Session().qbxmlVersion = "16.0";
  Session().qbxmlVersionNumber = Currency(16);

  Templates templates;
  ASSERT_EQ(templates.GetAll(), 6);  // invoice, estimate, sales receipt, sales order, credit
                                     // memo, purchase order
  auto invoice = templates.Item("Intuit Product Invoice");
  EXPECT_EQ(invoice->AppliesTo(), qbTxnInvoice);
  EXPECT_EQ(invoice->TimeCreatedText().size(), 25u);  // 2023-11-14T14:13:20-08:00
  EXPECT_EQ(templates.Delete(invoice->ListID()), 0);
  EXPECT_EQ(templates.Count(), 5);
  EXPECT_EQ(templates.GetAll(), 5);
  EXPECT_THROW(invoice->XMLModify(*std::make_shared<xmlBldr>()), AutomationError);

  Session() = SessionState{};
  processor.reset();
  std::filesystem::remove_all(folder);
}

TEST_F(FieldReadersTest, DeletedItemsReportWhatWasDeleted) {
  auto classes = std::make_shared<Classes>();
  classes->GetAll();
  std::string id = classes->Item(1)->ListID(), name = classes->Item(1)->FullName();
  ASSERT_EQ(Session().company->Classes()->Delete(id), 0);
  DeletedItems deleted;
  ASSERT_EQ(deleted.GetAll(), 1);
  const std::string& request = LastRequest();
  for (const char* part :
       {"<ListDelType>Account</ListDelType>", "<ListDelType>ItemGroup</ListDelType>",
        "<TxnDelType>BillPaymentCheck</TxnDelType>", "<TxnDelType>VendorCredit</TxnDelType>"})
    EXPECT_NE(request.find(part), std::string::npos) << part;
  auto item = deleted.Item(1);
  EXPECT_EQ(item->DeletedObjectType(), qoObjectTypeClass);
  EXPECT_EQ(item->ListOrTxnId(), id);
  EXPECT_EQ(item->FullNameOrRefNumber(), name);
  EXPECT_GT(item->TimeDeleted().Value(), 0);
  EXPECT_EQ(deleted.GetAll(qoObjectTypeCustomer), 0);
  EXPECT_EQ(deleted.Errors().Count(), 0);
  EXPECT_EQ(deleted.GetByDateSpan(Date::FromDateTime(2023, 11, 1, 8, 0, 0),
                                  Date::FromDateTime(2023, 11, 30, 18, 0, 0), qoObjectTypeClass),
            1);
  EXPECT_NE(LastRequest().find("<ListDeletedQueryRq><ListDelType>Class</ListDelType>"
                               "<DeletedDateRangeFilter><FromDeletedDate>2023-11-01T08:00:00"
                               "</FromDeletedDate><ToDeletedDate>2023-11-30T18:00:00"
                               "</ToDeletedDate></DeletedDateRangeFilter></ListDeletedQueryRq>"),
            std::string::npos)
      << LastRequest();

  // A refused query is an error, not an empty answer; the other answer's records still count.
  recorder_->QueueResponse(
      "<?xml version=\"1.0\" ?><QBXML><QBXMLMsgsRs><ListDeletedQueryRs requestID=\"1\" "
      "statusCode=\"3250\" statusSeverity=\"Error\" statusMessage=\"Not in this version.\"/>"
      "<TxnDeletedQueryRs requestID=\"2\" statusCode=\"0\" statusSeverity=\"Info\" "
      "statusMessage=\"Status OK\"><TxnDeletedRet><TxnDelType>Invoice</TxnDelType><TxnID>9-1"
      "</TxnID><RefNumber>77</RefNumber></TxnDeletedRet></TxnDeletedQueryRs></QBXMLMsgsRs>"
      "</QBXML>");
  EXPECT_EQ(deleted.GetAll(), 1);
  ASSERT_EQ(deleted.Errors().Count(), 1);
  EXPECT_EQ(deleted.Errors().Item(1)->Number(), 3250);
  EXPECT_EQ(deleted.Errors().Item(1)->Description(), "Not in this version.");
  EXPECT_EQ(deleted.Item(1)->FullNameOrRefNumber(), "77");
}

}  // namespace
}  // namespace brennock::testing
