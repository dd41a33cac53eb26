// Data-extension values: lookups, conversions, the requests a commit writes and the shared parser.
#include "brennock/company/data_extension.h"

#include <gtest/gtest.h>

#include "brennock/company/company.h"
#include "brennock/company/data_extension_definitions.h"
#include "brennock/model/convert_dtypes.h"
#include "brennock/model/error_table.h"
#include "brennock/model/qc_error.h"
#include "tests/lists/lists_fixture.h"

namespace brennock::testing {
namespace {

class DataExtensionTest : public ListsTest {
 protected:
  void SetUp() override {
    ListsTest::SetUp();
    Session().qbxmlVersion = "3.0";
    Session().qbxmlVersionNumber = Currency(3);
  }
  static std::string Open30() {
    return "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"
           "<!DOCTYPE QBXML PUBLIC '-//INTUIT//DTD QBXML QBD 3.0//EN' >"
           "<QBXML><QBXMLMsgsRq onError = \"continueOnError\">";
  }
};

TEST_F(DataExtensionTest, LookupsRaiseForBadIndexesAndUndefinedApplicationFields) {
  DataExtensions values;
  AutomationError bad = RaisedBy([&] { values.Item(3); });
  EXPECT_EQ(bad.Number(), ErrorNumber(2800));
  EXPECT_EQ(bad.Description(), "Invalid data extension index specified.");
  values.SetOwnerId("{APP}");
  AutomationError undefined = RaisedBy([&] { values.Item(std::string("Region")); });
  EXPECT_EQ(undefined.Number(), ErrorNumber(2804));
  EXPECT_EQ(undefined.Source(), "DataExtensions");
}

TEST_F(DataExtensionTest, CustomFieldValueIsAddedOnAListRecord) {
  DataExtensions values;
  values.SetOwnerId("0");
  values.SetOwnerType(qoObjectTypeCustomer);
  processor_->QueueResponse(Response(
      Status("DataExtDefQueryRs", 1, 0, "Status OK",
             "<DataExtDefRet><OwnerID>0</OwnerID><DataExtName>Colour</DataExtName><DataExtType>"
             "STR255TYPE</DataExtType><AssignToObject>Customer</AssignToObject></DataExtDefRet>")));
  values.Item(std::string("Colour"))->SetValue(Variant("Red"));
  EXPECT_EQ(processor_->LastRequestText(),
            Open30() + "<DataExtDefQueryRq><OwnerID>0</OwnerID></DataExtDefQueryRq>" + kClose);
  processor_->QueueResponse(Response(Status("DataExtAddRs", 1, 0, "Status OK")));
  EXPECT_EQ(values.Commit("80000001-1"), 0);
  EXPECT_EQ(processor_->LastRequestText(),
            Open30() +
                "<DataExtAddRq requestID = \"1\"><DataExtAdd><OwnerID>0</OwnerID><DataExtName>"
                "Colour</DataExtName><ListDataExtType>Customer</ListDataExtType><ListObjRef>"
                "<ListID>80000001-1</ListID></ListObjRef><DataExtValue>Red</DataExtValue>"
                "</DataExtAdd></DataExtAddRq>" +
                kClose);
  EXPECT_EQ(values.Item(1)->ObjectState(), qoObjectStateClean);
}

TEST_F(DataExtensionTest, CustomFieldsNeedQbxml3AndUnknownTypesRaise) {
  Session().qbxmlVersionNumber = Currency(2);
  DataExtension custom("Colour", qbDataExtTypeSTR255TYPE, "0", qoObjectTypeCustomer);
  EXPECT_EQ(RaisedBy([&] { custom.SetValue(Variant("Red")); }).Number(), ErrorNumber(1005));
  DataExtension odd("Odd", static_cast<qbEnumDataExtDataType>(9), "{APP}", qoObjectTypeCustomer);
  EXPECT_EQ(RaisedBy([&] { odd.SetValue(Variant(1)); }).Description(), "Unknown Data Type: 9");
}

TEST_F(DataExtensionTest, ValuesConvertToTheirTypeAndEmptyOnesAreRecognised) {
  DataExtension price("P", qbDataExtTypePRICETYPE, "{APP}", qoObjectTypeInvoice);
  price.SetValue(Variant("12.5"));
  EXPECT_EQ(price.ValueText(), ModConvertDtypes::PriceToText(12.5f));
  DataExtension count("N", qbDataExtTypeINTTYPE, "{APP}", qoObjectTypeInvoice);
  EXPECT_TRUE(count.HasEmptyValue());
  count.SetValue(Variant(4.0));
  EXPECT_EQ(count.ValueText(), "4");
  EXPECT_FALSE(count.HasEmptyValue());
}

TEST_F(DataExtensionTest, CompanyApplicationFieldsAreParsedAndAnEmptiedValueIsDeleted) {
  Session().dataExtOwnerID = "{APP}";
  processor_->QueueResponse(Response(
      Status("CompanyQueryRs", 1, 0, "Status OK",
             "<CompanyRet><CompanyName>Mill</CompanyName><DataExtRet><OwnerID>{APP}</OwnerID>"
             "<DataExtName>Region</DataExtName><DataExtType>STR255TYPE</DataExtType>"
             "<DataExtValue>North</DataExtValue></DataExtRet></CompanyRet>")));
  company_->Refresh();
  std::shared_ptr<DataExtensions> fields = company_->CompanyApplicationFields();
  ASSERT_EQ(fields->Count(), 1);
  EXPECT_EQ(fields->Item(1)->Value().ToString(), "North");
  EXPECT_EQ(fields->Item(1)->ObjectState(), qoObjectStateClean);

  fields->Item(std::string("Region"))->SetValue(Variant(""));
  processor_->QueueResponse(Response(Status("DataExtDelRs", 1, 0, "Status OK")));
  EXPECT_EQ(company_->Commit(), 0);
  EXPECT_EQ(processor_->LastRequestText(),
            Open30() +
                "<DataExtDelRq requestID = \"1\"><DataExtDel><OwnerID>{APP}</OwnerID>"
                "<DataExtName>Region</DataExtName><OtherDataExtType>Company</OtherDataExtType>"
                "</DataExtDel></DataExtDelRq>" +
                kClose);
}

TEST_F(DataExtensionTest, RefusedValuesAreFiledAndRaised) {
  DataExtensions values;
  values.SetOwnerId("0");
  values.SetOwnerType(qoObjectTypeInvoice);
  auto line = values.Add("Bin");
  line->SetValue(Variant("A4"));
  processor_->QueueResponse(Response(Status("DataExtAddRs", 1, 3120, "No such transaction")));
  EXPECT_EQ(RaisedBy([&] { values.Commit("TX-1", "LN-2"); }).Number(), ErrorNumber(1023));
  EXPECT_NE(processor_->LastRequestText().find(
                "<TxnDataExtType>Invoice</TxnDataExtType><TxnID>TX-1</TxnID><TxnLineID>LN-2"),
            std::string::npos);
  EXPECT_EQ(values.Errors().Count(), 1);
  EXPECT_EQ(line->Errors().Count(), 1);
}

TEST_F(DataExtensionTest, DefinitionsAreAddedAndModifiedThroughTheMasterCollection) {
  DataExtensionDefinitions definitions;
  definitions.SetOwnerId("{APP}");
  EXPECT_EQ(RaisedBy([&] { definitions.Add("Region"); }).Number(), ErrorNumber(1021));
  definitions.SetMaster(true);
  auto region = definitions.Add("Region", qbDataExtTypeAMTTYPE);
  region->AddAssignedTo(qoObjectTypeCustomer);
  processor_->QueueResponse(Response(Status("DataExtDefAddRs", 1, 0, "Status OK")));
  EXPECT_EQ(definitions.Commit(), 0);
  EXPECT_EQ(processor_->LastRequestText(),
            Open30() +
                "<DataExtDefAddRq requestID = \"1\"><DataExtDefAdd><OwnerID>{APP}</OwnerID>"
                "<DataExtName>Region</DataExtName><DataExtType>AMTTYPE</DataExtType>"
                "<AssignToObject>Customer</AssignToObject></DataExtDefAdd></DataExtDefAddRq>" +
                kClose);
  definitions.Rename(*region, "Area");
  region->RemoveAssignedTo(qoObjectTypeCustomer);
  processor_->QueueResponse(Response(Status("DataExtDefModRs", 1, 0, "Status OK")));
  definitions.Commit();
  EXPECT_NE(processor_->LastRequestText().find(
                "<DataExtName>Region</DataExtName><DataExtNewName>Area</DataExtNewName>"
                "<RemoveFromObject>Customer</RemoveFromObject>"),
            std::string::npos);
  EXPECT_EQ(region->ObjectState(), qoObjectStateClean);
}

TEST_F(DataExtensionTest, DefinitionChangesBelowQbxml3NeedApplicationFieldsWithAGuid) {
  Session().qbxmlVersionNumber = Currency(2);
  DataExtensionDefinitions custom;
  custom.SetOwnerId("0");
  custom.SetMaster(true);
  EXPECT_EQ(RaisedBy([&] { custom.Add("Colour"); }).Number(), ErrorNumber(2801));
  DataExtensionDefinitions application;
  application.SetOwnerId("{APP}");
  application.SetMaster(true);
  EXPECT_EQ(RaisedBy([&] { application.Delete("Region"); }).Number(), ErrorNumber(2802));
}

TEST_F(DataExtensionTest, DefinitionNamesMayHaveThirtyOneCharacters) {
  DataExtensionDefinition fits(std::string(31, 'n'), "{APP}");
  EXPECT_TRUE(fits.Validate());
  DataExtensionDefinition tooLong(std::string(32, 'n'), "{APP}");
  EXPECT_FALSE(tooLong.Validate());
  EXPECT_EQ(tooLong.Errors().Item(1)->Description(), "Name cannot exceed 31 characters");
}

}  // namespace
}  // namespace brennock::testing
